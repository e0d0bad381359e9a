#pragma once

// The help service: shows the program's help file, or says why it cannot.

#include <string>

namespace orvanta::platform {

/// Shows the program's help file.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    /// Opens the help file at this host path; false when it could not be shown.
    virtual bool open(const std::string& hostPath) = 0;
};

} // namespace orvanta::platform
