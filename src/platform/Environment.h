#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvanta::platform {

/// The process environment and the two folders the window needs.
class Environment {
public:
    virtual ~Environment() = default;

    /// The variable's value, or nothing when it is not defined.
    virtual std::optional<std::u16string> variable(std::u16string_view name) const = 0;
    /// The folder of the program's executable.
    virtual std::u16string programFolder() const = 0;
    /// The process's working directory at this moment.
    virtual std::u16string currentDirectory() const = 0;
    /// The folder where an installation keeps the program's picture and help file apart from the
    /// program itself, or nothing on a host where they always lie beside it.
    virtual std::optional<std::u16string> sharedFolder() const { return std::nullopt; }
};

} // namespace orvanta::platform
