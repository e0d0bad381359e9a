#pragma once

// The file service on Windows, where paths are Windows paths already.

#include "host/Drives.h"
#include "host/Environment.h"
#include "host/FileSystem.h"
#include "host/windows/SystemCalls.h"

#include <chrono>

namespace orvanta::host {

/// The program's files on Windows. A drive letter's root and the current drive's root come from
/// Drives, so the program and its tests name files the same way on both hosts:
///   "A:\dir\psw.ini"    drive A:'s root + "dir\psw.ini" (no drive A: -> no path)
///   "\psw.bkp"          the current drive's root + "psw.bkp"
///   "dir\psw.ini"       the working directory + "\dir\psw.ini"
///   "\\server\share\x"  the network share itself
/// A file in the Windows folder follows the user into the VirtualStore (see HostFileSystem.cpp). The
/// Windows folder and LOCALAPPDATA are the ones `environment` gives, as the window reads Windir there
/// too: both agree on where psw.ini lives.
class HostFileSystem final : public FileSystem {
public:
    /// `drives` and `environment` must outlive this object. Writes go through `calls`, and wait at
    /// most `lockWait` for another writer to let the folder's lock go.
    HostFileSystem(const Drives& drives, const Environment& environment, SystemCalls calls = {},
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
    const Environment& m_environment;
    SystemCalls m_calls;
    std::chrono::milliseconds m_lockWait;
};

} // namespace orvanta::host
