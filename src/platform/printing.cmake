# Printing: where Quick Print's finished page goes. On Linux Quillo hands the
# job to CUPS itself and checks every answer; elsewhere Qt's own printing
# sends it.
target_sources(quillo_core PRIVATE
    PrintDestination.h
)
if(UNIX AND NOT APPLE)
    target_sources(quillo_ui PRIVATE
        cups/CupsDestination.h cups/CupsDestination.cpp
    )
    target_link_libraries(quillo_ui PUBLIC Cups::Cups)
    target_compile_definitions(quillo_ui PRIVATE QUILLO_PRINTS_THROUGH_CUPS=1)
endif()
