#include "platform/qt/SystemInfoPlatform.h"

#include "platform/NativeSystem.h"

SystemInfoPlatform::SystemInfoPlatform() : m_registry(NativeSystem::registry()) {}

SystemInfoPlatform::~SystemInfoPlatform() = default;
