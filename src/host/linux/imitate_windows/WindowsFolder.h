#pragma once

// Stands in for the Windows folder on Linux. On Windows the program keeps psw.ini in %Windir%, which
// Windows always defines; Linux has no such folder, so the user's data folder takes its place and
// the window finds psw.ini there through Windir as it does on Windows.

#include <string>

namespace orvanta::host {

/// The folder that stands in for the Windows folder while Windir is not set: the program's data folder
/// ($XDG_DATA_HOME/orvanta, by default ~/.local/share/orvanta), created, readable by the user only, on
/// first use.
std::string imitatedWindowsFolder();

} // namespace orvanta::host
