#pragma once

#include "platform/Drives.h"
#include "platform/FileSystem.h"

#include <functional>

namespace orvanta::platform {

/// The steps of HostFileSystem::writeFile, in order.
enum class WriteStep {
    Open,   ///< creating the temporary file beside the target
    Write,  ///< writing the bytes into it
    Sync,   ///< flushing it to the disk and closing it
    Rename, ///< giving it the target's name
};

/// The program's files on this host. Windows-style paths are mapped through the drive links:
///   "/home/u/psw.ini"   a host path already (backslashes after the first slash become slashes)
///   "A:\dir\psw.ini"    drive A:'s root + "/dir/psw.ini" (no drive A: -> no path)
///   "\psw.bkp"          the current drive's root + "/psw.bkp"
///   "dir\psw.ini"       the working directory + "/dir/psw.ini"
/// Host paths are UTF-8.
class HostFileSystem final : public FileSystem {
public:
    /// Asked before each step of a write; an errno value other than 0 makes that step fail with it.
    /// Lets tests fail a write at any step and check that the old file stays as it was.
    using FaultHook = std::function<int(WriteStep)>;

    /// `drives` must outlive this object.
    explicit HostFileSystem(const Drives& drives, FaultHook faultHook = {});

    Expected<std::string> readFile(std::u16string_view path) const override;
    std::optional<Failure> writeFile(std::u16string_view path, std::string_view bytes) override;
    bool exists(std::u16string_view path) const override;
    std::optional<std::string> hostPath(std::u16string_view path) const override;

private:
    int fault(WriteStep step) const;

    const Drives& m_drives;
    FaultHook m_faultHook;
};

} // namespace orvanta::platform
