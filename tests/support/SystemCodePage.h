#pragma once

// The host's real code page 932, for tests that need the true bytes.

#ifdef _WIN32
#include "host/windows/HostCodePage.h"
#else
#include "host/linux/IcuCodePage.h"
#endif

namespace orvanta::test {

/// The real code page 932 of the host the tests run on: Windows' own on Windows, ICU's elsewhere.
#ifdef _WIN32
using SystemCodePage = host::HostCodePage;
#else
using SystemCodePage = host::IcuCodePage;
#endif

} // namespace orvanta::test
