#pragma once

// The clipboard service the window puts passwords on, as a secret that leaves it after a while.

#include <string>
#include <string_view>

namespace orvanta::host {

/// The system clipboard, plain text only. The program puts nothing there but a password, or a text
/// out of a box that may hold one, so whatever it sets is marked as a secret, for clipboard managers,
/// the clipboard history and the cloud clipboard to leave alone.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    /// Puts the text on the clipboard, marked as a secret.
    virtual void setText(std::u16string_view text) = 0;
    /// The clipboard's plain text now, whoever put it there; empty when it holds none.
    virtual std::u16string text() const = 0;
    /// Whether the clipboard still holds what the last setText put there: nothing has been put there
    /// since, by another program or by this one, not even the same text. False after a clear.
    virtual bool holdsOwnCopy() const = 0;
};

} // namespace orvanta::host
