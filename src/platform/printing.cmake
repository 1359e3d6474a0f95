# Printing: the one painter of the page and the destinations it goes to. On
# Linux Quillo hands the job to CUPS itself and checks every answer;
# elsewhere Qt's own printing sends it.
target_sources(quillo_core PRIVATE
    PrintDestination.h
    PrintedPage.h PrintedPage.cpp
    DefaultPrinter.h DefaultPrinter.cpp
    PageCapture.h
    PdfFileDestination.h PdfFileDestination.cpp
)
target_sources(quillo_ui PRIVATE
    qt/BusyWait.h qt/BusyWait.cpp
    qt/QtPrinterDestination.h qt/QtPrinterDestination.cpp
)
if(UNIX AND NOT APPLE)
    target_sources(quillo_ui PRIVATE
        cups/CupsDestination.h cups/CupsDestination.cpp
        cups/CupsDefaultPrinter.cpp
    )
    target_link_libraries(quillo_ui PRIVATE Cups::Cups)
else()
    target_sources(quillo_ui PRIVATE
        qt/QtDefaultPrinter.cpp
    )
endif()
