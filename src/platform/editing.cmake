# Clipboard, the focused control's selection text and the settings store.
target_sources(quillo_core PRIVATE
    Clipboard.h
    FocusedControl.h
    SettingsStore.h
)
target_sources(quillo_ui PRIVATE
    qt/QtClipboard.h qt/QtClipboard.cpp
    qt/QtFocusedControl.h qt/QtFocusedControl.cpp
    qt/QtSettingsStore.h qt/QtSettingsStore.cpp
)
