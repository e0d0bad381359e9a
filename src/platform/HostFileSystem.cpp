#include "HostFileSystem.h"

#include "ErrorDescription.h"
#include "Utf8.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace orvanta::platform {
namespace {

constexpr std::u16string_view kPathNotFound = u"パスが見つかりません。";

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string slashes(std::string path)
{
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    return path;
}

std::string joined(const std::string& folder, std::string_view rest)
{
    while (!rest.empty() && rest.front() == '/') {
        rest.remove_prefix(1);
    }
    if (rest.empty()) {
        return folder;
    }
    if (!folder.empty() && folder.back() == '/') {
        return folder + std::string(rest);
    }
    return folder + "/" + std::string(rest);
}

Failure failure(int error)
{
    return Failure{error == ENOENT ? Failure::Kind::NotFound : Failure::Kind::Other, errorDescription(error)};
}

// A missing folder on the way to a file being written is a path that is not there.
Failure writeFailure(int error)
{
    if (error == ENOENT) {
        return Failure{Failure::Kind::NotFound, std::u16string(kPathNotFound)};
    }
    return failure(error);
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    int get() const { return m_fd; }
    // Closes now and reports the error close reports (a delayed write error on some file systems).
    int close()
    {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int m_fd = -1;
};

} // namespace

HostFileSystem::HostFileSystem(const Drives& drives, FaultHook faultHook)
    : m_drives(drives), m_faultHook(std::move(faultHook))
{
}

int HostFileSystem::fault(WriteStep step) const
{
    return m_faultHook ? m_faultHook(step) : 0;
}

std::optional<std::string> HostFileSystem::hostPath(std::u16string_view path) const
{
    const auto utf8 = toUtf8(path);
    if (!utf8 || utf8->empty()) {
        return std::nullopt;
    }
    const std::string& text = *utf8;
    if (text.front() == '/') {
        return slashes(text);
    }
    if (text.size() >= 2 && isLetter(text[0]) && text[1] == ':') {
        const auto root = m_drives.root(text[0]);
        if (!root) {
            return std::nullopt;
        }
        return joined(*root, slashes(text.substr(2)));
    }
    if (text.front() == '\\') {
        // "\\server\share" names a network share, which this host does not reach.
        if (text.size() >= 2 && (text[1] == '\\' || text[1] == '/')) {
            return std::nullopt;
        }
        return joined(m_drives.currentDriveRoot(), slashes(text.substr(1)));
    }
    std::vector<char> buffer(PATH_MAX);
    if (getcwd(buffer.data(), buffer.size()) == nullptr) {
        return slashes(text);
    }
    return joined(buffer.data(), slashes(text));
}

Expected<std::string> HostFileSystem::readFile(std::u16string_view path) const
{
    const auto host = hostPath(path);
    if (!host) {
        return Failure{Failure::Kind::NotFound, std::u16string(kPathNotFound)};
    }
    const Descriptor file(open(host->c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        return failure(errno);
    }
    struct stat status {};
    if (fstat(file.get(), &status) != 0) {
        return failure(errno);
    }
    if (S_ISDIR(status.st_mode)) {
        return failure(EISDIR);
    }
    std::string bytes;
    std::array<char, 65536> buffer{};
    while (true) {
        const ssize_t count = read(file.get(), buffer.data(), buffer.size());
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return failure(errno);
        }
        if (count == 0) {
            return bytes;
        }
        bytes.append(buffer.data(), static_cast<std::size_t>(count));
    }
}

std::optional<Failure> HostFileSystem::writeFile(std::u16string_view path, std::string_view bytes)
{
    auto target = hostPath(path);
    if (!target) {
        return Failure{Failure::Kind::NotFound, std::u16string(kPathNotFound)};
    }
    // A link is followed, so the file it points to gets the new bytes and the link stays a link.
    struct stat status {};
    if (lstat(target->c_str(), &status) == 0 && S_ISLNK(status.st_mode)) {
        if (char* resolved = realpath(target->c_str(), nullptr)) {
            *target = resolved;
            std::free(resolved);
        }
    }
    mode_t mode = 0600;
    if (stat(target->c_str(), &status) == 0) {
        if (S_ISDIR(status.st_mode)) {
            return failure(EISDIR);
        }
        mode = status.st_mode & 07777;
    }

    const std::size_t slash = target->rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".")
                               : slash == 0               ? std::string("/")
                                                          : target->substr(0, slash);
    const std::string name = slash == std::string::npos ? *target : target->substr(slash + 1);

    // The new bytes go to a temporary file beside the target and take its name only once they are
    // all on the disk: a failure at any step leaves the old file exactly as it was.
    std::string temporary = joined(folder, "." + name + ".XXXXXX");
    if (const int error = fault(WriteStep::Open)) {
        return writeFailure(error);
    }
    Descriptor file(mkostemp(temporary.data(), O_CLOEXEC));
    if (file.get() < 0) {
        return writeFailure(errno);
    }
    const auto fail = [&](int error) {
        unlink(temporary.c_str());
        return writeFailure(error);
    };
    if (fchmod(file.get(), mode) != 0) {
        return fail(errno);
    }

    if (const int error = fault(WriteStep::Write)) {
        return fail(error);
    }
    while (!bytes.empty()) {
        const ssize_t count = write(file.get(), bytes.data(), bytes.size());
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return fail(errno);
        }
        if (count == 0) {
            return fail(EIO);
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }

    if (const int error = fault(WriteStep::Sync)) {
        return fail(error);
    }
    if (fsync(file.get()) != 0) {
        return fail(errno);
    }
    if (const int error = file.close()) {
        return fail(error);
    }

    if (const int error = fault(WriteStep::Rename)) {
        return fail(error);
    }
    if (rename(temporary.c_str(), target->c_str()) != 0) {
        return fail(errno);
    }

    // Make the new name itself durable. The file is already complete under its name, so a folder
    // that cannot be flushed (some file systems refuse) is no reason to report the write as failed.
    const Descriptor directory(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() >= 0) {
        fsync(directory.get());
    }
    return std::nullopt;
}

bool HostFileSystem::exists(std::u16string_view path) const
{
    const auto host = hostPath(path);
    struct stat status {};
    return host && stat(host->c_str(), &status) == 0;
}

} // namespace orvanta::platform
