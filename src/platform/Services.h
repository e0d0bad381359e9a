#pragma once

// Every service the window reaches outside the process, handed in as one bundle.

#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/Drives.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/HelpViewer.h"
#include "platform/RandomSource.h"
#include "platform/Registry.h"
#include "platform/Timer.h"

namespace orvanta::platform {

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

} // namespace orvanta::platform
