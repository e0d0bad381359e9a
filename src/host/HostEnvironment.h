#pragma once

// The environment service of the real host.

#include "host/Environment.h"

#include <optional>
#include <string>

namespace orvanta::host {

/// The process environment of the host being built; one implementation in linux/, one in windows/.
///
/// Windows always defines Windir, and the program keeps its files there. Linux does not, so while
/// Windir is not set the folder that stands in for the Windows folder
/// (linux/imitate_windows/WindowsFolder.h) is its value there. On Linux a Windir set to the empty
/// text counts as not set: it names no folder.
class HostEnvironment final : public Environment {
public:
    /// `programFolder` replaces the folder of the running executable when given (a host path).
    explicit HostEnvironment(std::optional<std::string> programFolder = std::nullopt);

    /// Names compare as on Windows: an exact match first, else without regard to ASCII case.
    std::optional<std::u16string> variable(std::u16string_view name) const override;
    /// A value whose bytes are not UTF-8, which no host path of the program's can hold.
    std::optional<std::u16string> unreadable(std::u16string_view name) const override;
    std::u16string programFolder() const override;
    std::u16string currentDirectory() const override;
    /// share/orvanta beside the program's bin folder: /usr/share/orvanta for /usr/bin/orvanta, and
    /// ~/.local/share/orvanta for a program installed under ~/.local. Nothing on Windows, where the
    /// picture and the help file lie beside the program.
    std::optional<std::u16string> sharedFolder() const override;

private:
    std::optional<std::string> m_programFolder;
};

} // namespace orvanta::host
