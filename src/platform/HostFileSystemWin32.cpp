// HostFileSystem on Windows: paths are Windows paths already. A drive letter's root and the current
// drive's root still come from Drives, which on Windows gives each drive's own "X:\", so the program
// and its tests name files the same way on both hosts.
#include "CurrentDirectoryWin32.h"
#include "ErrorDescription.h"
#include "ErrorDescriptionWin32.h"
#include "FileRules.h"
#include "HostFileSystem.h"
#include "Utf8.h"

#include <atomic>
#include <cerrno>
#include <thread>
#include <vector>
#include <windows.h>

namespace orvanta::platform {
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
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

std::string joined(const std::string& folder, std::string_view rest)
{
    while (!rest.empty() && isSeparator(rest.front())) {
        rest.remove_prefix(1);
    }
    if (rest.empty()) {
        return folder;
    }
    if (!folder.empty() && isSeparator(folder.back())) {
        return folder + std::string(rest);
    }
    return folder + "\\" + std::string(rest);
}

std::wstring wide(const std::string& hostPath)
{
    const std::u16string text = fromUtf8(hostPath);
    return std::wstring(text.begin(), text.end());
}

std::string workingDirectory()
{
    const auto directory = currentDirectoryWin32();
    return directory.empty() ? std::string(".") : toUtf8(directory).value_or(".");
}

// A failure the system reported. A missing file or folder on the way is Failure::Kind::NotFound.
Failure systemFailure(DWORD error)
{
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return Failure{missing ? Failure::Kind::NotFound : Failure::Kind::Other, systemErrorDescription(error)};
}

// A failure the fault hook asked for, worded as on every host.
Failure hookFailure(int error)
{
    if (error == ENOENT) {
        return Failure{Failure::Kind::NotFound, std::u16string(kPathNotFound)};
    }
    return Failure{Failure::Kind::Other, errorDescription(error)};
}

bool isFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

class Handle {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    Handle(Handle&& other) noexcept : m_handle(other.m_handle) { other.m_handle = INVALID_HANDLE_VALUE; }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle()
    {
        if (valid()) {
            CloseHandle(m_handle);
        }
    }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }
    // Closes now; false when closing failed.
    bool close()
    {
        const BOOL closed = CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        return closed != FALSE;
    }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};

// A name for the temporary file no other write of this or another process is using right now.
std::wstring temporaryName(const std::wstring& folder, const std::wstring& name)
{
    static std::atomic<unsigned> counter{0};
    const unsigned long long stamp =
        GetTickCount64() ^ (static_cast<unsigned long long>(GetCurrentProcessId()) << 32);
    const std::string suffix = std::to_string(stamp) + "-" + std::to_string(counter++);
    return folder + L"\\." + name + L"." + std::wstring(suffix.begin(), suffix.end()) + L".tmp";
}

// The whole of a file on a disk of at most kMaxFileSize bytes; a pipe, a device or a larger file is
// refused before a byte is read.
Expected<std::string> readDiskFile(const std::wstring& name)
{
    if (isFolder(name)) {
        return Failure{Failure::Kind::Other, errorDescription(EISDIR)};
    }
    const Handle file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return systemFailure(GetLastError());
    }
    const DWORD type = GetFileType(file.get());
    if (type != FILE_TYPE_DISK) {
        return Failure{Failure::Kind::Other,
                       oddFileDescription(type == FILE_TYPE_PIPE ? OddFile::Pipe : OddFile::Device)};
    }
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.get(), &size) && static_cast<unsigned long long>(size.QuadPart) > kMaxFileSize) {
        return Failure{Failure::Kind::Other, tooLargeDescription()};
    }
    std::string bytes;
    std::vector<char> buffer(65536);
    while (true) {
        DWORD count = 0;
        if (!ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &count, nullptr)) {
            return systemFailure(GetLastError());
        }
        if (count == 0) {
            return bytes;
        }
        bytes.append(buffer.data(), count);
        if (bytes.size() > kMaxFileSize) {
            return Failure{Failure::Kind::Other, tooLargeDescription()};
        }
    }
}

