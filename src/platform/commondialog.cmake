# The common dialog: the object the File commands work with, and its Qt dialogs.
target_sources(quillo_core PRIVATE
    CommonDialog.h CommonDialog.cpp
    DialogCancelled.h
    FileDialogs.h
)
target_sources(quillo_ui PRIVATE
    qt/QtFileDialogs.h qt/QtFileDialogs.cpp
)
