#pragma once

// Every service the window reaches outside the process, handed in as one bundle.

#include "host/Clipboard.h"
#include "host/Clock.h"
#include "host/CodePage.h"
#include "host/Drives.h"
#include "host/Environment.h"
#include "host/FileSystem.h"
#include "host/HelpViewer.h"
#include "host/RandomSource.h"
#include "host/Registry.h"
#include "host/Timer.h"

namespace orvanta::host {

/// Everything the window reaches outside the process, handed in so tests can put fakes in its place.
struct Services {
    Registry& registry;
    Environment& environment;
    FileSystem& files;
    CodePage& codePage;
    Clipboard& clipboard;
    Clock& clock;
    RandomSource& random;
    HelpViewer& help;
    Drives& drives;
    Timer& timer;
};

} // namespace orvanta::host
