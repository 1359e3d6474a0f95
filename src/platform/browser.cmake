# The embedded web browser of the browser windows.
#
# The control's interface and settings are core. The QtWebEngine side is split
# in two: quillo_ui holds the small part that finds and loads the web-engine
# module on first use, and the module quillo-webengine holds everything that
# links QtWebEngine. The program therefore neither links nor starts the web
# engine until the first browser window opens.
target_sources(quillo_core PRIVATE
    WebBrowserControl.h
    WebBrowserControlFactory.h
    WebBrowserSettings.h
)

target_sources(quillo_ui PRIVATE
    browser/WebBrowserEngine.h
    browser/WebEngineControl.h browser/WebEngineControl.cpp
    browser/WebEngineControlFactory.h browser/WebEngineControlFactory.cpp
    browser/WebEngineModule.h browser/WebEngineModule.cpp
)

find_package(Qt6 6.4 REQUIRED COMPONENTS WebEngineWidgets WebEngineQuick)

# Where an installed Quillo keeps the module, relative to the install prefix;
# the program looks for it beside itself first, then in ../<this> from its folder.
set(QUILLO_WEBENGINE_MODULE_LIBDIR "lib/quillo")

qt_add_plugin(quillo_webengine CLASS_NAME WebEngineBrowserPlugin)
target_sources(quillo_webengine PRIVATE
    browser/WebBrowserEngine.h
    browser/module/WebEngineBrowserPlugin.h browser/module/WebEngineBrowserPlugin.cpp
    browser/module/WebEngineBrowserView.h browser/module/WebEngineBrowserView.cpp
)
# The module needs only headers of the program (the boundary and the settings),
# never its libraries: it shares nothing with the program but Qt itself.
target_include_directories(quillo_webengine PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(quillo_webengine PRIVATE Qt6::WebEngineWidgets Qt6::WebEngineQuick quillo_build_flags)
set_target_properties(quillo_webengine PROPERTIES
    PREFIX ""
    OUTPUT_NAME "quillo-webengine"
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
install(TARGETS quillo_webengine LIBRARY DESTINATION ${QUILLO_WEBENGINE_MODULE_LIBDIR})

target_compile_definitions(quillo_ui PRIVATE
    QUILLO_WEBENGINE_MODULE_FILE="$<TARGET_FILE_NAME:quillo_webengine>"
    QUILLO_WEBENGINE_MODULE_LIBDIR="${QUILLO_WEBENGINE_MODULE_LIBDIR}")
# Whatever links the UI library can open a browser window, so the module is
# built with it.
add_dependencies(quillo_ui quillo_webengine)
