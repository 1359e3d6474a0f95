# Warnings and sanitizers shared by every target of the project.
add_library(quillo_build_flags INTERFACE)
target_compile_options(quillo_build_flags INTERFACE
    -Wall -Wextra -Wpedantic -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual)

if(QUILLO_ENABLE_SANITIZERS)
    target_compile_options(quillo_build_flags INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(quillo_build_flags INTERFACE -fsanitize=address,undefined)
endif()
