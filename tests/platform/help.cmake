# The help viewer: where the help document is found, the viewer window, and
# Quillo's own help pages.
quillo_add_test(tst_helpdocumentlocator SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_helpdocumentlocator.cpp)
quillo_add_test(tst_qthelpviewer SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_qthelpviewer.cpp LIBS quillo_ui)
quillo_add_test(tst_helpcontent SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_helpcontent.cpp LIBS quillo_resources quillo_ui)
