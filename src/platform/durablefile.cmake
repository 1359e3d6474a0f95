# Durable record files: the interface is the core's, the implementation the
# system's.
target_sources(quillo_core PRIVATE
    DurableFile.h
    PrivateFiles.h
)
if(UNIX)
    target_sources(quillo_core PRIVATE
        posix/PosixDurableFile.cpp
        posix/PosixPrivateFiles.cpp
    )
else()
    message(FATAL_ERROR "Quillo has no durable file implementation for this system yet.")
endif()
