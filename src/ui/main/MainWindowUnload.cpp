#include "ui/main/MainWindowUnload.h"

#include "platform/LoadedWindows.h"
#include "platform/SettingsStore.h"

void MainWindowUnload::run(LoadedWindows& windows, SettingsStore& settings, const QString& applicationTitle,
                           bool minimised, const WindowPlacement& placement)
{
    for (int position = windows.count() - 1; position >= 1; --position)
        windows.unload(position);

    if (minimised)
        return;
    const QString section = QStringLiteral("Settings");
    settings.saveSetting(applicationTitle, section, QStringLiteral("MainLeft"), QString::number(placement.left));
    settings.saveSetting(applicationTitle, section, QStringLiteral("MainTop"), QString::number(placement.top));
    settings.saveSetting(applicationTitle, section, QStringLiteral("MainWidth"), QString::number(placement.width));
    settings.saveSetting(applicationTitle, section, QStringLiteral("MainHeight"), QString::number(placement.height));
}
