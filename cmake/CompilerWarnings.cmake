# Warnings and sanitizers shared by every target of the project.
add_library(quillo_build_flags INTERFACE)
target_compile_options(quillo_build_flags INTERFACE
    -Wall -Wextra -Wpedantic -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual)

include(${CMAKE_CURRENT_LIST_DIR}/Sanitizers.cmake)
