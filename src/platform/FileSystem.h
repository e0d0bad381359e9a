#pragma once

#include "platform/Expected.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvanta::platform {

/// The program's files, named by Windows-style paths ("C:\\dir\\psw.ini", "\\psw.bkp") or host paths.
/// Every write replaces the file whole: the new bytes go to a temporary file in the same folder, are
/// flushed to the disk, and only then take the old file's name, so a failure never leaves a half-written
/// file behind.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    /// The whole file. A missing file fails with Failure::Kind::NotFound.
    virtual Expected<std::string> readFile(std::u16string_view path) const = 0;
    /// Replaces (or creates) the file with these bytes. A new file is readable by its owner only;
    /// an existing file keeps its permissions. Nothing when it succeeded.
    virtual std::optional<Failure> writeFile(std::u16string_view path, std::string_view bytes) = 0;
    virtual bool exists(std::u16string_view path) const = 0;
    /// The host path a Windows-style path stands for (for the picture and the help viewer).
    virtual std::optional<std::string> hostPath(std::u16string_view path) const = 0;
};

} // namespace orvanta::platform
