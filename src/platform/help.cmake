# The help viewer: the interface and the lookup of the help document are core,
# the viewer window is Qt's. The help itself is copied into the build tree by
# resources/help (target quillo_help), which whatever links the UI library needs.
include(GNUInstallDirs)

target_sources(quillo_core PRIVATE
    HelpViewer.h
    HelpDocumentLocator.h HelpDocumentLocator.cpp
)
# Where an installed Quillo's help lies, seen from the folder of its program.
file(RELATIVE_PATH quillo_help_from_bindir
     ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/quillo/help)
target_compile_definitions(quillo_core PRIVATE QUILLO_HELP_DIR_FROM_BINDIR="${quillo_help_from_bindir}")

target_sources(quillo_ui PRIVATE
    qt/widgets/HelpViewerWindow.h qt/widgets/HelpViewerWindow.cpp
    qt/QtHelpViewer.h qt/QtHelpViewer.cpp
)
add_dependencies(quillo_ui quillo_help)
