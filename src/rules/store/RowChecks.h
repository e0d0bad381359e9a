#pragma once

// The rules of psw.ini's rows: each destination and ID once, one counted header row per destination.

#include "rules/store/PswRecord.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvanta::store {

/// A rule of the data file that a set of rows breaks. Every rewrite keeps these rules: each
/// destination and ID once, one header row per destination with the count of its entries, no header
/// row without entries, no entry without its header row. (The 99 rows are a registration's to count:
/// no other change adds a row.)
struct RowsProblem {
    enum class Kind {
        DuplicatePair,        ///< two entry rows with the same destination and ID
        DuplicateHeader,      ///< two header rows for one destination
        CountMismatch,        ///< a header row's count is not the number of its entries
        HeaderWithoutEntries, ///< a header row whose destination has no entry
        EntryWithoutHeader,   ///< an entry whose destination has no header row, so it is never listed
    };
    Kind kind = Kind::DuplicatePair;
    std::u16string destination;
    std::u16string id;       ///< DuplicatePair, EntryWithoutHeader
    std::u16string count;    ///< CountMismatch: the count as the header row holds it
    std::size_t entries = 0; ///< CountMismatch: how many entries the destination has

    /// The same rule broken at the same place, whatever the numbers.
    bool samePlace(const RowsProblem& other) const
    {
        return kind == other.kind && destination == other.destination && id == other.id;
    }
};

/// Every rule the rows break, in file order of the row that shows it first.
std::vector<RowsProblem> rowsProblems(std::span<const PswRecord> rows);

/// The first rule that `after` breaks and `before` did not break at the same place already. A file
/// edited by hand or written by an older version may break a rule when it is read; the user must still
/// be able to work with it and put it right, so only a change that makes things worse is refused.
std::optional<RowsProblem> newRowsProblem(std::span<const PswRecord> before,
                                          std::span<const PswRecord> after);

/// What the rows would look like, as the end of a sentence for the message box:
/// "登録先「B」のID「y」が２つになります。".
std::u16string rowsProblemText(const RowsProblem& problem);

/// Whether a header row's count stands for `entries`: its leading decimal number, after spaces, as the
/// file's counts are read (" " is 0, "02" is 2, "2x" is 2). A count of any length is read without
/// overflow.
bool countEquals(std::u16string_view count, std::size_t entries);

} // namespace orvanta::store
