#pragma once

// The environment service: variables such as Windir, the program's folder and the working directory.

#include <optional>
#include <string>
#include <string_view>

namespace orvanta::host {

/// The process environment and the two folders the window needs.
class Environment {
public:
    virtual ~Environment() = default;

    /// The variable's value, or nothing when it is not defined.
    virtual std::optional<std::u16string> variable(std::u16string_view name) const = 0;
    /// Why a variable that is set cannot be read as text ("UTF-8 ではありません"), or nothing when it
    /// can, or is not set. variable() then gives a value that names no folder.
    virtual std::optional<std::u16string> unreadable(std::u16string_view) const { return std::nullopt; }
    /// The folder of the program's executable.
    virtual std::u16string programFolder() const = 0;
    /// The process's working directory at this moment.
    virtual std::u16string currentDirectory() const = 0;
    /// The folder where an installation keeps the program's picture and help file apart from the
    /// program itself, or nothing on a host where they always lie beside it.
    virtual std::optional<std::u16string> sharedFolder() const { return std::nullopt; }
};

} // namespace orvanta::host
