#pragma once

#include "platform/Drives.h"
#include "platform/FileSystem.h"

#include <chrono>
#include <functional>

namespace orvanta::platform {

/// The steps of HostFileSystem::writeFile, in order.
enum class WriteStep {
    Open,       ///< creating the temporary file beside the target
    Write,      ///< writing the bytes into it
    Sync,       ///< flushing it to the disk and closing it
    Rename,     ///< giving it the target's name
    SyncFolder, ///< flushing the folder, so that the new name is on the disk too (after the rename)
};

/// The calls a write makes to the system, as it makes them.
enum class FileOperation {
    Lock,            ///< takes the folder's lock (a lock file in the folder)
    RemoveLeftover,  ///< removes a temporary file an earlier, killed write left behind
    Check,           ///< reads the file again to see that it is still the one the program read
    CreateExclusive, ///< creates the temporary file, failing if the name is taken
    KeepOwner,       ///< gives it the old file's owner and group
    KeepMode,        ///< gives it the old file's permissions
    Write,           ///< writes bytes into it
    SyncFile,        ///< flushes it to the disk
    Close,           ///< closes it
    Rename,          ///< gives it the target's name
    SyncFolder,      ///< flushes the folder
    Unlock,          ///< lets the folder's lock go
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

    /// Ways for tests to watch and bend a write.
    struct Hooks {
        FaultHook fault;
        /// Told of each call a write makes to the system, just before it is made.
        std::function<void(FileOperation)> trace;
        /// Calls to leave out (only FileOperation::SyncFile and FileOperation::SyncFolder are asked),
        /// so a test can show that the order it checks would miss them.
        std::function<bool(FileOperation)> leaveOut;
        /// What the file system answers to a call instead of making it (only FileOperation::KeepOwner
        /// and FileOperation::KeepMode are asked): an errno value, or 0 to make the call. Lets a test
        /// write as onto a FAT stick, which refuses to change a file's owner or permissions.
        std::function<int(FileOperation)> refuse;
        /// How long a write waits for another writer to let the folder's lock go.
        std::chrono::milliseconds lockWait{3000};
    };

    /// `drives` must outlive this object.
    explicit HostFileSystem(const Drives& drives, FaultHook faultHook = {});
    HostFileSystem(const Drives& drives, Hooks hooks);

    Expected<std::string> readFile(std::u16string_view path) const override;
    bool exists(std::u16string_view path) const override;
    std::optional<std::string> hostPath(std::u16string_view path) const override;

protected:
    WriteOutcome write(std::u16string_view path, std::string_view bytes, const FileContents* asRead,
                       std::u16string_view like) override;

private:
    class Writing; // the steps of one write, on hosts that take them one by one

    int fault(WriteStep step) const;
    void trace(FileOperation operation) const;
    bool leftOut(FileOperation operation) const;
    int refused(FileOperation operation) const;

    const Drives& m_drives;
    Hooks m_hooks;
};

} // namespace orvanta::platform
