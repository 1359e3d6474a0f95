#include "system/qt/SystemInfoPlatform.h"

#include "system/NativeSystem.h"

SystemInfoPlatform::SystemInfoPlatform() : m_registry(NativeSystem::registry()) {}

SystemInfoPlatform::~SystemInfoPlatform() = default;
