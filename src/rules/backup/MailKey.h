#pragma once

// The e-mail addresses in psw.bkp keep the stored form of the machine that wrote the backup. When
// the addresses themselves tell beyond doubt which other key that was, ロード stores them again with
// this machine's key, so that they read as typed after a move to another machine. A box may as well
// hold a note, and a note read with the wrong key can look like an address: the rule asks for evidence
// that notes next to never give, and loads the mail fields as they are whenever it lacks it.

#include "rules/store/PswRecord.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orvanta::backup {

/// Whether a text is an e-mail address as people write them: exactly one "@"; before it letters,
/// digits, ".", "_", "+" and "-", starting and ending with a letter or digit, no two dots in a row;
/// after it two or more labels joined by dots, each of letters, digits and "-" and neither starting
/// nor ending with "-", the last of two or more letters.
bool isMailAddress(std::u16string_view text);

/// Whether an address ends in a top-level domain that most addresses end in, written in small
/// letters: com, net, org, jp, info, biz, edu, gov, io, me, co, us, uk, ca, au, de, fr, cn, kr, tw, hk.
bool hasCommonTopLevelDomain(std::u16string_view address);

/// The key the mail fields of `backupRows` were stored with, when they tell it beyond doubt and it is
/// not `ownKey` (this machine's, 0 to 81); `dataFileRows` are the rows of the psw.ini the load
/// replaces. Blank mail fields (empty or spaces) and header rows take no part. Nothing, so that the
/// fields load as they stand, unless
/// - no mail field of the backup stands as it is among those of psw.ini (one that does says the
///   backup was made on this machine),
/// - exactly one key decodes every mail field to an address (isMailAddress) that encodes back to the
///   same field,
/// - under that key, two or more different fields end in a common top-level domain
///   (hasCommonTopLevelDomain),
/// - and that key is not `ownKey`.
/// Keys that build the same table (0 and 81) count as one; the key given back is 0 to 80.
std::optional<int> foreignMailKey(std::span<const store::PswRecord> backupRows,
                                  std::span<const store::PswRecord> dataFileRows, long long ownKey);

/// The sentence after 「ＬＯＡＤ完了」 when the addresses were carried over from `key`.
std::u16string rekeyedMailNote(int key);

} // namespace orvanta::backup
