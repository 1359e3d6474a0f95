# Printing: the destinations a finished page goes to. On
# Linux Quillo hands the job to CUPS itself and checks every answer;
# elsewhere Qt's own printing sends it.
target_sources(quillo_core PRIVATE
    BoundedWork.h
    CancelToken.h
    DefaultPrinter.h DefaultPrinter.cpp
    SystemPrintJobStates.h
    PdfFileDestination.h PdfFileDestination.cpp
)
target_link_libraries(quillo_core PUBLIC Qt6::Concurrent)
target_sources(quillo_ui PRIVATE
    qt/QtPrinterDestination.h qt/QtPrinterDestination.cpp
    qt/UserInputHold.h qt/UserInputHold.cpp
)
if(UNIX AND NOT APPLE)
    target_sources(quillo_ui PRIVATE
        cups/CupsDestination.h cups/CupsDestination.cpp
        cups/CupsService.h cups/CupsService.cpp
        cups/CupsConnection.h cups/CupsConnection.cpp
        cups/Deadline.h cups/Deadline.cpp
        cups/CupsDefaultPrinter.cpp
        cups/CupsPrintJobStates.cpp
    )
    target_link_libraries(quillo_ui PRIVATE Cups::Cups)
else()
    target_sources(quillo_ui PRIVATE
        qt/QtDefaultPrinter.cpp
        qt/QtPrintJobStates.cpp
    )
endif()
