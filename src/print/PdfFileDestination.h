#pragma once

#include "print/PrintDestination.h"

// A PDF file that the merchant chose: the page is written whole or not at
// all, and an existing file is replaced only by a complete one.
class PdfFileDestination : public PrintDestination {
public:
    // `subject` is what a failure says could not be exported: "check", "confirmation letter".
    PdfFileDestination(QString path, QPageLayout layout, QString title, QString subject = QStringLiteral("check"));

    QString name() const override { return m_path; }
    QPageLayout pageLayout() const override { return m_layout; }
    // A failure's sentence names the file and says why.
    QFuture<PrintOutcome> print(const PrintedPage& page) override;

private:
    QString m_path;
    QPageLayout m_layout;
    QString m_title;
    QString m_subject;
};
