#pragma once

// What a failed system call means, in Japanese, for the message box.

#include <string>

namespace orvanta::host {

/// What a failed system call means, in Japanese and worded as Windows words its own messages, for
/// the message box ("アクセスが拒否されました。"). `error` is an errno value. An error without a
/// wording of its own is described by the system's text and its number.
std::u16string errorDescription(int error);

} // namespace orvanta::host
