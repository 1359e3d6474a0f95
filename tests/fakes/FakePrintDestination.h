#pragma once

#include "platform/PrintDestination.h"
#include "platform/PrintedPage.h"
#include "platform/QuilloError.h"

#include <QList>
#include <QPageLayout>

// A printer that keeps each page it is handed as a PDF document, or refuses
// it. Its paper is Letter with the printable area of the CUPS generic PDF
// driver unless a test sets another.
class FakePrintDestination : public PrintDestination {
public:
    QString name() const override { return QStringLiteral("Front Desk"); }
    QPageLayout pageLayout() const override { return layout; }
    void print(const PrintedPage& page) override
    {
        documents.append(page.toPdf(QStringLiteral("Quillo")));
        if (!refusal.isEmpty())
            throw QuilloError(refusal);
    }

    QPageLayout layout{QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(18, 36, 18, 36),
                       QPageLayout::Point};
    QString refusal;
    QList<QByteArray> documents;
};

// Hands a surface a destination that the test keeps.
class ForwardingDestination : public PrintDestination {
public:
    explicit ForwardingDestination(PrintDestination& target) : m_target(target) {}
    QString name() const override { return m_target.name(); }
    QPageLayout pageLayout() const override { return m_target.pageLayout(); }
    void print(const PrintedPage& page) override { m_target.print(page); }

private:
    PrintDestination& m_target;
};
