// The Linux system calls of a write, each asked about first by the test.
#include "support/WatchedCalls.h"

#include "host/ErrorDescription.h"

#include <cerrno>
#include <optional>
#include <utility>

namespace orvanta::test {
namespace {

// `real`, asking `before` first; a refused call fails with errno set and returns -1.
template <class Result, class... Args>
std::function<Result(Args...)> watched(std::function<Result(Args...)> real, std::string_view name,
                                       const std::function<int(std::string_view)>& before)
{
    return [real = std::move(real), name, before](Args... args) -> Result {
        if (const int error = before(name)) {
            errno = error;
            return -1;
        }
        return real(args...);
    };
}

std::optional<WriteStep> stepOf(std::string_view call)
{
    if (call == "mkostemp")
        return WriteStep::Open;
    if (call == "write")
        return WriteStep::Write;
    if (call == "fsync")
        return WriteStep::Sync;
    if (call == "rename")
        return WriteStep::Rename;
    if (call == "flushFolder")
        return WriteStep::SyncFolder;
    return std::nullopt;
}

} // namespace

host::SystemCalls watchedCalls(std::function<int(std::string_view call)> before)
{
    host::SystemCalls calls;
    calls.open = watched(calls.open, "open", before);
    calls.flock = watched(calls.flock, "flock", before);
    calls.mkostemp = watched(calls.mkostemp, "mkostemp", before);
    calls.fchown = watched(calls.fchown, "fchown", before);
    calls.fchmod = watched(calls.fchmod, "fchmod", before);
    calls.write = watched(calls.write, "write", before);
    calls.fsync = watched(calls.fsync, "fsync", before);
    calls.close = watched(calls.close, "close", before);
    calls.rename = watched(calls.rename, "rename", before);
    calls.unlink = watched(calls.unlink, "unlink", before);
    calls.flushFolder = watched(calls.flushFolder, "flushFolder", before);
    return calls;
}

host::SystemCalls failingAt(std::function<int(WriteStep)> fault)
{
    return watchedCalls([fault = std::move(fault)](std::string_view call) {
        const auto step = stepOf(call);
        return step ? fault(*step) : 0;
    });
}

std::u16string writeErrorDescription(int error)
{
    return host::errorDescription(error);
}

} // namespace orvanta::test
