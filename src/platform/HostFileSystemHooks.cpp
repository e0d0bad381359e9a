// The test seams of the file layer, the same on both hosts: a fault to inject before a step of a
// write, a trace of the calls a write makes, a call to leave out, and a call
// the file system refuses.
#include "HostFileSystem.h"

#include <utility>

namespace orvanta::platform {

HostFileSystem::HostFileSystem(const Drives& drives, FaultHook faultHook)
    : m_drives(drives), m_hooks{std::move(faultHook), {}, {}, {}}
{
}

HostFileSystem::HostFileSystem(const Drives& drives, Hooks hooks)
    : m_drives(drives), m_hooks(std::move(hooks))
{
}

int HostFileSystem::fault(WriteStep step) const
{
    return m_hooks.fault ? m_hooks.fault(step) : 0;
}

void HostFileSystem::trace(FileOperation operation) const
{
    if (m_hooks.trace) {
        m_hooks.trace(operation);
    }
}

bool HostFileSystem::leftOut(FileOperation operation) const
{
    return m_hooks.leaveOut && m_hooks.leaveOut(operation);
}

int HostFileSystem::refused(FileOperation operation) const
{
    return m_hooks.refuse ? m_hooks.refuse(operation) : 0;
}

} // namespace orvanta::platform
