# The System Information lookup against fakes, and the platform's own
# registry stand-in, file checks and process start against real files and
# programs (shell scripts, hence Linux and the like only).
quillo_add_test(tst_systeminfolauncher SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_systeminfolauncher.cpp)
if(UNIX AND NOT APPLE)
    quillo_add_test(tst_systeminfoplatform SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_systeminfoplatform.cpp
                    LIBS quillo_ui)
endif()
