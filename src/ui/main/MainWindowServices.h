#pragma once

#include <QDateTime>
#include <functional>
#include <memory>

class ApplicationFacts;
class FailureReporter;
class MessageBoxService;
class PrintSurface;

// What the cheque-entry window needs of the rest of the program. The program
// fills it with the real services; tests fill it with fakes.
struct MainWindowServices {
    const ApplicationFacts* facts = nullptr;
    MessageBoxService* messages = nullptr;
    // Reports the failures of handlers without handling of their own.
    FailureReporter* failures = nullptr;
    // Opens the default printer for one Quick Print run.
    std::function<std::unique_ptr<PrintSurface>()> openPrinter;
    // The time the status bar shows.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
};
