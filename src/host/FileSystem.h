#pragma once

// The file service: reading psw.ini and its companions whole and writing them through a temporary
// file, guarded against other writers and odd files.

#include "host/Expected.h"
#include "host/Utf8.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace orvanta::host {

/// The largest file the program reads or writes. psw.ini and psw.bkp hold at most 99 rows, far below
/// this; anything larger is not one of the program's files, and reading it whole would cost the
/// memory and time of every click.
inline constexpr std::size_t kMaxFileSize = 4 * 1024 * 1024;

/// A file's bytes as a read found them; nothing when the file was not there.
using FileContents = std::optional<std::string>;

/// How a write ended: ok() when the new bytes are in place, else failure() says why, and then the old
/// file stands exactly as it was. A write can also end in between: the new file is in place (ok()),
/// but the folder could not be flushed to the disk, so a power failure may still take the change
/// back; `unsynced` then says why.
///
/// It has no conversion to bool on purpose: an earlier version was true on failure, and code written
/// against that must fail to build rather than read the other way round.
class WriteOutcome {
public:
    WriteOutcome() = default;
    WriteOutcome(Failure failure) : m_failure(std::move(failure)) {}
    static WriteOutcome writtenUnsynced(Failure why)
    {
        WriteOutcome outcome;
        outcome.m_unsynced = std::move(why);
        return outcome;
    }

    bool ok() const { return !m_failure.has_value(); }
    /// Why the write failed; only when !ok().
    const Failure& failure() const { return *m_failure; }
    /// Set when the file was written but the folder's flush failed.
    const std::optional<Failure>& unsynced() const { return m_unsynced; }

private:
    std::optional<Failure> m_failure;
    std::optional<Failure> m_unsynced;
};

/// A write of one of the user's files, psw.ini and psw.bkp, which the user may keep elsewhere behind a
/// link: a link under the name is followed, and the file it points to gets the new bytes. The file
/// there is replaced only while it is a regular file of at most kMaxFileSize bytes that its owner may
/// write to; it keeps its permissions, and its owner and group where the system allows. A new file is
/// readable by its owner only.
struct UsersFile {
    /// When set, the file is replaced only while it still holds these bytes (is still missing, when
    /// they are nothing): checked under the folder's lock, so no other writer can come in between.
    /// When another program changed the file the write fails with Failure::Kind::Changed.
    const FileContents* asRead = nullptr;
};

/// A write of a file the program makes under a name of its own: the dated list beside psw.bkp,
/// psw.ini.bak. Whatever stands under that name (a file of any permissions and size, a link to
/// anywhere or to nothing, a pipe) is replaced by the new file and never written through; only a
/// folder there refuses the write. The new file is readable by its owner only, or, when `like` names
/// a file, gets that file's permissions, owner and group (where the host has them and the system
/// allows): a copy kept beside a file is guarded as that file is. On Linux it fails when `like` is not
/// there.
struct OwnFile {
    std::u16string_view like;
};

/// What a write does with what stands under the file's name.
using WriteKind = std::variant<UsersFile, OwnFile>;

/// The program's files, named by Windows-style paths ("C:\\dir\\psw.ini", "\\psw.bkp") or host paths.
/// Every write replaces the file whole: the new bytes go to a temporary file in the same folder (made
/// anew, never through anything that stood under its name), are flushed to the disk, and only then
/// take the file's name, so a failure never leaves a half-written file behind. Writes into one folder
/// hold the folder's lock, so that two copies of the program never interleave, and first remove the
/// temporary files an earlier, killed write of the program left there. The lock is a regular file
/// ".orvanta.lock" in the folder; anything else under that name (a link, even to nothing, a pipe, a
/// folder) refuses the write with a description that names it, and is neither followed nor removed.
///
/// Only regular files (or links to one) of at most kMaxFileSize bytes are read: a pipe, a device, a
/// folder, a link to nothing or a larger file fails with a description that says so (the help file is
/// held to a smaller size). Which files a
/// write replaces, and how, says its WriteKind.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    /// The whole file. A missing file fails with Failure::Kind::NotFound.
    Expected<std::string> readFile(std::u16string_view path) const { return read(path, kMaxFileSize); }
    /// As readFile, for a file the program holds to a smaller size than its own files (the help file):
    /// a file of more than `limit` bytes is refused as a file larger than kMaxFileSize is.
    Expected<std::string> readFile(std::u16string_view path, std::size_t limit) const
    {
        return read(path, limit);
    }
    /// Replaces (or creates) the user's file with these bytes.
    WriteOutcome writeFile(std::u16string_view path, std::string_view bytes)
    {
        return write(path, bytes, UsersFile{});
    }
    /// As writeFile, but only while the file still holds `asRead` (is still missing, when that is
    /// empty).
    WriteOutcome replaceFile(std::u16string_view path, std::string_view bytes, const FileContents& asRead)
    {
        return write(path, bytes, UsersFile{&asRead});
    }
    /// Puts a file of the program's own under its name, readable by its owner only.
    WriteOutcome writeOwnFile(std::u16string_view path, std::string_view bytes)
    {
        return write(path, bytes, OwnFile{});
    }
    /// As writeOwnFile, but the file is guarded as the file `like` is.
    WriteOutcome writeOwnFileLike(std::u16string_view path, std::string_view bytes, std::u16string_view like)
    {
        return write(path, bytes, OwnFile{like});
    }
    /// Why a write would not replace the file as it stands now (read-only, anything but a regular file,
    /// too large to be one of the program's), found without writing anything; nothing when it may be
    /// replaced or is not there. An operation that writes two files asks it of the second before it
    /// writes the first.
    virtual std::optional<Failure> replaceRefusal(std::u16string_view path) const = 0;
    /// Whether a file or folder is at `path`; false for a path the host cannot name.
    bool exists(std::u16string_view path) const { return existingHostPath(path).has_value(); }
    /// The host path of the file or folder at `path`, as hostPath gives it, found with one look-up of
    /// the path; nothing when nothing is there or the host cannot name the path.
    virtual std::optional<std::string> existingHostPath(std::u16string_view path) const = 0;
    /// The host path a Windows-style path stands for (for the picture and the help viewer).
    virtual std::optional<std::string> hostPath(std::u16string_view path) const = 0;
    /// A path as a message names it: the host path it stands for, in this host's own form
    /// ("/home/u/.local/share/orvanta/psw.ini", "C:\\psw.bkp"); the path as given when it stands for none.
    std::u16string shownPath(std::u16string_view path) const
    {
        const auto host = hostPath(path);
        return host ? fromUtf8(*host) : std::u16string(path);
    }

protected:
    /// The one read behind the two above.
    virtual Expected<std::string> read(std::u16string_view path, std::size_t limit) const = 0;
    /// The one write behind the four above.
    virtual WriteOutcome write(std::u16string_view path, std::string_view bytes, const WriteKind& kind) = 0;
};

} // namespace orvanta::host
