#include "ui/main/LetterCommand.h"

#include "platform/FileDialogs.h"
#include "platform/MessageBoxService.h"
#include "print/PdfFileDestination.h"
#include "print/Printing.h"
#include "register/BankNumbers.h"
#include "register/DraftAuthorizations.h"
#include "ui/authorization/frmMerchantDetails.h"
#include "ui/preview/frmPrintPreview.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>

LetterCommand::LetterCommand(MessageBoxService& messages, FailureReporter& failures, FileDialogs& dialogs,
                             SettingsStore& settings, QString application, PrinterFinder& printers,
                             std::function<QDateTime()> now)
    : m_messages(messages), m_dialogs(dialogs), m_settings(settings), m_application(std::move(application)),
      m_printers(printers), m_printing(m_printers, messages, failures), m_now(std::move(now))
{}

void LetterCommand::run(DraftAuthorizations* authorizations, const CheckTexts& texts, const QString& firstFolder,
                        QWidget* owner)
{
    if (!authorizations)
        return;
    const QString number = BankNumbers::chequeNumber(texts);
    const QString check = number.isEmpty() ? QStringLiteral("This check") : QStringLiteral("Check ") + number;
    const std::optional<DraftDetails> draft = authorizations->sentDraft(texts);
    if (!draft) {
        m_messages.show(QStringLiteral("%1 is not in the draft register. Print it first: its "
                                       "confirmation letter is kept on record with it.")
                            .arg(check));
        return;
    }
    if (!draft->record.authorization) {
        m_messages.show(QStringLiteral("%1 was printed without an authorization record, so there is "
                                       "nothing for a confirmation letter to confirm.")
                            .arg(check));
        return;
    }
    const std::optional<MerchantDetails> merchant = completeMerchantDetails(owner);
    if (!merchant)
        return;
    const CheckTexts& printed = draft->record.texts;
    show(*authorizations, draft->id,
         {*merchant, printed, BankNumbers::lastFour(printed[Box::AccountNumber]), *draft->record.authorization,
          m_now().date()},
         firstFolder, owner);
}

std::optional<MerchantDetails> LetterCommand::completeMerchantDetails(QWidget* owner)
{
    const MerchantDetails kept = MerchantDetails::load(m_settings, m_application);
    if (kept.isComplete())
        return kept;
    frmMerchantDetails dialog(kept, owner);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const MerchantDetails details = dialog.details();
    details.save(m_settings, m_application);
    if (details.isComplete())
        return details;
    m_messages.show(QStringLiteral("The confirmation letter needs your name, a phone number for questions "
                                   "and your refund procedure: fill them in with File, Merchant Details."));
    return std::nullopt;
}

void LetterCommand::show(DraftAuthorizations& authorizations, qint64 draft, const ConfirmationLetter::Facts& facts,
                         const QString& firstFolder, QWidget* owner)
{
    const Printing::Compose compose = [facts](PrintSurface& surface) {
        return ConfirmationLetter::compose(surface, facts);
    };
    // Sent, the letter goes into the draft's history; the preview closes.
    const auto recorded = [&authorizations, draft](QPointer<frmPrintPreview> shown, QString how) {
        return [&authorizations, draft, shown, how](const PrintOutcome& outcome) {
            if (!outcome.printed())
                return;
            if (shown)
                shown->accept();
            const QString job = outcome.jobId > 0 ? QString::number(outcome.jobId) : QString();
            authorizations.append(draft, DraftEvent::letterSent(how.arg(outcome.printer), job));
        };
    };
    m_printing.withDefaultLayout([this, facts, compose, recorded, firstFolder, owner](const QPageLayout& layout) {
        const Printing::Composed page = Printing::compose(layout, compose);
        frmPrintPreview preview(page.page, page.overflows, owner);
        preview.setWindowTitle(QStringLiteral("Confirmation Letter --Quillo"));
        preview.offerExport();
        const QPointer<frmPrintPreview> shown(&preview);
        QObject::connect(&preview, &frmPrintPreview::printRequested, &preview, [this, compose, recorded, shown] {
            m_printing.toDefaultPrinter(compose,
                                        QStringLiteral("The confirmation letter has been sent to the printer."),
                                        recorded(shown, QStringLiteral("Printed on %1.")));
        });
        QObject::connect(&preview, &frmPrintPreview::exportRequested, &preview,
                         [this, facts, compose, recorded, shown, firstFolder] {
                             const std::optional<QString> path = m_dialogs.choose(FileDialogRequest::exportTo(
                                 m_lastFolder.isEmpty() ? firstFolder : m_lastFolder,
                                 ConfirmationLetter::documentTitle(facts) + QStringLiteral(".pdf"),
                                 {QStringLiteral("PDF Files (*.pdf)"), {QStringLiteral("*.pdf")}}));
                             if (!path)
                                 return;
                             m_lastFolder = QFileInfo(*path).absolutePath();
                             const QString title = ConfirmationLetter::documentTitle(facts);
                             m_printing.toDestination(
                                 [path = *path, title](const QPageLayout& layout) {
                                     return std::make_unique<PdfFileDestination>(path, layout, title,
                                                                                 QStringLiteral("confirmation letter"));
                                 },
                                 compose,
                                 QStringLiteral("The confirmation letter was exported to \"%1\".")
                                     .arg(QDir::toNativeSeparators(*path)),
                                 recorded(shown, QStringLiteral("Exported to %1.")));
                         });
        preview.exec();
    });
}
