#pragma once

#include <QStringList>
#include <vector>

// The register's tables, version by version. Migration n brings a register
// from version n - 1 to version n; a register's version is its
// `PRAGMA user_version`. A step, once released, is never changed: later
// changes are new steps.
namespace RegisterSchema {

// The version this program writes; a register of a later version is left alone.
int currentVersion();

// The statements of migration `version` (1 to currentVersion()).
QStringList migration(int version);

} // namespace RegisterSchema
