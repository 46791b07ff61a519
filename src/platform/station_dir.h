#pragma once

#include <QString>
#include <string>

namespace parlomat {

/// The directory that holds "parlomat.ini", "temp.wav" and the message files: the executable's
/// directory when it is writable and not an installed "bin" directory (a portable install, the
/// build tree), else $XDG_DATA_HOME/parlomat, created when missing. Needs a QCoreApplication.
std::string StationDirectory();

/// The choice behind StationDirectory(), for given directories: `app_dir` when a file can be
/// created in it and it is not named "bin" or already holds a "parlomat.ini", else
/// `data_home` + "/parlomat" (created when missing).
std::string ChooseStationDirectory(const QString& app_dir, const QString& data_home);

}  // namespace parlomat
