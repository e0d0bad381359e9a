#pragma once

// Linux only: the one way the host's files are read whole, for the data files and the registry hive.

#include "host/Expected.h"
#include "host/linux/SystemCalls.h"

#include <cstddef>
#include <string>

namespace orvanta::host {

/// The whole of the file at a host path. A missing file fails with Failure::Kind::NotFound; a link to
/// nothing, anything but a regular file, and a file of more than `limit` bytes fail with the
/// descriptions of FileRules, before a byte is read.
Expected<std::string> readRegularFile(const std::string& hostPath, std::size_t limit,
                                      const SystemCalls& calls = {});

} // namespace orvanta::host
