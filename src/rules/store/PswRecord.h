#pragma once

// PswRecord, one row of psw.ini, and the record array of 99 rows the window holds.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orvanta::store {

/// The `owner` of a header row: the row names a destination and counts its entries.
inline constexpr std::u16string_view kHeaderMark = u"hyoujimark";

/// One row of the data file and one slot of the record array.
/// A header row holds the mark, the destination, " ", the entry count and " ";
/// an entry row holds the destination, the ID, the stored password, " " and the stored e-mail address.
struct PswRecord {
    std::u16string owner;
    std::u16string name;
    std::u16string password;
    std::u16string count;
    std::u16string mail;

    bool isHeader() const { return owner == kHeaderMark; }
    friend bool operator==(const PswRecord&, const PswRecord&) = default;
};

/// Rows 1 to 99; slot 0 is never used.
inline constexpr int kMaxRows = 99;

/// The record array of the window: 100 slots, numbered 0 to 99. A slot number outside that range
/// is a programming error and throws std::out_of_range.
class RecordArray {
public:
    PswRecord& operator[](long long slot) { return m_slots.at(checked(slot)); }
    const PswRecord& operator[](long long slot) const { return m_slots.at(checked(slot)); }
    /// Slots 1 to `count`, the rows as last read; a count outside 0 to 99 is taken as the nearest.
    std::span<const PswRecord> rows(long long count) const;

private:
    static std::size_t checked(long long slot);
    std::array<PswRecord, kMaxRows + 1> m_slots{};
};

/// Whether a row of `rows` has `destination` as its owner and `id` as its name: that destination and
/// ID pair is already used. Header rows take part with the mark and their destination's name.
bool pairIsUsed(std::span<const PswRecord> rows, std::u16string_view destination, std::u16string_view id);

/// One entry as the ID list names it. The program never writes a destination and ID pair twice, but an
/// old backup or a file edited by hand can hold one: the list then shows the ID twice, and each item
/// stands for its own row, told apart by its place among the items of that ID.
struct EntryChoice {
    std::u16string destination;
    std::u16string id;
    std::size_t occurrence = 0; ///< the entry is the pair's row number `occurrence` (from 0) in file order
    std::size_t listed = 1;     ///< of as many rows of the pair as the list showed
};

/// The position among `rows` of the entry `chosen` names. None when the rows hold the pair another
/// number of times than the list showed (another program changed the file since the list was filled):
/// which row the user meant can then not be told, and no row is taken for it.
std::optional<std::size_t> chosenRow(std::span<const PswRecord> rows, const EntryChoice& chosen);

/// The position among `rows` (psw.ini as read now) of the entry `chosen` names, in an ID list that was
/// filled from `listed` (its destination's rows as read then). An ID that stands once under its
/// destination, then and now, is that entry, whatever its password has become; an ID that stands more
/// than once is told by its place only while its rows are all as they were. None when the rows no
/// longer tell the entry without doubt: its row has gone, or the rows of its ID were added to, removed,
/// reordered or changed since the list was filled (or the list was not filled from `listed`).
std::optional<std::size_t> listedRow(std::span<const PswRecord> listed, std::span<const PswRecord> rows,
                                     const EntryChoice& chosen);

} // namespace orvanta::store
