// The rule of every change to the data file: the rows as last read in, the rows to write out.
#include "Change.h"

#include "RowChecks.h"
#include "rules/store/Decimal.h"
#include "rules/store/Messages.h"
#include "rules/store/RowFormat.h"

#include <algorithm>

namespace orvanta::store {

namespace {

using Rows = std::vector<PswRecord>;
using Changed = host::Expected<Rows>;

host::Failure refusal(std::u16string message)
{
    return host::Failure{host::Failure::Kind::Other, std::move(message)};
}

/// The entries of `owner` among the rows.
long long entriesOf(std::span<const PswRecord> rows, std::u16string_view owner)
{
    return std::count_if(
        rows.begin(), rows.end(), [&](const PswRecord& row) { return row.owner == owner; });
}

/// Why the chosen entry cannot be changed: its row has gone, or the rows of its ID changed in number
/// since the list showed them, so that which of them the user chose can no longer be told. `stopped`
/// names the operation that stops ("更新中止").
host::Failure lostEntry(std::span<const PswRecord> rows, const EntryChoice& entry,
                        std::u16string_view stopped)
{
    // Another program may have removed the entry since the list was filled. Writing on would change
    // nothing and yet report the change as made.
    return refusal(lostEntryMessage(stopped, entry.destination, entry.id,
                                    !pairIsUsed(rows, entry.destination, entry.id)));
}

// A header row the change touches gets the number of entries its destination has once the change is
// made. For a file whose counts are right this is the count plus or minus one; a count edited by hand
// (even one too long for a number) is put right instead of carried on.
struct Apply {
    std::span<const PswRecord> rows;

    Changed operator()(const Register& change) const
    {
        Rows out(rows.begin(), rows.end());
        const long long entriesAfter = entriesOf(rows, change.destination) + 1;
        bool headerMet = false;
        for (auto& row : out) {
            if (row.isHeader() && row.name == change.destination) {
                headerMet = true;
                row.count = store::decimalText(entriesAfter);
            }
        }
        // The one place the 99 rows are counted: only a registration adds rows.
        if (out.size() + (headerMet ? 1 : 2) > static_cast<std::size_t>(kMaxRows))
            return refusal(rowLimitRefusal());
        if (!headerMet)
            out.push_back({std::u16string(kHeaderMark), change.destination, u" ",
                           store::decimalText(entriesAfter), u" "});
        out.push_back({change.destination, change.id, change.password, u" ", change.mail});
        return out;
    }

    Changed operator()(const Update& change) const
    {
        const auto& from = change.entry.destination;
        const auto& to = change.newDestination;
        const auto edited = chosenRow(rows, change.entry);
        if (!edited)
            return lostEntry(rows, change.entry, u"更新中止");

        // A rename onto a destination that exists merges the two: every entry moves under it, and one
        // header row stays, the one the destination already had (else the renamed one's), counting them
        // all. Any other header row of the two names goes, so a name listed twice is joined as well.
        const bool renaming = to != from;
        const PswRecord* keptHeader = nullptr;
        for (const auto* name : {&to, &from})
            for (const auto& row : rows)
                if (renaming && !keptHeader && row.isHeader() && row.name == *name)
                    keptHeader = &row;
        const long long entriesAfter = entriesOf(rows, from) + entriesOf(rows, to);

        Rows out;
        for (const auto& old : rows) {
            auto row = old;
            // Only the chosen row: another row of the same ID keeps its password and address.
            if (&old == &rows[*edited]) {
                row.owner = to;
                row.name = change.newId;
                row.password = change.password;
                row.mail = change.mail;
            }
            if (row.owner == from)
                row.owner = to;
            if (row.isHeader() && (row.name == from || (renaming && row.name == to))) {
                if (renaming && &old != keptHeader)
                    continue;
                row.name = to;
                row.password = u" ";
                row.mail = u" ";
                if (renaming)
                    row.count = store::decimalText(entriesAfter);
            }
            out.push_back(std::move(row));
        }
        return out;
    }

    Changed operator()(const Delete& change) const
    {
        // The header goes with the destination's last entry. Only the chosen row is left out: another
        // row of the same ID stays as it is.
        const auto deleted = chosenRow(rows, change.entry);
        if (!deleted)
            return lostEntry(rows, change.entry, u"削除中止");
        const auto& destination = change.entry.destination;
        const long long entriesAfter = entriesOf(rows, destination) - 1;
        Rows out;
        for (const auto& old : rows) {
            if (&old == &rows[*deleted])
                continue;
            auto row = old;
            if (row.name == destination && row.isHeader()) {
                if (entriesAfter == 0)
                    continue;
                row.count = store::decimalText(entriesAfter);
            }
            out.push_back(std::move(row));
        }
        return out;
    }
};

} // namespace

host::Expected<std::vector<PswRecord>> applyChange(std::span<const PswRecord> rows, const Change& change)
{
    auto changed = std::visit(Apply{rows}, change);
    if (!changed)
        return changed;
    if (const auto problem = newRowsProblem(rows, changed.value()))
        return refusal(u"中止しました：" + rowsProblemText(*problem));
    return changed;
}

} // namespace orvanta::store
