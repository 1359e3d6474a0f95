# Keeping the register's keys out of core dumps: the interface is the core's,
# the implementation the system's.
target_sources(quillo_core PRIVATE
    CoreDumps.h
)
if(UNIX)
    target_sources(quillo_core PRIVATE
        posix/PosixCoreDumps.cpp
    )
else()
    message(FATAL_ERROR "Quillo cannot turn core dumps off on this system yet.")
endif()
