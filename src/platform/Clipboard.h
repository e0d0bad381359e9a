#pragma once

#include <string>
#include <string_view>

namespace orvanta::platform {

/// The system clipboard, plain text only.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    virtual void setText(std::u16string_view text) = 0;
};

} // namespace orvanta::platform
