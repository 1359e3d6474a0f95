#pragma once

#include <QString>

// The platform's help viewer.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    // Shows `helpFile` with the viewer command `command` (9, "force file": show this
    // file, opening it if the viewer shows another file or none).
    virtual void showHelp(const QString& helpFile, int command) = 0;
};
