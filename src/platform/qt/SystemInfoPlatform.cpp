#include "platform/qt/SystemInfoPlatform.h"

#ifdef Q_OS_WIN
#include "platform/win/WindowsRegistry.h"
#else
#include "platform/qt/StandInRegistry.h"
#endif

SystemInfoPlatform::SystemInfoPlatform()
#ifdef Q_OS_WIN
    : m_registry(std::make_unique<WindowsRegistry>())
#else
    : m_registry(std::make_unique<StandInRegistry>())
#endif
{}

SystemInfoPlatform::~SystemInfoPlatform() = default;
