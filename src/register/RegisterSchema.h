#pragma once

#include <QStringList>
#include <vector>

class SqlDialect;

// The register's tables, version by version. Migration n brings a register
// from version n - 1 to version n; a register's version is the one row of
// VersionTable (from version 3 on; before, the engine kept it, as the
// dialect reads it). A step, once released, is never changed: later changes
// are new steps.
namespace RegisterSchema {

inline const QString VersionTable = QStringLiteral("register_schema");
inline constexpr int FirstWithVersionTable = 3;

// The version this program writes; a register of a later version is left alone.
int currentVersion();

// The statements of migration `version` (1 to currentVersion()).
QStringList migration(int version, const SqlDialect& sql);

} // namespace RegisterSchema
