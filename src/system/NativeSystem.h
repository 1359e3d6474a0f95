#pragma once

#include "platform/Registry.h"

#include <QString>
#include <memory>

// What the System Information lookup finds out differently on each system
// Quillo runs on. The build compiles one system's definitions: win/ on
// Windows, posix/ elsewhere.
namespace NativeSystem {

// The system's registry: the Windows registry, or the stand-in where the
// system has none.
std::unique_ptr<Registry> registry();

// True when the system marks the file at `path` as one of its own (the
// Windows system attribute); other systems have no such mark.
bool isSystemFile(const QString& path);

} // namespace NativeSystem
