# The checks that the fuzz targets run, as a library of their own: the libFuzzer
# build links them into the fuzz targets, and the normal build into the test
# that replays the kept inputs. They need the core and register libraries and the fakes only.
add_library(quillo_fuzz_checks STATIC
    ${CMAKE_CURRENT_LIST_DIR}/checks/ChequeFileCheck.h ${CMAKE_CURRENT_LIST_DIR}/checks/ChequeFileCheck.cpp
    ${CMAKE_CURRENT_LIST_DIR}/checks/QuickPrintCheck.h ${CMAKE_CURRENT_LIST_DIR}/checks/QuickPrintCheck.cpp
    ${CMAKE_CURRENT_LIST_DIR}/checks/RegisterValuesCheck.h ${CMAKE_CURRENT_LIST_DIR}/checks/RegisterValuesCheck.cpp
    ${CMAKE_CURRENT_LIST_DIR}/checks/WorkFolder.h ${CMAKE_CURRENT_LIST_DIR}/checks/WorkFolder.cpp
)
target_include_directories(quillo_fuzz_checks PUBLIC ${CMAKE_CURRENT_LIST_DIR}/checks
                           PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../tests)
target_link_libraries(quillo_fuzz_checks PUBLIC quillo_core quillo_register)
