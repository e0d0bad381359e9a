#pragma once

// The e-mail addresses in psw.bkp keep the stored form of the machine that wrote the backup. When
// the addresses themselves tell which key that was, ロード stores them again with this machine's key,
// so that they read as typed after a move to another machine.

#include "store/PswRecord.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orvanta::backup {

/// Whether a text is a well-formed e-mail address: exactly one "@", something before it, and after it
/// a domain of letters, digits, "-" and "." that holds a dot, neither first nor last.
bool isMailAddress(std::u16string_view text);

/// The key the addresses of `rows` were stored with, when it can be told and is not `ownKey` (this
/// machine's, 0 to 81): the one key under which the mail field of every entry row that holds one
/// decodes to an e-mail address and encodes back to the same field. Nothing when no row holds an
/// address, when no key fits or more than one does, or when the one that fits is `ownKey`. Keys that
/// build the same table (0 and 81) count as one; the key given back is 0 to 80.
std::optional<int> foreignMailKey(std::span<const store::PswRecord> rows, long long ownKey);

/// The sentence after 「ＬＯＡＤ完了」 when the addresses were carried over from `key`.
std::u16string rekeyedMailNote(int key);

} // namespace orvanta::backup
