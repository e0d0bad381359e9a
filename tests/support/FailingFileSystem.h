#pragma once

// A file layer that fails on command, to show that a failed write leaves the old file.

#include "host/Environment.h"
#ifdef _WIN32
#include "host/windows/HostFileSystem.h"
#else
#include "host/linux/HostFileSystem.h"
#endif
#include "support/WatchedCalls.h"

#include <cerrno>

namespace orvanta::test {

/// The real file layer, made to fail on command: a write can fail at a chosen step (so a test can
/// check that the old file stays as it was), every write or only the n-th one; reads can fail too.
class FailingFileSystem final : public host::FileSystem {
public:
    /// `drives` and `environment` must outlive this object; the Windows file layer finds the Windows
    /// folder in `environment`, as the window does.
    FailingFileSystem(const host::Drives& drives, const host::Environment& environment);

    /// Every write from now on fails at `step` with the errno value `error`.
    void failEveryWrite(WriteStep step, int error = EIO);
    /// Only the n-th write from now on (1 = the next one) fails at `step` with `error`.
    void failWrite(int n, WriteStep step, int error = EIO);
    /// Every read from now on fails with the errno value `error`.
    void failReads(int error = EIO);
    /// Back to the real file layer's behaviour.
    void heal();
    /// How many writes were asked for so far, failed or not.
    int writeCount() const { return m_writes; }

    std::optional<host::Failure> replaceRefusal(std::u16string_view path) const override
    {
        return m_host.replaceRefusal(path);
    }
    std::optional<std::string> existingHostPath(std::u16string_view path) const override
    {
        return m_host.existingHostPath(path);
    }
    std::optional<std::string> hostPath(std::u16string_view path) const override
    {
        return m_host.hostPath(path);
    }

protected:
    host::Expected<std::string> read(std::u16string_view path, std::size_t limit) const override;
    host::WriteOutcome write(std::u16string_view path, std::string_view bytes,
                             const host::WriteKind& kind) override;

private:
    int fault(WriteStep step) const;

    int m_writes = 0;
    int m_failingWrite = 0; // 0: every write, else the number of the failing write
    std::optional<WriteStep> m_failingStep;
    int m_writeError = 0;
    int m_readError = 0;
    host::HostFileSystem m_host;
};

} // namespace orvanta::test
