#include "system/NativeSystem.h"

#include "system/qt/StandInRegistry.h"

std::unique_ptr<Registry> NativeSystem::registry()
{
    return std::make_unique<StandInRegistry>();
}

bool NativeSystem::isSystemFile(const QString& /*path*/)
{
    return false;
}
