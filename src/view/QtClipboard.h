#pragma once

#include "platform/Clipboard.h"

namespace orvanta::view {

/// The system clipboard through Qt. Needs a QGuiApplication.
class QtClipboard final : public platform::Clipboard {
public:
    void clear() override;
    void setText(std::u16string_view text) override;
};

} // namespace orvanta::view