// The folder's lock: a file beside the program's files that only one writer can have open, and that
// goes when it is closed (also when the program is killed). Another writer waits at most `wait`.
Handle lockFolder(const std::wstring& folder, std::chrono::milliseconds wait)
{
    const std::wstring name = folder + L"\\.orvanta.lock";
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (true) {
        HANDLE lock = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (lock != INVALID_HANDLE_VALUE) {
            return Handle(lock);
        }
        const DWORD error = GetLastError();
        // Another writer has it open, or has just closed it and the system is still removing it. A
        // refusal while no lock file stands there is the folder's own: no write can go there.
        const bool held =
            error == ERROR_SHARING_VIOLATION ||
            (error == ERROR_ACCESS_DENIED && GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES);
        if (!held) {
            SetLastError(error);
            return Handle(INVALID_HANDLE_VALUE);
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            SetLastError(ERROR_SHARING_VIOLATION);
            return Handle(INVALID_HANDLE_VALUE);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// Removes the temporary files of writes that were killed before they could finish: they may hold
// every password in plain text.
void removeLeftovers(const std::wstring& folder, const std::function<void()>& beforeEach)
{
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder + L"\\.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
            continue;
        }
        const std::wstring name(found.cFileName);
        const auto utf8 = toUtf8(std::u16string(name.begin(), name.end()));
        if (utf8 && isLeftoverName(*utf8)) {
            beforeEach();
            DeleteFileW((folder + L"\\" + name).c_str());
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

} // namespace

std::optional<std::string> HostFileSystem::hostPath(std::u16string_view path) const
{
    const auto utf8 = toUtf8(path);
    if (!utf8 || utf8->empty()) {
        return std::nullopt;
    }
    const std::string text = backslashes(*utf8);
    if (text.size() >= 2 && isLetter(text[0]) && text[1] == ':') {
        const auto root = m_drives.root(text[0]);
        if (!root) {
            return std::nullopt;
        }
        return joined(*root, text.substr(2));
    }
    if (text.starts_with("\\\\")) {
        return text; // a network share
    }
    if (text.front() == '\\') {
        return joined(m_drives.currentDriveRoot(), text.substr(1));
    }
    return joined(workingDirectory(), text);
}

Expected<std::string> HostFileSystem::readFile(std::u16string_view path) const
{
    const auto host = hostPath(path);
    if (!host) {
        return Failure{Failure::Kind::NotFound, std::u16string(kPathNotFound)};
    }
    return readDiskFile(wide(*host));
}

// Windows files have no permission bits of their own to copy from `like`.
WriteOutcome HostFileSystem::write(std::u16string_view path, std::string_view bytes,
                                   const FileContents* asRead, std::u16string_view /*like*/)
{
    const auto target = hostPath(path);
    if (!target) {
        return Failure{Failure::Kind::NotFound, std::u16string(kPathNotFound)};
    }
    // A file the program could not read back is not written either.
    if (bytes.size() > kMaxFileSize) {
        return Failure{Failure::Kind::Other, tooLargeDescription()};
    }
    const std::wstring targetName = wide(*target);
    const std::size_t separator = targetName.find_last_of(L"\\/");
    const std::wstring folder =
        separator == std::wstring::npos ? std::wstring(L".") : targetName.substr(0, separator);
    const std::wstring name = separator == std::wstring::npos ? targetName : targetName.substr(separator + 1);

    // The folder's lock is held from the check to the rename: another copy of the program writing
    // here waits, and then checks against the file this write leaves.
    trace(FileOperation::Lock);
    const Handle lock = lockFolder(folder, m_hooks.lockWait);
    if (!lock.valid()) {
        const DWORD error = GetLastError();
        return error == ERROR_SHARING_VIOLATION ? Failure{Failure::Kind::Other, busyDescription()}
                                                : systemFailure(error);
    }
    struct Unlocked {
        const HostFileSystem& files;
        ~Unlocked() { files.trace(FileOperation::Unlock); }
    } unlocked{*this};
    removeLeftovers(folder, [this] { trace(FileOperation::RemoveLeftover); });

    if (isFolder(targetName)) {
        return Failure{Failure::Kind::Other, errorDescription(EISDIR)};
    }
    // Windows refuses to replace a read-only file; Wine renames over it all the same. A file the user
    // made read-only stays as it is on both.
    if (const DWORD attributes = GetFileAttributesW(targetName.c_str());
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return Failure{Failure::Kind::Other, readOnlyDescription()};
    }
    if (asRead != nullptr) {
        trace(FileOperation::Check);
        const auto now = readDiskFile(targetName);
        if (!now && now.failure().kind != Failure::Kind::NotFound) {
            return now.failure();
        }
        const FileContents current = now ? FileContents(now.value()) : std::nullopt;
        if (current != *asRead) {
            return Failure{Failure::Kind::Changed, changedDescription()};
        }
    }

    // The new bytes go to a temporary file beside the target and take its name only once they are
    // all on the disk: a failure at any step leaves the old file exactly as it was.
    if (const int error = fault(WriteStep::Open)) {
        return hookFailure(error);
    }
    std::wstring temporary;
    HANDLE created = INVALID_HANDLE_VALUE;
    trace(FileOperation::CreateExclusive);
    for (int attempt = 0; attempt < 100 && created == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = temporaryName(folder, name);
        created = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
        if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) {
            break;
        }
    }
    if (created == INVALID_HANDLE_VALUE) {
        return systemFailure(GetLastError());
    }
    Handle file(created);
    const auto fail = [&](Failure failure) {
        if (file.valid()) {
            file.close();
        }
        DeleteFileW(temporary.c_str());
        return failure;
    };

    if (const int error = fault(WriteStep::Write)) {
        return fail(hookFailure(error));
    }
    while (!bytes.empty()) {
        trace(FileOperation::Write);
        const DWORD chunk = bytes.size() > (1U << 30) ? (1U << 30) : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data(), chunk, &written, nullptr)) {
            return fail(systemFailure(GetLastError()));
        }
        if (written == 0) {
            return fail(systemFailure(ERROR_WRITE_FAULT));
        }
        bytes.remove_prefix(written);
    }

    if (const int error = fault(WriteStep::Sync)) {
        return fail(hookFailure(error));
    }
    if (!leftOut(FileOperation::SyncFile)) {
        trace(FileOperation::SyncFile);
        if (!FlushFileBuffers(file.get())) {
            return fail(systemFailure(GetLastError()));
        }
    }
    trace(FileOperation::Close);
    if (!file.close()) {
        return fail(systemFailure(GetLastError()));
    }

    if (const int error = fault(WriteStep::Rename)) {
        return fail(hookFailure(error));
    }
    // The rename itself goes to the disk before MoveFileExW returns, so there is no folder to flush
    // afterwards as on Linux.
    trace(FileOperation::Rename);
    if (!MoveFileExW(temporary.c_str(), targetName.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return fail(systemFailure(GetLastError()));
    }
    if (const int error = fault(WriteStep::SyncFolder)) {
        return WriteOutcome::writtenUnsynced(hookFailure(error));
    }
    return {};
}

bool HostFileSystem::exists(std::u16string_view path) const
{
    const auto host = hostPath(path);
    return host && GetFileAttributesW(wide(*host).c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace orvanta::platform
