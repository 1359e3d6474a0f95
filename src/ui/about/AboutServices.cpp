#include "ui/about/AboutServices.h"

#include "system/qt/SystemInfoPlatform.h"

AboutServices AboutServices::forPlatform(const ApplicationFacts& facts, MessageBoxService& messages,
                                         SystemInfoPlatform& platform, WindowList* windows)
{
    AboutServices services;
    services.facts = &facts;
    services.messages = &messages;
    services.registry = &platform.registry();
    services.files = &platform.files();
    services.processes = &platform.processes();
    services.windows = windows;
    return services;
}
