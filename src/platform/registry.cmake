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
    qt/QtFileSystemChecks.h
    qt/QtFileSystemChecks.cpp
    qt/QtProcessStarter.h
    qt/QtProcessStarter.cpp
    qt/StandInRegistry.h
    qt/StandInRegistry.cpp
    qt/SystemInfoPlatform.h
    qt/SystemInfoPlatform.cpp
)

# The real registry exists only on Windows; elsewhere the stand-in answers.
if(WIN32)
    target_sources(quillo_ui PRIVATE
        win/WindowsRegistry.h
        win/WindowsRegistry.cpp
    )
    target_link_libraries(quillo_ui PRIVATE advapi32)
endif()
