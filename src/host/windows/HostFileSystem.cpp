// HostFileSystem on Windows: paths are Windows paths already. A drive letter's root and the current
// drive's root still come from Drives, which on Windows gives each drive's own "X:\", so the program
// and its tests name files the same way on both hosts.
//
// Files in the Windows folder (%Windir%, as the environment service gives it to the window too) follow
// the user into the VirtualStore, as Windows' file virtualization had them follow the program's earlier,
// 32-bit versions: only an administrator may write to %Windir%, and Windows kept each user's psw.ini in
// %LOCALAPPDATA%\VirtualStore\<Windir without its drive> instead. That copy, where it exists, is the
// file for reading and writing; a write to %Windir% that is refused for lack of permission goes there.
// Where %Windir% can be written and no copy exists, nothing is redirected.
#include "host/windows/HostFileSystem.h"

#include "host/FileAsRead.h"
#include "host/FileRules.h"
#include "host/Utf8.h"
#include "host/windows/CurrentDirectory.h"
#include "host/windows/SystemErrorDescription.h"

#include <atomic>
#include <optional>
#include <thread>
#include <vector>
#include <windows.h>

namespace orvanta::host {
namespace {

constexpr std::u16string_view kPathNotFound = u"パスが見つかりません。";

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

std::string backslashes(std::string path)
{
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string joined(const std::string& folder, std::string_view rest)
{
    while (!rest.empty() && isSeparator(rest.front()))
        rest.remove_prefix(1);
    if (rest.empty())
        return folder;
    if (!folder.empty() && isSeparator(folder.back()))
        return folder + std::string(rest);
    return folder + "\\" + std::string(rest);
}

std::wstring wide(const std::string& hostPath)
{
    const std::u16string text = fromUtf8(hostPath);
    return std::wstring(text.begin(), text.end());
}

std::string workingDirectory()
{
    const auto directory = processWorkingDirectory();
    return directory.empty() ? std::string(".") : toUtf8(directory).value_or(".");
}

// A failure the system reported. A missing file or folder on the way is Failure::Kind::NotFound.
Failure systemFailure(DWORD error)
{
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return Failure{missing ? Failure::Kind::NotFound : Failure::Kind::Other, systemErrorDescription(error)};
}

bool isFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool isThere(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class Handle {
public:
    Handle(HANDLE handle, const SystemCalls& calls) : m_handle(handle), m_calls(&calls) {}
    Handle(Handle&& other) noexcept : m_handle(other.m_handle), m_calls(other.m_calls)
    {
        other.m_handle = INVALID_HANDLE_VALUE;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle()
    {
        if (valid())
            m_calls->closeHandle(m_handle);
    }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }
    // Closes now; false when closing failed.
    bool close()
    {
        const BOOL closed = m_calls->closeHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        return closed != FALSE;
    }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    const SystemCalls* m_calls;
};

// A name for the temporary file beside `name`: ".psw.ini.orvanta-" and six letters and digits, a name
// no other program uses, so that the clean-up of killed writes removes nothing but the program's own.
// The six characters differ from one call to the next and between processes; a name that is taken
// all the same is drawn again by the caller.
std::wstring temporaryName(const std::wstring& folder, const std::wstring& name)
{
    static std::atomic<unsigned long long> counter{0};
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    // splitmix64 over the time, the process and a counter.
    unsigned long long mixed = static_cast<unsigned long long>(now.QuadPart) ^
                               (static_cast<unsigned long long>(GetCurrentProcessId()) << 40) ^
                               (counter++ * 0x9E3779B97F4A7C15ULL);
    mixed = (mixed ^ (mixed >> 30)) * 0xBF58476D1CE4E5B9ULL;
    mixed = (mixed ^ (mixed >> 27)) * 0x94D049BB133111EBULL;
    mixed ^= mixed >> 31;
    constexpr std::wstring_view kAlphabet = L"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    std::wstring unique;
    for (int i = 0; i < 6; ++i) {
        unique += kAlphabet[mixed % kAlphabet.size()];
        mixed /= kAlphabet.size();
    }
    const std::wstring tag = L"." + std::wstring(kTemporaryMark.begin(), kTemporaryMark.end());
    return folder + L"\\." + name + tag + unique;
}

// What an open handle reads from, as the file rules tell files apart: a file on a disk, a pipe, or
// anything else (a console, a printer port), which like a device may never end.
FileKind handleKind(HANDLE file)
{
    switch (GetFileType(file)) {
    case FILE_TYPE_DISK:
        return FileKind::Regular;
    case FILE_TYPE_PIPE:
        return FileKind::Pipe;
    default:
        return FileKind::Device;
    }
}

// The whole of a file on a disk of at most `limit` bytes; a folder, a pipe, a device or a larger file
// is refused (as fileRefusal decides for both hosts) before a byte is read.
Expected<std::string> readDiskFile(const std::wstring& name, std::size_t limit, const SystemCalls& calls)
{
    if (isFolder(name))
        return *fileRefusal(FileKind::Folder, 0);
    const Handle file(calls.createFile(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                      calls);
    if (!file.valid())
        return systemFailure(GetLastError());
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        size.QuadPart = 0;
    if (auto refused = fileRefusal(handleKind(file.get()), static_cast<std::uintmax_t>(size.QuadPart), limit))
        return std::move(*refused);
    std::string bytes;
    std::vector<char> buffer(65536);
    while (true) {
        DWORD count = 0;
        if (!ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &count, nullptr))
            return systemFailure(GetLastError());
        if (count == 0)
            return bytes;
        bytes.append(buffer.data(), count);
        if (bytes.size() > limit)
            return Failure{Failure::Kind::Other, tooLargeDescription(limit)};
    }
}

// What stands under a name that only the program makes, when it is not a regular file: a link or
// another reparse point (never followed here), or a folder. Nothing for a regular file or nothing.
std::optional<FileKind> oddKind(DWORD attributes)
{
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return FileKind::Link;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return FileKind::Folder;
    return std::nullopt;
}

// The lock file as its handle sees it: a link opened as itself, a pipe or a device is not a lock.
std::optional<FileKind> oddKind(HANDLE file)
{
    switch (GetFileType(file)) {
    case FILE_TYPE_DISK:
        break;
    case FILE_TYPE_PIPE:
        return FileKind::Pipe;
    case FILE_TYPE_CHAR:
        return FileKind::Device;
    default:
        return FileKind::Other;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(file, &information))
        return std::nullopt;
    return oddKind(information.dwFileAttributes);
}

// The folder's lock: a file beside the program's files that only one writer can have open, and that
// goes when it is closed (also when the program is killed). Another writer waits at most `wait`.
// Anything else under its name (a link, a folder, a pipe) was put there by someone else: it is neither
// followed, used nor removed, and the write fails naming it. `denied`: refused for lack of permission.
Expected<Handle> lockFolder(const std::wstring& folder, std::chrono::milliseconds wait,
                            const SystemCalls& calls, bool& denied)
{
    const std::wstring name = folder + L"\\.orvanta.lock";
    const auto refused = [](FileKind kind) {
        return Failure{Failure::Kind::Other, lockFileDescription(kind)};
    };
    const auto deadline = std::chrono::steady_clock::now() + wait;
    int vanished = 0; // how often in a row the name was taken but nothing could be opened under it
    while (true) {
        if (const auto odd = oddKind(GetFileAttributesW(name.c_str())))
            return refused(*odd);
        // A file made anew is the program's own, and goes on close. Whatever stood under the name
        // makes this fail rather than be followed (Wine would create the file a link to nothing points
        // to).
        Handle lock(calls.createFile(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr),
                    calls);
        if (lock.valid())
            return lock;
        DWORD error = GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
            // Another writer's lock, one that a power failure left, or something placed there: opened
            // as itself, not followed. A file there serves as the lock and stays: Wine shows a link to
            // a file as that file, and removing it would remove the link.
            Handle there(calls.createFile(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr),
                         calls);
            if (there.valid()) {
                if (const auto odd = oddKind(there.get()))
                    return refused(*odd);
                return there;
            }
            error = GetLastError();
            // Under Wine a link to nothing takes the name but cannot be opened; a writer that removed
            // its lock in between does not do so three times in a row.
            vanished = error == ERROR_FILE_NOT_FOUND ? vanished + 1 : 0;
            if (vanished >= 3)
                return refused(FileKind::Link);
        } else {
            vanished = 0;
        }
        // Another writer has it open, or has just closed it and the system is still removing it. A
        // refusal while no lock file stands there is the folder's own: no write can go there.
        const bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_FILE_NOT_FOUND ||
                          (error == ERROR_ACCESS_DENIED && isThere(name));
        if (!held) {
            denied = error == ERROR_ACCESS_DENIED;
            return systemFailure(error);
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return Failure{Failure::Kind::Other, busyDescription()};
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// Removes the temporary files of writes that were killed before they could finish: they may hold
// every password in plain text.
void removeLeftovers(const std::wstring& folder, const SystemCalls& calls)
{
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder + L"\\.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0)
            continue;
        const std::wstring name(found.cFileName);
        const auto utf8 = toUtf8(std::u16string(name.begin(), name.end()));
        if (utf8 && isLeftoverName(*utf8))
            calls.deleteFile((folder + L"\\" + name).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// A variable of the environment the window reads too, as a host path; nothing when it is not set, is
// empty or cannot be read.
std::optional<std::wstring> environmentValue(const Environment& environment, std::u16string_view name)
{
    const auto value = environment.variable(name);
    if (!value || value->empty() || environment.unreadable(name))
        return std::nullopt;
    return std::wstring(value->begin(), value->end());
}

// The path made whole: "c:/windows/./psw.ini" is "c:\windows\psw.ini".
std::wstring fullPath(const std::wstring& path)
{
    std::vector<wchar_t> buffer(MAX_PATH);
    while (true) {
        const DWORD length =
            GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
        if (length == 0)
            return path;
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(length);
    }
}

bool sameText(std::wstring_view a, std::wstring_view b)
{
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

// Where Windows' file virtualization keeps a user's copy of a file in the Windows folder:
// %LOCALAPPDATA%\VirtualStore followed by the file's path without its drive ("C:\Windows\psw.ini" ->
// "...\VirtualStore\Windows\psw.ini"). Nothing for a file elsewhere, or while Windir or LOCALAPPDATA
// is not set. Both come from the window's own environment, so the two agree on where psw.ini lives.
std::optional<std::wstring> virtualStoreCopy(const Environment& environment, const std::wstring& file)
{
    const auto windir = environmentValue(environment, u"Windir");
    const auto local = environmentValue(environment, u"LOCALAPPDATA");
    if (!windir || !local)
        return std::nullopt;
    const std::wstring path = fullPath(file);
    std::wstring folder = fullPath(*windir);
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/'))
        folder.pop_back();
    const bool inside = folder.size() > 2 && path.size() > folder.size() + 1 &&
                        path[folder.size()] == L'\\' &&
                        sameText(std::wstring_view(path).substr(0, folder.size()), folder);
    if (!inside || path[1] != L':')
        return std::nullopt;
    std::wstring store = fullPath(*local);
    if (!store.empty() && store.back() != L'\\')
        store += L'\\';
    return store + L"VirtualStore" + path.substr(2);
}

// Creates the folder and every folder above it that is missing; false with the system's error set when
// one cannot be made.
bool createFolders(const std::wstring& folder)
{
    if (folder.empty() || isFolder(folder))
        return true;
    const std::size_t separator = folder.find_last_of(L"\\/");
    if (separator != std::wstring::npos && separator > 2 && !createFolders(folder.substr(0, separator)))
        return false;
    return CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::wstring folderOf(const std::wstring& file)
{
    const std::size_t separator = file.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring(L".") : file.substr(0, separator);
}

// A failure at the VirtualStore copy says that it is that copy: the path the program names lies in
// %Windir%, where the user would not find it. The copy's place follows from the name (the README and
// the help give it), so the message keeps to a word the user can look up.
Failure located(Failure failure)
{
    if (failure.kind != Failure::Kind::Changed)
        failure.description += kVirtualStoreNote;
    return failure;
}

// The host path a Windows-style path names, before any VirtualStore copy takes its place.
std::optional<std::string> plainHostPath(const Drives& drives, std::u16string_view path)
{
    const auto utf8 = toUtf8(path);
    if (!utf8 || utf8->empty())
        return std::nullopt;
    const std::string text = backslashes(*utf8);
    if (text.size() >= 2 && isLetter(text[0]) && text[1] == ':') {
        const auto root = drives.root(text[0]);
        if (!root)
            return std::nullopt;
        return joined(*root, text.substr(2));
    }
    if (text.starts_with("\\\\"))
        return text; // a network share
    if (text.front() == '\\')
        return joined(drives.currentDriveRoot(), text.substr(1));
    return joined(workingDirectory(), text);
}

// The file a read finds: the VirtualStore copy where there is one, else the file itself.
struct Resolved {
    std::wstring file;
    bool isCopy = false;
};

std::optional<Resolved> resolve(const Drives& drives, const Environment& environment,
                                std::u16string_view path)
{
    const auto host = plainHostPath(drives, path);
    if (!host)
        return std::nullopt;
    std::wstring file = wide(*host);
    if (auto copy = virtualStoreCopy(environment, file); copy && isThere(*copy))
        return Resolved{std::move(*copy), true};
    return Resolved{std::move(file), false};
}

// Why the user's file at `file` may not be replaced: what fileRefusal refuses on both hosts (a folder,
// a file larger than any the program writes: it is not one of its files, and could not be read back),
// and a read-only file.
std::optional<Failure> replaceRefusalOf(const std::wstring& file)
{
    WIN32_FILE_ATTRIBUTE_DATA there{};
    if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &there))
        return std::nullopt;
    const bool folder = (there.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const auto size = (static_cast<std::uintmax_t>(there.nFileSizeHigh) << 32) | there.nFileSizeLow;
    if (auto refused = fileRefusal(folder ? FileKind::Folder : FileKind::Regular, size))
        return refused;
    // Windows refuses to replace a read-only file; Wine renames over it all the same. A file the user
    // made read-only stays as it is on both.
    if ((there.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0)
        return Failure{Failure::Kind::Other, readOnlyDescription()};
    return std::nullopt;
}

} // namespace

SystemCalls::SystemCalls()
    : createFile(CreateFileW), writeFile(WriteFile), flushFileBuffers(FlushFileBuffers),
      closeHandle(CloseHandle), moveFileEx(MoveFileExW), deleteFile(DeleteFileW)
{
}

HostFileSystem::HostFileSystem(const Drives& drives, const Environment& environment, SystemCalls calls,
                               std::chrono::milliseconds lockWait)
    : m_drives(drives), m_environment(environment), m_calls(std::move(calls)), m_lockWait(lockWait)
{
}

std::optional<std::string> HostFileSystem::hostPath(std::u16string_view path) const
{
    const auto found = resolve(m_drives, m_environment, path);
    if (!found)
        return std::nullopt;
    return toUtf8(std::u16string(found->file.begin(), found->file.end()));
}

Expected<std::string> HostFileSystem::read(std::u16string_view path, std::size_t limit) const
{
    const auto found = resolve(m_drives, m_environment, path);
    if (!found)
        return Failure{Failure::Kind::NotFound, std::u16string(kPathNotFound)};
    auto bytes = readDiskFile(found->file, limit, m_calls);
    if (!bytes && found->isCopy)
        return located(bytes.failure());
    return bytes;
}

// One write of one file, step by step: lock the folder, check the file there, create the temporary
// file, write and flush the bytes, rename. `before` is the file whose bytes the check compares while
// the file is not there yet.
class HostFileSystem::Writing {
public:
    Writing(const HostFileSystem& files, std::wstring file, std::wstring before)
        : m_calls(files.m_calls), m_lockWait(files.m_lockWait), m_file(std::move(file)),
          m_before(std::move(before))
    {
    }

    WriteOutcome run(std::string_view bytes, const WriteKind& kind)
    {
        const std::wstring folder = folderOf(m_file);
        // The folder's lock is held from the check to the rename: another copy of the program writing
        // here waits, and then checks against the file this write leaves.
        const auto lock = lockFolder(folder, m_lockWait, m_calls, m_refused);
        if (!lock)
            return lock.failure();
        removeLeftovers(folder, m_calls);
        const auto* users = std::get_if<UsersFile>(&kind);
        if (auto refusal = users ? checked(users->asRead) : checkedOwnName())
            return std::move(*refusal);
        // The new bytes go to a temporary file beside the target and take its name only once they are
        // all on the disk: a failure at any step leaves the old file exactly as it was.
        if (auto failure = created(folder))
            return std::move(*failure);
        if (auto failure = writtenAndFlushed(bytes))
            return removed(std::move(*failure));
        if (auto failure = renamed(users == nullptr))
            return removed(std::move(*failure));
        return {};
    }

    /// Whether the system refused the write for lack of permission.
    bool refused() const { return m_refused; }

private:
    // The file there may be replaced, and still holds what the program read.
    std::optional<Failure> checked(const FileContents* asRead) const
    {
        if (auto refusal = replaceRefusalOf(m_file))
            return refusal;
        if (asRead == nullptr)
            return std::nullopt;
        // A VirtualStore copy that is not there yet stands for the file it is to replace.
        auto now = readDiskFile(m_file, kMaxFileSize, m_calls);
        if (!now && now.failure().kind == Failure::Kind::NotFound && m_before != m_file)
            now = readDiskFile(m_before, kMaxFileSize, m_calls);
        const auto current = FileAsRead::of(now);
        if (!current.readable())
            return now.failure();
        if (current.contents() != *asRead)
            return Failure{Failure::Kind::Changed, changedDescription()};
        return std::nullopt;
    }

    // A file of the program's own replaces whatever stands under its name, a link included, which the
    // rename replaces rather than follows; only a folder cannot be replaced.
    std::optional<Failure> checkedOwnName() const
    {
        if (oddKind(GetFileAttributesW(m_file.c_str())) == FileKind::Folder)
            return kindRefusal(FileKind::Folder);
        return std::nullopt;
    }

    std::optional<Failure> created(const std::wstring& folder)
    {
        const std::wstring name = m_file.substr(m_file.find_last_of(L"\\/") + 1);
        HANDLE created = INVALID_HANDLE_VALUE;
        for (int attempt = 0; attempt < 100 && created == INVALID_HANDLE_VALUE; ++attempt) {
            m_temporary = temporaryName(folder, name);
            created = m_calls.createFile(m_temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                         FILE_ATTRIBUTE_NORMAL, nullptr);
            if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
                break;
        }
        if (created == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            m_refused = error == ERROR_ACCESS_DENIED;
            return systemFailure(error);
        }
        m_handle.emplace(created, m_calls);
        return std::nullopt;
    }

    std::optional<Failure> writtenAndFlushed(std::string_view rest)
    {
        while (!rest.empty()) {
            const DWORD chunk = rest.size() > (1U << 30) ? (1U << 30) : static_cast<DWORD>(rest.size());
            DWORD written = 0;
            if (!m_calls.writeFile(m_handle->get(), rest.data(), chunk, &written, nullptr))
                return systemFailure(GetLastError());
            if (written == 0)
                return systemFailure(ERROR_WRITE_FAULT);
            rest.remove_prefix(written);
        }
        if (!m_calls.flushFileBuffers(m_handle->get()))
            return systemFailure(GetLastError());
        if (!m_handle->close())
            return systemFailure(GetLastError());
        return std::nullopt;
    }

    // The rename itself goes to the disk before MoveFileExW returns, so there is no folder to flush
    // afterwards as on Linux. A file of the program's own is replaced whatever its attributes: Windows
    // does not rename over a read-only file.
    std::optional<Failure> renamed(bool ownFile)
    {
        if (const DWORD attributes = GetFileAttributesW(m_file.c_str());
            ownFile && attributes != INVALID_FILE_ATTRIBUTES && !oddKind(attributes) &&
            (attributes & FILE_ATTRIBUTE_READONLY) != 0)
            SetFileAttributesW(m_file.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
        if (!m_calls.moveFileEx(m_temporary.c_str(), m_file.c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            const DWORD error = GetLastError();
            m_refused = error == ERROR_ACCESS_DENIED;
            return systemFailure(error);
        }
        return std::nullopt;
    }

    // The temporary file goes again after a failure.
    Failure removed(Failure failure)
    {
        if (m_handle && m_handle->valid())
            m_handle->close();
        m_calls.deleteFile(m_temporary.c_str());
        return failure;
    }

    const SystemCalls& m_calls;
    std::chrono::milliseconds m_lockWait;
    std::wstring m_file;
    std::wstring m_before;
    std::wstring m_temporary;
    std::optional<Handle> m_handle; // the temporary file, once created
    bool m_refused = false;
};

// Windows files have no permission bits of their own to copy from OwnFile's `like`. A link under the
// name is replaced, not followed, for every kind of write: MoveFileExW renames over the link itself.
WriteOutcome HostFileSystem::write(std::u16string_view path, std::string_view bytes, const WriteKind& kind)
{
    const auto host = plainHostPath(m_drives, path);
    if (!host)
        return Failure{Failure::Kind::NotFound, std::u16string(kPathNotFound)};
    // A file the program could not read back is not written either.
    if (bytes.size() > kMaxFileSize)
        return Failure{Failure::Kind::Other, tooLargeDescription()};
    const std::wstring target = wide(*host);
    const auto copy = virtualStoreCopy(m_environment, target);
    if (copy && isThere(*copy)) {
        const auto outcome = Writing(*this, *copy, *copy).run(bytes, kind);
        return outcome.ok() ? outcome : WriteOutcome(located(outcome.failure()));
    }
    Writing there(*this, target, target);
    const auto outcome = there.run(bytes, kind);
    if (outcome.ok() || !copy || !there.refused())
        return outcome;
    // Only an administrator may write to %Windir%: the rows go to the user's copy, which every read
    // finds from now on.
    if (!createFolders(folderOf(*copy)))
        return located(systemFailure(GetLastError()));
    const auto copied = Writing(*this, *copy, target).run(bytes, kind);
    return copied.ok() ? copied : WriteOutcome(located(copied.failure()));
}

std::optional<Failure> HostFileSystem::replaceRefusal(std::u16string_view path) const
{
    const auto found = resolve(m_drives, m_environment, path);
    if (!found)
        return Failure{Failure::Kind::NotFound, std::u16string(kPathNotFound)};
    if (auto refusal = replaceRefusalOf(found->file))
        return found->isCopy ? located(std::move(*refusal)) : std::move(*refusal);
    return std::nullopt;
}

std::optional<std::string> HostFileSystem::existingHostPath(std::u16string_view path) const
{
    const auto found = resolve(m_drives, m_environment, path);
    if (!found || !isThere(found->file))
        return std::nullopt;
    return toUtf8(std::u16string(found->file.begin(), found->file.end()));
}

} // namespace orvanta::host
