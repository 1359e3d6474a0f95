#include "platform/NativeSystem.h"

#include "platform/qt/StandInRegistry.h"

std::unique_ptr<Registry> NativeSystem::registry()
{
    return std::make_unique<StandInRegistry>();
}

bool NativeSystem::isSystemFile(const QString& /*path*/)
{
    return false;
}
