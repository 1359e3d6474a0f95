#include "app/Module1.h"

#include "app/AppServices.h"
#include "app/frmSplash.h"
#include "system/CoreDumps.h"
#include "system/qt/AfterFirstPaint.h"
#include "ui/main/frmMain.h"

#include <QCoreApplication>

namespace Module1 {

frmMain* MainWindow = nullptr;

void Main(AppServices& services)
{
    // Before any key or passphrase is in memory.
    CoreDumps::turnOff();
    auto* splash = new frmSplash(services.facts());
    services.windows().add(splash);
    splash->show();
    // Let the window system map the splash, then paint it at once: nothing
    // else runs until the main window is shown.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    splash->repaint();

    MainWindow = new frmMain(services.mainWindowServices());
    services.windows().add(MainWindow);
    MainWindow->Load();

    delete splash;

    MainWindow->show();
    // The register waits for the window: nothing of it comes before the first paint.
    AfterFirstPaint::run(*MainWindow, [&services] { services.startRegister(); });
}

} // namespace Module1
