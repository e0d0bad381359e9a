#pragma once

// The working directory on Windows, where F1 looks for the help file first.

#include <string>

namespace orvanta::host {

/// The process's working directory on Windows, empty when the system cannot say.
std::u16string processWorkingDirectory();

} // namespace orvanta::host
