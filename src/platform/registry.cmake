# The registry, file checks and process start that the About box uses to find
# and start the System Information program.
target_sources(quillo_core PRIVATE
    Registry.h
    FileSystemChecks.h
    ProcessStarter.h
    SystemInfoLauncher.h
    SystemInfoLauncher.cpp
)

target_sources(quillo_ui PRIVATE
    NativeSystem.h
    qt/QtFileSystemChecks.h
    qt/QtFileSystemChecks.cpp
    qt/QtProcessStarter.h
    qt/QtProcessStarter.cpp
    qt/StandInRegistry.h
    qt/StandInRegistry.cpp
    qt/SystemInfoPlatform.h
    qt/SystemInfoPlatform.cpp
)

# What differs between systems is chosen here: the real registry and the
# system-file attribute exist only on Windows; elsewhere the stand-in answers.
if(WIN32)
    target_sources(quillo_ui PRIVATE
        win/WindowsNativeSystem.cpp
        win/WindowsRegistry.h
        win/WindowsRegistry.cpp
    )
    target_link_libraries(quillo_ui PRIVATE advapi32)
elseif(UNIX)
    target_sources(quillo_ui PRIVATE
        posix/PosixNativeSystem.cpp
    )
else()
    message(FATAL_ERROR "Quillo has no registry or file checks for this system yet.")
endif()
