#pragma once

#include <QString>

namespace parlomat {

/// The control socket's path for a station directory: "parlomat-<hash>.sock", the hash taken
/// over the directory's canonical path, in $XDG_RUNTIME_DIR when it is set and exists, else in
/// /tmp/parlomat-<uid> (created 0700; refused unless it is a directory of ours with mode 0700).
/// Empty when there is no safe place.
QString ControlSocketPath(const QString& station_dir);

/// `dir` as a canonical path (symbolic links resolved), or `dir` cleaned when it does not exist.
QString CanonicalStationDir(const QString& dir);

}  // namespace parlomat
