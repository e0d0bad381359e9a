#pragma once

// The file service on Linux, with Windows-style paths mapped through the drive links.

#include "host/Drives.h"
#include "host/FileSystem.h"
#include "host/linux/SystemCalls.h"

#include <chrono>

namespace orvanta::host {

/// The program's files on this host. Windows-style paths are mapped through the drive links:
///   "/home/u/psw.ini"   a host path already (backslashes after the first slash become slashes)
///   "A:\dir\psw.ini"    drive A:'s root + "/dir/psw.ini" (no drive A: -> no path)
///   "\psw.bkp"          the current drive's root + "/psw.bkp"
///   "dir\psw.ini"       the working directory + "/dir/psw.ini"
/// Host paths are UTF-8.
class HostFileSystem final : public FileSystem {
public:
    /// `drives` must outlive this object. Writes go through `calls`, and wait at most `lockWait` for
    /// another writer to let the folder's lock go.
    explicit HostFileSystem(const Drives& drives, SystemCalls calls = {},
                            std::chrono::milliseconds lockWait = std::chrono::milliseconds(3000));

    std::optional<Failure> replaceRefusal(std::u16string_view path) const override;
    std::optional<std::string> existingHostPath(std::u16string_view path) const override;
    std::optional<std::string> hostPath(std::u16string_view path) const override;
    // Open here, for a file layer that hands its writes on to this one.
    WriteOutcome write(std::u16string_view path, std::string_view bytes, const WriteKind& kind) override;

protected:
    Expected<std::string> read(std::u16string_view path, std::size_t limit) const override;

private:
    class Writing; // the steps of one write

    const Drives& m_drives;
    SystemCalls m_calls;
    std::chrono::milliseconds m_lockWait;
};

} // namespace orvanta::host
