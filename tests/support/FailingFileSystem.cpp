// The real file layer, failing where a test says.
#include "support/FailingFileSystem.h"

#include "host/ErrorDescription.h"

#include <cerrno>

namespace orvanta::test {

#ifdef _WIN32
FailingFileSystem::FailingFileSystem(const host::Drives& drives, const host::Environment& environment)
    : m_host(drives, environment, failingAt([this](WriteStep step) { return fault(step); }))
{
}
#else
FailingFileSystem::FailingFileSystem(const host::Drives& drives, const host::Environment&)
    : m_host(drives, failingAt([this](WriteStep step) { return fault(step); }))
{
}
#endif

void FailingFileSystem::failEveryWrite(WriteStep step, int error)
{
    m_failingWrite = 0;
    m_failingStep = step;
    m_writeError = error;
}

void FailingFileSystem::failWrite(int n, WriteStep step, int error)
{
    m_failingWrite = m_writes + n;
    m_failingStep = step;
    m_writeError = error;
}

void FailingFileSystem::failReads(int error)
{
    m_readError = error;
}

void FailingFileSystem::heal()
{
    m_failingStep.reset();
    m_readError = 0;
}

int FailingFileSystem::fault(WriteStep step) const
{
    if (!m_failingStep || *m_failingStep != step) {
        return 0;
    }
    return m_failingWrite == 0 || m_failingWrite == m_writes ? m_writeError : 0;
}

host::Expected<std::string> FailingFileSystem::read(std::u16string_view path, std::size_t limit) const
{
    if (m_readError != 0) {
        return host::Failure{m_readError == ENOENT ? host::Failure::Kind::NotFound
                                                   : host::Failure::Kind::Other,
                             host::errorDescription(m_readError)};
    }
    return m_host.readFile(path, limit);
}

host::WriteOutcome FailingFileSystem::write(std::u16string_view path, std::string_view bytes,
                                            const host::WriteKind& kind)
{
    ++m_writes;
    return m_host.write(path, bytes, kind);
}

} // namespace orvanta::test
