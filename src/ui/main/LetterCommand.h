#pragma once

#include "print/ConfirmationLetter.h"
#include "print/LetterPrinters.h"
#include "print/Printing.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>

class DraftAuthorizations;
class FailureReporter;
class FileDialogs;
class MessageBoxService;
class QWidget;
class SettingsStore;

// File, Print Confirmation Letter: finds the draft in the register with the
// authorization it was printed under, makes sure the merchant's details are
// complete, and shows the letter to be printed or exported; a letter sent goes
// into the draft's history. Its outcomes are told in the letter's own words.
class LetterCommand {
public:
    LetterCommand(MessageBoxService& messages, FailureReporter& failures, FileDialogs& dialogs, SettingsStore& settings,
                  QString application, PrinterFinder& printers, std::function<QDateTime()> now);

    // How the letter is printed: its busyChanged() and finished() are the window's to follow.
    Printing& printing() { return m_printing; }

    // The letter for the cheque `texts`, over `owner`; the export starts in the
    // folder of the last one or else in `firstFolder`. Without a register
    // (`authorizations` null) there is nothing to confirm.
    void run(DraftAuthorizations* authorizations, const CheckTexts& texts, const QString& firstFolder, QWidget* owner);

private:
    // The merchant's details, asked for when the letter lacks some; nothing
    // when they stay incomplete.
    std::optional<MerchantDetails> completeMerchantDetails(QWidget* owner);
    // Shows the letter; its draft in the register is `draft`, whose history records it.
    void show(DraftAuthorizations& authorizations, qint64 draft, const ConfirmationLetter::Facts& facts,
              const QString& firstFolder, QWidget* owner);

    MessageBoxService& m_messages;
    FileDialogs& m_dialogs;
    SettingsStore& m_settings;
    QString m_application;
    LetterPrinters m_printers;
    Printing m_printing;
    std::function<QDateTime()> m_now;
    // Where the last letter was exported.
    QString m_lastFolder;
};
