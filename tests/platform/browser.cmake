# The QtWebEngine browser control, on local pages only.
quillo_add_test(tst_webenginecontrol SOURCES tst_webenginecontrol.cpp LIBS quillo_ui WEB TIMEOUT 180)
