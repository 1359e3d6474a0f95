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
    // Whether files may be kept in that folder: the user may create files
    // there, and it is a folder of Quillo's own (a build tree, a portable
    // copy), not an installation's folder of programs.
    virtual bool executableFolderTakesFiles() const = 0;
    // The user's documents folder, created if it is missing.
    virtual QString documentsFolder() const = 0;
};

// "Version " followed by major.minor.revision, each as a plain decimal number.
QString versionText(const ApplicationFacts& facts);

// The folder in which the file dialogs start: the program's folder where it
// takes files, the user's documents folder otherwise.
QString fileDialogFolder(const ApplicationFacts& facts);
