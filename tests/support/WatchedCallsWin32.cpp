// The Windows system calls of a write, each asked about first by the test.
#include "host/windows/SystemErrorDescription.h"
#include "support/WatchedCalls.h"

#include <cerrno>
#include <optional>
#include <utility>
#include <windows.h>

namespace orvanta::test {
namespace {

// `real`, asking `before` first; a refused call fails with the system's last error set and returns
// `failed`.
template <class Result, class... Args>
std::function<Result(Args...)> watched(std::function<Result(Args...)> real, std::string_view name,
                                       Result failed, const std::function<int(std::string_view)>& before)
{
    return [real = std::move(real), name, failed, before](Args... args) -> Result {
        if (const int error = before(name)) {
            SetLastError(static_cast<DWORD>(error));
            return failed;
        }
        return real(args...);
    };
}

// The temporary file is the one file a write creates anew to keep.
std::optional<WriteStep> stepOf(std::string_view call)
{
    if (call == "createFile(CREATE_NEW)")
        return WriteStep::Open;
    if (call == "writeFile")
        return WriteStep::Write;
    if (call == "flushFileBuffers")
        return WriteStep::Sync;
    if (call == "moveFileEx")
        return WriteStep::Rename;
    return std::nullopt;
}

// The system's error worded as the errno value is.
DWORD systemError(int error)
{
    switch (error) {
    case ENOSPC:
        return ERROR_DISK_FULL;
    case EACCES:
        return ERROR_ACCESS_DENIED;
    case EROFS:
        return ERROR_WRITE_PROTECT;
    case EBUSY:
        return ERROR_SHARING_VIOLATION;
    case EXDEV:
        return ERROR_NOT_SAME_DEVICE;
    case ENOENT:
        return ERROR_PATH_NOT_FOUND;
    default:
        return ERROR_IO_DEVICE;
    }
}

} // namespace

host::SystemCalls watchedCalls(std::function<int(std::string_view call)> before)
{
    host::SystemCalls calls;
    calls.createFile = [real = calls.createFile, before](LPCWSTR name, DWORD access, DWORD share,
                                                         LPSECURITY_ATTRIBUTES security, DWORD disposition,
                                                         DWORD flags, HANDLE model) {
        // The lock file is made anew too, but goes on close; the temporary file stays until renamed.
        const bool temporary = disposition == CREATE_NEW && (flags & FILE_FLAG_DELETE_ON_CLOSE) == 0;
        if (const int error = before(temporary ? "createFile(CREATE_NEW)" : "createFile")) {
            SetLastError(static_cast<DWORD>(error));
            return INVALID_HANDLE_VALUE;
        }
        return real(name, access, share, security, disposition, flags, model);
    };
    calls.writeFile = watched(calls.writeFile, "writeFile", FALSE, before);
    calls.flushFileBuffers = watched(calls.flushFileBuffers, "flushFileBuffers", FALSE, before);
    calls.closeHandle = watched(calls.closeHandle, "closeHandle", FALSE, before);
    calls.moveFileEx = watched(calls.moveFileEx, "moveFileEx", FALSE, before);
    calls.deleteFile = watched(calls.deleteFile, "deleteFile", FALSE, before);
    return calls;
}

host::SystemCalls failingAt(std::function<int(WriteStep)> fault)
{
    return watchedCalls([fault = std::move(fault)](std::string_view call) {
        const auto step = stepOf(call);
        const int error = step ? fault(*step) : 0;
        return error == 0 ? 0 : static_cast<int>(systemError(error));
    });
}

std::u16string writeErrorDescription(int error)
{
    return host::systemErrorDescription(systemError(error));
}

} // namespace orvanta::test
