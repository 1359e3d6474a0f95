#pragma once

// The program's loaded windows in the order they were loaded; position 0 is
// the oldest. Unloading a window runs its own unload step and removes it.
class LoadedWindows {
public:
    virtual ~LoadedWindows() = default;
    virtual int count() const = 0;
    virtual void unload(int position) = 0;
};
