#pragma once

// The changes the one rewrite of psw.ini applies: a new entry, an update or a deletion, as values.

#include "host/Expected.h"
#include "rules/store/PswRecord.h"

#include <span>
#include <string>
#include <variant>
#include <vector>

namespace orvanta::store {

/// A new entry: `id` under `destination`, with the password and the e-mail address in stored form.
/// Its destination's header row counts it, or a new header row goes before it when there is none.
struct Register {
    std::u16string destination;
    std::u16string id;
    std::u16string password;
    std::u16string mail;
};

/// The chosen entry takes the new destination, ID, password and e-mail address (the last two in stored
/// form). A new destination renames the destination with all its entries; the name of a destination
/// that exists merges the two under the one header row.
struct Update {
    EntryChoice entry;
    std::u16string newDestination;
    std::u16string newId;
    std::u16string password;
    std::u16string mail;
};

/// The chosen entry goes, and its destination's header row with its last entry.
struct Delete {
    EntryChoice entry;
};

using Change = std::variant<Register, Update, Delete>;

/// The rows of the data file once `change` is made to `rows` (the file as last read), keeping their
/// order: an update changes rows in place, a deletion leaves rows out, a registration appends. A
/// header row the change touches gets the number of entries its destination then has. The failure is
/// the refusal, worded for the message box, when the change would take the file past 99 rows, when
/// the entry to update or delete is not there or cannot be told from another row of its ID, or when the
/// new rows would break a rule of the data file that the old ones kept.
host::Expected<std::vector<PswRecord>> applyChange(std::span<const PswRecord> rows, const Change& change);

} // namespace orvanta::store
