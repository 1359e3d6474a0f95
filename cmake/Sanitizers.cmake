# QUILLO_ENABLE_SANITIZERS: AddressSanitizer with its leak checker, and
# UndefinedBehaviorSanitizer, on every target of the project.
#
# Every program built this way carries its own sanitizer settings (leak
# checking on, the first error ends the program with a stack trace, and the
# leak suppressions for system libraries), so a test or the program run by
# hand behaves the same as under `make test-asan`. ASAN_OPTIONS, LSAN_OPTIONS
# and UBSAN_OPTIONS in the environment still override them.
if(NOT QUILLO_ENABLE_SANITIZERS)
    return()
endif()

target_compile_options(quillo_build_flags INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
target_link_options(quillo_build_flags INTERFACE -fsanitize=address,undefined)

set(QUILLO_LSAN_SUPPRESSIONS ${CMAKE_CURRENT_LIST_DIR}/lsan-suppressions.txt)
configure_file(${CMAKE_CURRENT_LIST_DIR}/SanitizerDefaults.cpp.in
               ${CMAKE_BINARY_DIR}/generated/SanitizerDefaults.cpp @ONLY)
# Only executables get the defaults: the runtime reads them from the program.
target_sources(quillo_build_flags INTERFACE
    $<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:${CMAKE_BINARY_DIR}/generated/SanitizerDefaults.cpp>)
