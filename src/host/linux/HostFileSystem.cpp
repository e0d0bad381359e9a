// The Linux file layer: reads whole files, and writes through a temporary file under a lock file,
// checking first that nobody changed the file since it was read.
#include "host/linux/HostFileSystem.h"

#include "host/ErrorDescription.h"
#include "host/FileAsRead.h"
#include "host/FileRules.h"
#include "host/Utf8.h"
#include "host/linux/RegularFile.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace orvanta::host {
namespace {

constexpr std::u16string_view kPathNotFound = u"パスが見つかりません。";

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string slashes(std::string path)
{
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

std::string joined(const std::string& folder, std::string_view rest)
{
    while (!rest.empty() && rest.front() == '/')
        rest.remove_prefix(1);
    if (rest.empty())
        return folder;
    if (!folder.empty() && folder.back() == '/')
        return folder + std::string(rest);
    return folder + "/" + std::string(rest);
}

Failure failure(int error)
{
    return Failure{error == ENOENT ? Failure::Kind::NotFound : Failure::Kind::Other, errorDescription(error)};
}

// A missing folder on the way to a file being written is a path that is not there.
Failure writeFailure(int error)
{
    if (error == ENOENT)
        return Failure{Failure::Kind::NotFound, std::u16string(kPathNotFound)};
    return failure(error);
}

class Descriptor {
public:
    Descriptor(int fd, const SystemCalls& calls) : m_fd(fd), m_calls(calls) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (m_fd >= 0)
            m_calls.close(m_fd);
    }
    int get() const { return m_fd; }
    // Closes now and reports the error close reports (a delayed write error on some file systems).
    int close()
    {
        const int result = m_calls.close(m_fd);
        m_fd = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int m_fd = -1;
    const SystemCalls& m_calls;
};

FileKind fileKind(mode_t mode)
{
    if (S_ISREG(mode))
        return FileKind::Regular;
    if (S_ISDIR(mode))
        return FileKind::Folder;
    if (S_ISLNK(mode))
        return FileKind::Link;
    if (S_ISFIFO(mode))
        return FileKind::Pipe;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return FileKind::Device;
    if (S_ISSOCK(mode))
        return FileKind::Socket;
    return FileKind::Other;
}

// A write's lock on its folder: the file ".orvanta.lock" in the folder, held with flock. A file of
// its own rather than the folder: locking the folder needs it opened for reading, which a folder the
// user may write to and enter but not list (mode 0311) refuses. The file goes again when the write is
// done, as on Windows. A writer that waited for it may then hold a file the one before it has just
// removed, so the lock counts only while the name still stands for the file locked.
class FolderLock {
public:
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock()
    {
        if (m_remove)
            m_calls.unlink(m_path.c_str());
        if (m_fd >= 0)
            m_calls.close(m_fd);
    }

    // Waits for another writer at most `wait`. Fails when the lock file cannot be made, when another
    // writer held it all that time, or when something other than a regular file stands under its name
    // (put there by someone else: neither followed, used nor removed). A file system without locks
    // (some network shares) is written without one.
    static Expected<std::unique_ptr<FolderLock>>
    take(const std::string& folder, std::chrono::milliseconds wait, const SystemCalls& calls)
    {
        const auto deadline = std::chrono::steady_clock::now() + wait;
        const std::string path = joined(folder, kLockName);
        const auto refused = [](mode_t mode) {
            return Failure{Failure::Kind::Other, lockFileDescription(fileKind(mode))};
        };
        while (true) {
            // Looked at before it is opened: opening a device may already do something.
            struct stat named {};
            if (lstat(path.c_str(), &named) == 0 && !S_ISREG(named.st_mode))
                return refused(named.st_mode);
            std::unique_ptr<FolderLock> lock(new FolderLock(
                path,
                calls.open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK,
                           0600),
                calls));
            if (lock->m_fd < 0) {
                // A link placed there since the look above.
                return errno == ELOOP ? refused(S_IFLNK) : writeFailure(errno);
            }
            struct stat held {};
            if (fstat(lock->m_fd, &held) != 0)
                return failure(errno);
            if (!S_ISREG(held.st_mode))
                return refused(held.st_mode);
            int result = 0;
            while ((result = calls.flock(lock->m_fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
            }
            if (result != 0 && errno != EWOULDBLOCK) {
                lock->m_remove = true;
                return lock;
            }
            if (result == 0) {
                if (lstat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
                    held.st_ino == named.st_ino) {
                    lock->m_remove = true;
                    return lock;
                }
                continue;
            }
            if (std::chrono::steady_clock::now() >= deadline)
                return Failure{Failure::Kind::Other, busyDescription()};
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    // A descriptor on the folder's file system, for flushFolder.
    int fd() const { return m_fd; }

private:
    FolderLock(std::string path, int fd, const SystemCalls& calls)
        : m_path(std::move(path)), m_fd(fd), m_calls(calls)
    {
    }

    std::string m_path;
    int m_fd = -1;
    const SystemCalls& m_calls;
    bool m_remove = false; // set once the lock is held, or the file system has no locks
};

// A FAT, exFAT or NTFS stick holds no Unix owner or permissions: the mount gives every file the same
// ones and refuses a change (EPERM, as vfat and exfat do unless mounted "quiet"), or cannot make one.
bool holdsNoModes(int error)
{
    return error == EPERM || error == EOPNOTSUPP || error == ENOTSUP || error == ENOSYS;
}

// Removes the temporary files of writes that were killed before they could finish: they may hold
// every password in plain text. Only regular files with exactly the program's temporary names go.
void removeLeftovers(const std::string& folder, const SystemCalls& calls)
{
    DIR* listing = opendir(folder.c_str());
    if (listing == nullptr)
        return;
    while (const dirent* entry = readdir(listing)) {
        if (!isLeftoverName(entry->d_name))
            continue;
        const std::string path = joined(folder, entry->d_name);
        struct stat status {};
        if (lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode))
            calls.unlink(path.c_str());
    }
    closedir(listing);
}

// The user's file a write replaces. A link is followed, so the file it points to gets the new bytes and the
// link stays a link. A link to nothing is left alone: its target may be on a disk that is not there now.
Expected<std::string> linkFollowed(std::string target)
{
    struct stat status {};
    if (lstat(target.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
        return target;
    char* resolved = realpath(target.c_str(), nullptr);
    if (resolved == nullptr)
        return errno == ENOENT ? Failure{Failure::Kind::Other, danglingLinkDescription()} : failure(errno);
    target = resolved;
    std::free(resolved);
    return target;
}

// What the new file gets: the permissions of the file it replaces (or of the file `like`), and that
// file's owner and group; a new file is its owner's only.
struct KeptModes {
    mode_t mode = 0600;
    std::optional<struct stat> old;
};

// What stands at `target` when a write may replace the user's file there: nothing, or a regular file
// within the limit that its owner may write to.
Expected<std::optional<struct stat>> replaceable(const std::string& target)
{
    struct stat status {};
    if (stat(target.c_str(), &status) != 0) {
        if (errno == ENOENT)
            return std::optional<struct stat>();
        return failure(errno);
    }
    // A file too large to be one of the program's is not the one the user meant to replace.
    if (auto refused = fileRefusal(fileKind(status.st_mode), static_cast<std::uintmax_t>(status.st_size)))
        return std::move(*refused);
    if ((status.st_mode & S_IWUSR) == 0)
        return Failure{Failure::Kind::Other, readOnlyDescription()};
    return std::optional<struct stat>(status);
}

} // namespace

int flushFolder(const char* folder, int fileOnSameDisk)
{
    const int directory = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory < 0)
        return syncfs(fileOnSameDisk);
    const int result = fsync(directory);
    const int error = errno;
    ::close(directory);
    errno = error;
    return result;
}

// Anything but a regular file of at most `limit` bytes is refused before a byte is read: a pipe would
// wait for a writer for ever and a device may never end.
Expected<std::string> readRegularFile(const std::string& host, std::size_t limit, const SystemCalls& calls)
{
    struct stat status {};
    if (stat(host.c_str(), &status) != 0) {
        const int error = errno;
        if (error == ENOENT && lstat(host.c_str(), &status) == 0 && S_ISLNK(status.st_mode))
            return Failure{Failure::Kind::Other, danglingLinkDescription()};
        return failure(error);
    }
    if (auto refused = kindRefusal(fileKind(status.st_mode)))
        return std::move(*refused);
    // Opened without waiting, and checked again, in case the name was given to something else since.
    const Descriptor file(calls.open(host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0), calls);
    if (file.get() < 0)
        return failure(errno);
    if (fstat(file.get(), &status) != 0)
        return failure(errno);
    if (auto refused =
            fileRefusal(fileKind(status.st_mode), static_cast<std::uintmax_t>(status.st_size), limit))
        return std::move(*refused);
    std::string bytes;
    std::array<char, 65536> buffer{};
    while (true) {
        const ssize_t count = read(file.get(), buffer.data(), buffer.size());
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return failure(errno);
        }
        if (count == 0)
            return bytes;
        bytes.append(buffer.data(), static_cast<std::size_t>(count));
        // A file that grows while it is read is held to the same limit.
        if (bytes.size() > limit)
            return Failure{Failure::Kind::Other, tooLargeDescription(limit)};
    }
}

HostFileSystem::HostFileSystem(const Drives& drives, SystemCalls calls, std::chrono::milliseconds lockWait)
    : m_drives(drives), m_calls(std::move(calls)), m_lockWait(lockWait)
{
}

std::optional<std::string> HostFileSystem::hostPath(std::u16string_view path) const
{
    const auto utf8 = toUtf8(path);
    if (!utf8 || utf8->empty())
        return std::nullopt;
    const std::string& text = *utf8;
    if (text.front() == '/')
        return slashes(text);
    if (text.size() >= 2 && isLetter(text[0]) && text[1] == ':') {
        const auto root = m_drives.root(text[0]);
        if (!root)
            return std::nullopt;
        return joined(*root, slashes(text.substr(2)));
    }
    if (text.front() == '\\') {
        // "\\server\share" names a network share, which this host does not reach.
        if (text.size() >= 2 && (text[1] == '\\' || text[1] == '/'))
            return std::nullopt;
        return joined(m_drives.currentDriveRoot(), slashes(text.substr(1)));
    }
    std::vector<char> buffer(PATH_MAX);
    if (getcwd(buffer.data(), buffer.size()) == nullptr)
        return slashes(text);
    return joined(buffer.data(), slashes(text));
}

Expected<std::string> HostFileSystem::read(std::u16string_view path, std::size_t limit) const
{
    const auto host = hostPath(path);
    if (!host)
        return Failure{Failure::Kind::NotFound, std::u16string(kPathNotFound)};
    return readRegularFile(*host, limit, m_calls);
}

// One write, step by step: lock the folder, check the file there, create the temporary file, keep the
// old file's owner and mode, write and flush the bytes, rename, flush the folder.
class HostFileSystem::Writing {
public:
    Writing(const HostFileSystem& files, std::string target) : m_files(files), m_target(std::move(target))
    {
        const std::size_t slash = m_target.rfind('/');
        m_folder = slash == std::string::npos ? std::string(".")
                   : slash == 0               ? std::string("/")
                                              : m_target.substr(0, slash);
        m_name = slash == std::string::npos ? m_target : m_target.substr(slash + 1);
    }

    WriteOutcome run(std::string_view bytes, const WriteKind& kind)
    {
        // The folder's lock is held from the check to the flush of the folder: another copy of the
        // program writing here waits, and then checks against the file this write leaves.
        const auto lock = FolderLock::take(m_folder, m_files.m_lockWait, m_calls);
        if (!lock)
            return lock.failure();
        removeLeftovers(m_folder, m_calls);

        const auto* users = std::get_if<UsersFile>(&kind);
        auto kept = users ? checkedTarget() : checkedOwnName(std::get<OwnFile>(kind).like);
        if (!kept)
            return kept.failure();
        if (users && users->asRead != nullptr) {
            if (auto checked = stillAsRead(*users->asRead); !checked.ok())
                return checked;
        }

        // The new bytes go to a temporary file beside the target and take its name only once they are
        // all on the disk: a failure at any step leaves the old file exactly as it was.
        std::string temporary = joined(m_folder, "." + m_name + "." + std::string(kTemporaryMark) + "XXXXXX");
        Descriptor file(m_calls.mkostemp(temporary.data(), O_CLOEXEC), m_calls);
        if (file.get() < 0)
            return writeFailure(errno);
        int error = keepModes(file, kept.value());
        if (error == 0)
            error = writeAndFlush(file, bytes);
        if (error == 0)
            error = renamed(temporary);
        if (error != 0) {
            m_calls.unlink(temporary.c_str());
            return writeFailure(error);
        }
        return folderFlushed(*lock.value());
    }

private:
    // 0 when the call succeeded, else the errno value it left.
    static int answer(int result) { return result == 0 ? 0 : errno; }

    // The user's file there may be replaced (replaceable), and what the new file gets.
    Expected<KeptModes> checkedTarget() const
    {
        const auto there = replaceable(m_target);
        if (!there)
            return there.failure();
        KeptModes kept;
        if (const auto& status = there.value())
            kept = KeptModes{static_cast<mode_t>(status->st_mode & 07777), *status};
        return kept;
    }

    // A file of the program's own replaces whatever stands under its name, looked at without following
    // a link; only a folder cannot be replaced. The new file owes nothing to what stood there: a link
    // placed there must not hand it the permissions of the file the link points to.
    Expected<KeptModes> checkedOwnName(std::u16string_view like) const
    {
        struct stat status {};
        if (lstat(m_target.c_str(), &status) == 0 && S_ISDIR(status.st_mode))
            return *kindRefusal(FileKind::Folder);
        if (like.empty())
            return KeptModes{};
        // A copy kept beside another file takes that file's permissions, owner and group.
        const auto model = m_files.hostPath(like);
        if (!model || stat(model->c_str(), &status) != 0)
            return failure(model ? errno : ENOENT);
        return KeptModes{static_cast<mode_t>(status.st_mode & 07777), status};
    }

    // The file still holds what the program read (is still missing, when it read none).
    WriteOutcome stillAsRead(const FileContents& asRead) const
    {
        const auto now = readRegularFile(m_target, kMaxFileSize, m_calls);
        const auto current = FileAsRead::of(now);
        if (!current.readable())
            return now.failure();
        if (current.contents() != asRead)
            return Failure{Failure::Kind::Changed, changedDescription()};
        return {};
    }

    int keepModes(const Descriptor& file, KeptModes kept) const
    {
        if (kept.old) {
            // The new file keeps the old one's owner and group where the system allows. When the group
            // cannot be kept, the group's permissions are not handed to the group the file gets instead.
            const auto& old = *kept.old;
            if (m_calls.fchown(file.get(), old.st_uid, old.st_gid) != 0 &&
                m_calls.fchown(file.get(), static_cast<uid_t>(-1), old.st_gid) != 0)
                kept.mode &= ~static_cast<mode_t>(070);
        }
        // Where the file system cannot hold the permissions, the file is written all the same: the mount
        // decides who may read it.
        const int error = answer(m_calls.fchmod(file.get(), kept.mode));
        return holdsNoModes(error) ? 0 : error;
    }

    // Writes the bytes, flushes them to the disk and closes the file.
    int writeAndFlush(Descriptor& file, std::string_view bytes) const
    {
        while (!bytes.empty()) {
            const ssize_t count = m_calls.write(file.get(), bytes.data(), bytes.size());
            if (count < 0) {
                if (errno == EINTR)
                    continue;
                return errno;
            }
            if (count == 0)
                return EIO;
            bytes.remove_prefix(static_cast<std::size_t>(count));
        }
        if (m_calls.fsync(file.get()) != 0)
            return errno;
        return file.close();
    }

    int renamed(const std::string& temporary) const
    {
        return answer(m_calls.rename(temporary.c_str(), m_target.c_str()));
    }

    // Makes the new name itself durable. The file is complete under its name by now, so a folder that
    // cannot be flushed does not undo the write; but the user is told that a power failure may.
    WriteOutcome folderFlushed(const FolderLock& lock) const
    {
        if (const int error = answer(m_calls.flushFolder(m_folder.c_str(), lock.fd())))
            return WriteOutcome::writtenUnsynced(failure(error));
        return {};
    }

    const HostFileSystem& m_files;
    const SystemCalls& m_calls = m_files.m_calls;
    std::string m_target;
    std::string m_folder;
    std::string m_name;
};

WriteOutcome HostFileSystem::write(std::u16string_view path, std::string_view bytes, const WriteKind& kind)
{
    const auto host = hostPath(path);
    if (!host)
        return Failure{Failure::Kind::NotFound, std::u16string(kPathNotFound)};
    // A file the program could not read back is not written either.
    if (bytes.size() > kMaxFileSize)
        return Failure{Failure::Kind::Other, tooLargeDescription()};
    if (std::holds_alternative<OwnFile>(kind))
        return Writing(*this, *host).run(bytes, kind);
    auto target = linkFollowed(*host);
    if (!target)
        return target.failure();
    return Writing(*this, std::move(target).value()).run(bytes, kind);
}

std::optional<Failure> HostFileSystem::replaceRefusal(std::u16string_view path) const
{
    const auto host = hostPath(path);
    if (!host)
        return Failure{Failure::Kind::NotFound, std::u16string(kPathNotFound)};
    const auto target = linkFollowed(*host);
    if (!target)
        return target.failure();
    if (const auto there = replaceable(target.value()); !there)
        return there.failure();
    return std::nullopt;
}

std::optional<std::string> HostFileSystem::existingHostPath(std::u16string_view path) const
{
    auto host = hostPath(path);
    struct stat status {};
    if (!host || stat(host->c_str(), &status) != 0)
        return std::nullopt;
    return host;
}

} // namespace orvanta::host
