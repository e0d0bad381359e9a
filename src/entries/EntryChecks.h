#pragma once

// The checks an entry's boxes must pass before it is registered or updated, shared by both handlers.

#include "platform/CodePage.h"
#include "store/PswRecord.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orvanta::entries {

/// The four boxes of an entry as the user filled them in.
struct EntryText {
    std::u16string_view destination;
    std::u16string_view id;
    std::u16string_view password;
    std::u16string_view mail;
};

/// Why an entry cannot be stored as typed, as the one-line message for Txtmassage; nothing when it can.
/// The destination and the ID are stored as they are, so they may hold no double quote, no line break
/// and nothing outside the code page, and the destination may not be the header mark. The password and
/// the e-mail address are stored as codes, so every character must have one.
std::optional<std::u16string> entryProblem(const EntryText& entry, const platform::CodePage& codePage);

/// Why registering `destination` / `id` would take the data file past its 99 rows: one row for an
/// entry under a destination that has its header row among `rows`, two for a new one.
/// A pair that is already used adds no row and is never refused here.
std::optional<std::u16string> rowLimitProblem(std::span<const store::PswRecord> rows,
                                              std::u16string_view destination, std::u16string_view id);

/// Why an update may not move the destination `from` into `to`: renaming a destination onto one that
/// exists merges the two, and an ID of `from` other than `fromId` (the entry being updated, whose new
/// pair the caller checks) that `to` already has among `rows` would then stand twice.
std::optional<std::u16string> mergeProblem(std::span<const store::PswRecord> rows, std::u16string_view from,
                                           std::u16string_view fromId, std::u16string_view to);

/// Why an update of the entry `fromId` under `from` to `toId` under another destination `to` would leave
/// one destination and ID twice: the rename carries along every other ID of `from`, and `from` already
/// has an ID `toId` besides the entry being updated.
std::optional<std::u16string> renamedPairProblem(std::span<const store::PswRecord> rows,
                                                 std::u16string_view from, std::u16string_view fromId,
                                                 std::u16string_view to, std::u16string_view toId);

/// Why the chosen destination cannot be updated or deleted: a header row naming the header mark itself
/// (only a file edited by hand has one) cannot be told from the header rows it would be matched against.
std::optional<std::u16string> chosenDestinationProblem(std::u16string_view destination);

} // namespace orvanta::entries
