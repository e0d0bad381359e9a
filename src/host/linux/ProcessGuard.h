#pragma once

// The start-up setting that keeps passwords out of core dumps.

namespace orvanta::host {

/// Keeps the process's memory out of core dumps: the window holds passwords in plain text. Called
/// once at start-up. True when the system took both settings.
bool forbidCoreDumps();

} // namespace orvanta::host
