#pragma once

class ApplicationFacts;
class FileSystemChecks;
class MessageBoxService;
class ProcessStarter;
class Registry;
class SystemInfoPlatform;
class WindowList;

// What the About box needs of the rest of the program. The program fills it
// with the real services; tests fill it with fakes. All but `windows` are
// required.
struct AboutServices {
    const ApplicationFacts* facts = nullptr;
    MessageBoxService* messages = nullptr;
    Registry* registry = nullptr;
    FileSystemChecks* files = nullptr;
    ProcessStarter* processes = nullptr;
    // The loaded-windows list the box joins while it is loaded, if any.
    WindowList* windows = nullptr;

    // The services of the running program, with this system's registry, file
    // checks and process start.
    static AboutServices forPlatform(const ApplicationFacts& facts, MessageBoxService& messages,
                                     SystemInfoPlatform& platform, WindowList* windows = nullptr);
};
