#pragma once

#include <QString>

// What the program knows about itself at run time.
class ApplicationFacts {
public:
    virtual ~ApplicationFacts() = default;

    // "Quillo": every message box's caption, the About box's title line and
    // the application name in the settings store.
    virtual QString title() const = 0;
    virtual int versionMajor() const = 0;
    virtual int versionMinor() const = 0;
    virtual int versionRevision() const = 0;
    // The folder that holds the program's executable.
    virtual QString executableFolder() const = 0;
};

// "Version " followed by major.minor.revision, each as a plain decimal number.
QString versionText(const ApplicationFacts& facts);
