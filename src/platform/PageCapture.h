#pragma once

#include "platform/PrintDestination.h"
#include "platform/PrintedPage.h"

#include <optional>

// A destination that keeps the page it is handed, for the screen to show.
class PageCapture : public PrintDestination {
public:
    explicit PageCapture(QPageLayout layout) : m_layout(std::move(layout)) {}

    QString name() const override { return QStringLiteral("Print Preview"); }
    QPageLayout pageLayout() const override { return m_layout; }
    void print(const PrintedPage& page) override { m_page = page; }

    // The page handed over last; none before the first.
    const std::optional<PrintedPage>& page() const { return m_page; }

private:
    QPageLayout m_layout;
    std::optional<PrintedPage> m_page;
};
