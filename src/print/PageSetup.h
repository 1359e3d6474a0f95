#pragma once

#include <QString>

class SettingsStore;

// How Quick Print places its page: where the bank line goes, and how far the
// whole page moves to make up for where a printer puts it; and whether the
// bank line carries the remotely created check code, which some banks ask
// for and others reject.
struct PageSetup {
    enum class BankLine {
        Layout,   // by character columns, like every other line
        Standard, // where a bank's reader looks for it on a check at the top of a Letter sheet
    };

    // The offsets, in hundredths of an inch, go no further than this either way.
    static constexpr int MaxOffset = 50;

    BankLine bankLine = BankLine::Layout;
    int offsetRight = 0; // hundredths of an inch; negative moves left
    int offsetDown = 0;  // hundredths of an inch; negative moves up
    bool epc6 = false;   // the external processing code 6 in position 44 of the bank line

    bool operator==(const PageSetup&) const = default;

    // The setup kept in `application`'s settings; a value that is missing or
    // unreadable keeps its default, an offset too large is held at the limit.
    static PageSetup load(const SettingsStore& settings, const QString& application);
    void save(SettingsStore& settings, const QString& application) const;
};
