#pragma once

#include <QString>

class LoadedWindows;
class SettingsStore;

// Where the main window stands on the screen, in twips: its outer left, top,
// width and height.
struct WindowPlacement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// What closing the cheque-entry window does before the program ends: every
// other loaded window is unloaded, newest first (the main window is the
// oldest, at position 0, and stays), then the window's placement is written
// to the per-user settings unless the window is minimised.
class MainWindowUnload {
public:
    static void run(LoadedWindows& windows, SettingsStore& settings, const QString& applicationTitle, bool minimised,
                    const WindowPlacement& placement);
};
