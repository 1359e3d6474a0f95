#include "app/AppServices.h"
#include "app/Module1.h"
#include "platform/FailureHandling.h"
#include "system/qt/Fonts.h"
#include "ui/main/frmMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillo"));
    QApplication::setOrganizationName(QStringLiteral("Quillo"));
    // Lets the desktop match the window with Quillo's menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quillo.Quillo"));
    // The program ends when the cheque-entry window has gone, whatever else is open.
    QApplication::setQuitOnLastWindowClosed(false);
    Fonts::install();

    AppServices services;
    QString failure;
    const bool started = Failures::succeeds([&] { Module1::Main(services); }, &failure);
    if (!started) {
        services.messages().show(QStringLiteral("Quillo could not start.\n\n") + failure);
        return 1;
    }
    QObject::connect(Module1::MainWindow, &frmMain::unloaded, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    return app.exec();
}
