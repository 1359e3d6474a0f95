#pragma once

#include "print/PaperPolicy.h"

#include <QPageLayout>
#include <QString>

class FailureReporter;
class FileDialogs;
class FolderFiles;
class MessageBoxService;
class PassphrasePrompt;
class QuestionBox;
class RegisterSession;
class StatusChangePrompt;
class TextPrompt;

// What the register window needs of the rest of the program. The program
// fills it with the real services; tests fill it with fakes.
struct RegisterWindowServices {
    RegisterSession* session = nullptr;
    // Asks for the register's passphrase where it has one.
    PassphrasePrompt* passphrase = nullptr;
    MessageBoxService* messages = nullptr;
    QuestionBox* questions = nullptr;
    TextPrompt* texts = nullptr;
    // Asks for the day and details of a deposit, a payment, a return.
    StatusChangePrompt* statusChanges = nullptr;
    FileDialogs* fileDialogs = nullptr;
    // Reports the failures of the window's commands.
    FailureReporter* failures = nullptr;
    // Where Export as CSV first offers to save.
    QString exportFolder;
    // Where a claim package's folder and files are written.
    FolderFiles* folders = nullptr;
    // The paper a claim package's page of the draft is laid out on.
    QPageLayout paper = PaperPolicy::fallbackLayout();
};
