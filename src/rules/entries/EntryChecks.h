#pragma once

// The checks an entry's boxes must pass before it is registered or updated, shared by both handlers.

#include "host/CodePage.h"
#include "rules/store/PswRecord.h"

#include <optional>
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
std::optional<std::u16string> entryProblem(const EntryText& entry, const host::CodePage& codePage);

/// Why the chosen destination cannot be updated or deleted: a header row naming the header mark itself
/// (only a file edited by hand has one) cannot be told from the header rows it would be matched against.
std::optional<std::u16string> chosenDestinationProblem(std::u16string_view destination);

/// What a registration, update or deletion says when it is done: `done` (「登録完了」 and the like), then
/// the entry as the user typed it, "destination の id:password".
std::u16string completionText(std::u16string_view done, std::u16string_view destination,
                              std::u16string_view id, std::u16string_view password);

} // namespace orvanta::entries
