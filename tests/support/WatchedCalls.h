#pragma once

// The system calls a write makes, watched or failed by a test.

#ifdef _WIN32
#include "host/windows/SystemCalls.h"
#else
#include "host/linux/SystemCalls.h"
#endif

#include <functional>
#include <string>
#include <string_view>

namespace orvanta::test {

/// The real system calls, each asked about first: `before` gets the call's name (the entry's name in
/// host::SystemCalls) and answers 0 to make the call, or an error (errno on Linux, a system error
/// code on Windows) that the call then fails with, without being made.
host::SystemCalls watchedCalls(std::function<int(std::string_view call)> before);

/// The steps of a write, each one call: creating the temporary file, writing the bytes (every write
/// call), flushing the file, renaming it, flushing the folder (Linux only).
enum class WriteStep { Open, Write, Sync, Rename, SyncFolder };

/// The real system calls, failing a step of a write with the errno value `fault` gives for it (0: the
/// call is made); on Windows with the system error of the same wording.
host::SystemCalls failingAt(std::function<int(WriteStep)> fault);

/// What a write that failingAt failed with the errno value `error` says: on Windows the system's own
/// wording of that error, as a real failure there says it.
std::u16string writeErrorDescription(int error);

} // namespace orvanta::test
