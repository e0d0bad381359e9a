#pragma once

// The one row reader and writer for psw.ini and psw.bkp, and why a file did not read cleanly.

#include "host/CodePage.h"
#include "rules/store/PswRecord.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace orvanta::store {

/// Why a file of rows did not read cleanly. `line` counts from 1.
struct RowFileProblem {
    enum class Kind {
        Malformed,   ///< a line that is not five quoted fields (too few, too many, a stray double quote)
        NotCodePage, ///< bytes that are no Shift_JIS text
        Utf8, ///< the file starts with a UTF-8 byte-order mark: UTF-8 text, not Shift_JIS; its rows are
              ///< read as UTF-8 all the same
        TooManyRows, ///< more rows than the record array holds
    };
    Kind kind = Kind::Malformed;
    int line = 0;
};

/// The rows of a data file or a backup file, in file order.
struct ReadRows {
    std::vector<PswRecord> rows;
    /// The first problem met; the rows that did read are kept all the same.
    std::optional<RowFileProblem> problem;
};

/// The one row reader: five fields in double quotes, separated by commas, one row per line, in the
/// ANSI code page. Lines may end in CR LF or LF; blank lines carry nothing and are passed over.
/// A line that is not a row is left out and reported; at most `maxRows` rows are kept.
ReadRows readRows(std::string_view bytes, const host::CodePage& codePage, int maxRows = kMaxRows);

/// What went wrong with a file of rows, for the message box: "<file> の 2 行目が５項目ではありません。"
/// and the like. `file` names the file as the user knows it.
std::u16string readProblemMessage(std::u16string_view file, const RowFileProblem& problem);

/// The row limit as every message names it: "上限の 99 行", from kMaxRows.
std::u16string rowLimitText();

/// A field the file format cannot hold: a double quote or a line break (they would split the row),
/// or a character outside the code page.
struct RowWriteProblem {
    enum class Kind { DoubleQuote, LineBreak, NotCodePage };
    Kind kind = Kind::DoubleQuote;
    std::size_t row = 0; ///< index into the rows given
    std::u16string field;
};

/// What a field holds that the file cannot, as a message names it: 「"」, 改行, or
/// " Shift_JIS にない文字".
std::u16string fieldProblemText(RowWriteProblem::Kind kind);

/// One line of any number of fields as the program writes them: each in double quotes, separated by
/// commas, ending in CR LF. The fields are taken as they are; writeRows checks that they can be written.
std::u16string formatFields(std::span<const std::u16string_view> fields);

/// One row as it stands in the file: "owner","name","password","count","mail" and CR LF.
std::u16string formatRow(const PswRecord& row);

/// The one row writer: the bytes of a whole file of these rows, or the first field that cannot be
/// written so that it reads back as it was.
std::variant<std::string, RowWriteProblem> writeRows(std::span<const PswRecord> rows,
                                                     const host::CodePage& codePage);

/// Whether a text can stand in a field: no double quote, no line break, every character in the
/// code page. Nothing when it can.
std::optional<RowWriteProblem::Kind> fieldProblem(std::u16string_view text, const host::CodePage& codePage);

} // namespace orvanta::store
