#pragma once

// Where the user's home and login name come from on Linux.

#include <string>

namespace orvanta::host {

/// The user's home folder: $HOME, else the password database's entry for the user.
std::string homeFolder();
/// The user's login name: the password database's entry for the user, else $USER.
std::string userName();

/// Where the program keeps its settings on this host: $XDG_CONFIG_HOME/orvanta, by default
/// ~/.config/orvanta. The registry hive and the drive links live here.
std::string configFolder();

/// Where the program keeps its data on this host: $XDG_DATA_HOME/orvanta, by default
/// ~/.local/share/orvanta. It stands in for the Windows folder.
std::string dataFolder();

/// The value of a host environment variable, or empty when it is not set.
std::string hostVariable(const char* name);

} // namespace orvanta::host
