#pragma once

#include "platform/LoadedWindows.h"

#include <QStringList>

// A list of named windows; unloading records the name and removes it.
class FakeLoadedWindows : public LoadedWindows {
public:
    int count() const override { return int(names.size()); }
    void unload(int position) override { unloaded.append(names.takeAt(position)); }

    QStringList names;
    QStringList unloaded;
};
