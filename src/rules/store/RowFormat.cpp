// Reading and writing the rows of psw.ini: five quoted fields a line, CRLF, in Shift_JIS.
#include "RowFormat.h"

#include "Decimal.h"
#include "host/Utf8.h"

#include <array>
#include <string>

namespace orvanta::store {

namespace {

constexpr int kFieldsPerRow = 5;

/// The data file is Shift_JIS. Only a UTF-8 byte-order mark, which no Shift_JIS text begins with,
/// marks a file as UTF-8: any guess from the bytes themselves would take some Shift_JIS files for
/// UTF-8 (two level-2 kanji can form valid UTF-8), and a file the program wrote would then be refused.
bool startsWithUtf8Mark(std::string_view bytes)
{
    return bytes.starts_with("\xEF\xBB\xBF");
}

bool isBlank(std::u16string_view line)
{
    return line.find_first_not_of(u' ') == std::u16string_view::npos;
}

/// Splits one line into its five fields. A quoted field is everything up to the next double quote;
/// an unquoted one (never written by the program) ends at the next comma, without its spaces.
std::optional<std::array<std::u16string, kFieldsPerRow>> splitRow(std::u16string_view line)
{
    std::array<std::u16string, kFieldsPerRow> fields;
    std::size_t pos = 0;
    for (int f = 0; f < kFieldsPerRow; ++f) {
        while (pos < line.size() && line[pos] == u' ')
            ++pos;
        if (pos < line.size() && line[pos] == u'"') {
            const auto close = line.find(u'"', pos + 1);
            if (close == std::u16string_view::npos)
                return std::nullopt;
            fields[static_cast<std::size_t>(f)] = std::u16string(line.substr(pos + 1, close - pos - 1));
            pos = close + 1;
            while (pos < line.size() && line[pos] == u' ')
                ++pos;
        } else {
            auto end = line.find(u',', pos);
            if (end == std::u16string_view::npos)
                end = line.size();
            auto field = line.substr(pos, end - pos);
            while (!field.empty() && field.back() == u' ')
                field.remove_suffix(1);
            if (field.find(u'"') != std::u16string_view::npos)
                return std::nullopt;
            fields[static_cast<std::size_t>(f)] = std::u16string(field);
            pos = end;
        }
        const bool last = f == kFieldsPerRow - 1;
        if (pos == line.size()) {
            if (!last)
                return std::nullopt; // fewer than five fields
        } else if (line[pos] == u',' && !last) {
            ++pos;
        } else {
            return std::nullopt; // a sixth field, or text after a closing quote
        }
    }
    return fields;
}

/// The text of one line, or nothing when its bytes are not text in the file's encoding.
std::optional<std::u16string> lineText(std::string_view raw, bool utf8, const host::CodePage& codePage)
{
    if (utf8)
        return host::fromUtf8Strict(raw);
    auto decoded = codePage.decode(raw);
    if (std::holds_alternative<host::CodePageError>(decoded))
        return std::nullopt;
    return std::get<std::u16string>(std::move(decoded));
}

} // namespace

ReadRows readRows(std::string_view bytes, const host::CodePage& codePage, int maxRows)
{
    ReadRows result;
    auto report = [&result](RowFileProblem::Kind kind, int line) {
        if (!result.problem)
            result.problem = RowFileProblem{kind, line};
    };
    // A UTF-8 file is read as UTF-8, so that its rows show; it is reported all the same, and the
    // callers never write it back.
    const bool utf8 = startsWithUtf8Mark(bytes);
    if (utf8) {
        report(RowFileProblem::Kind::Utf8, 1);
        bytes.remove_prefix(3);
    }

    int lineNumber = 0;
    std::size_t start = 0;
    while (start < bytes.size()) {
        auto end = bytes.find('\n', start);
        const bool lastLine = end == std::string_view::npos;
        if (lastLine)
            end = bytes.size();
        // Shift_JIS never uses 0x0A or 0x0D inside a double-byte character, so lines split safely as bytes.
        auto raw = bytes.substr(start, end - start);
        if (raw.ends_with('\r'))
            raw.remove_suffix(1);
        start = end + 1;
        ++lineNumber;

        const auto line = lineText(raw, utf8, codePage);
        if (!line) {
            // A UTF-8 file is reported once, at its mark.
            if (!utf8)
                report(RowFileProblem::Kind::NotCodePage, lineNumber);
            continue;
        }
        if (isBlank(*line))
            continue;
        // A carriage return anywhere but at the end of its line is in no row the program writes, and
        // a row that held one could never be written back.
        if (line->find(u'\r') != std::u16string::npos) {
            report(RowFileProblem::Kind::Malformed, lineNumber);
            continue;
        }
        auto fields = splitRow(*line);
        if (!fields) {
            report(RowFileProblem::Kind::Malformed, lineNumber);
            continue;
        }
        if (static_cast<int>(result.rows.size()) >= maxRows) {
            report(RowFileProblem::Kind::TooManyRows, lineNumber);
            break;
        }
        auto& [owner, name, password, count, mail] = *fields;
        result.rows.push_back(PswRecord{std::move(owner), std::move(name), std::move(password),
                                        std::move(count), std::move(mail)});
    }
    return result;
}

std::u16string formatFields(std::span<const std::u16string_view> fields)
{
    std::u16string line;
    std::size_t length = 2;
    for (auto field : fields)
        length += field.size() + 3;
    line.reserve(length);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += u',';
        line += u'"';
        line += fields[i];
        line += u'"';
    }
    line += u"\r\n";
    return line;
}

std::u16string readProblemMessage(std::u16string_view file, const RowFileProblem& problem)
{
    const auto line = decimalText(static_cast<long long>(problem.line));
    const std::u16string name(file);
    switch (problem.kind) {
    case RowFileProblem::Kind::Malformed:
        return name + u" の " + line + u" 行目が５項目ではありません。";
    case RowFileProblem::Kind::NotCodePage:
        return name + u" の " + line + u" 行目が Shift_JIS ではありません。";
    case RowFileProblem::Kind::Utf8:
        return name + u" が Shift_JIS ではなく UTF-8 です。";
    case RowFileProblem::Kind::TooManyRows:
        return name + u" が" + rowLimitText() + u"を超えています。";
    }
    return name + u" を読めません。";
}

std::u16string rowLimitText()
{
    return u"上限の " + decimalText(kMaxRows) + u" 行";
}

std::u16string fieldProblemText(RowWriteProblem::Kind kind)
{
    switch (kind) {
    case RowWriteProblem::Kind::DoubleQuote:
        return u"「\"」";
    case RowWriteProblem::Kind::LineBreak:
        return u"改行";
    case RowWriteProblem::Kind::NotCodePage:
        break;
    }
    return u" Shift_JIS にない文字";
}

std::u16string formatRow(const PswRecord& row)
{
    const std::array<std::u16string_view, kFieldsPerRow> fields{row.owner, row.name, row.password, row.count,
                                                                row.mail};
    return formatFields(fields);
}

std::optional<RowWriteProblem::Kind> fieldProblem(std::u16string_view text, const host::CodePage& codePage)
{
    if (text.find(u'"') != std::u16string_view::npos)
        return RowWriteProblem::Kind::DoubleQuote;
    if (text.find_first_of(u"\r\n") != std::u16string_view::npos)
        return RowWriteProblem::Kind::LineBreak;
    if (std::holds_alternative<host::CodePageError>(codePage.encode(text)))
        return RowWriteProblem::Kind::NotCodePage;
    return std::nullopt;
}

std::variant<std::string, RowWriteProblem> writeRows(std::span<const PswRecord> rows,
                                                     const host::CodePage& codePage)
{
    std::u16string text;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& row = rows[i];
        for (const std::u16string* field : {&row.owner, &row.name, &row.password, &row.count, &row.mail}) {
            if (field->find(u'"') != std::u16string::npos)
                return RowWriteProblem{RowWriteProblem::Kind::DoubleQuote, i, *field};
            if (field->find_first_of(u"\r\n") != std::u16string::npos)
                return RowWriteProblem{RowWriteProblem::Kind::LineBreak, i, *field};
        }
        text += formatRow(row);
    }
    auto encoded = codePage.encode(text);
    if (const auto* error = std::get_if<host::CodePageError>(&encoded)) {
        // Find the row that holds the character, for the message.
        std::size_t offset = 0;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const auto length = formatRow(rows[i]).size();
            if (error->position < offset + length)
                return RowWriteProblem{RowWriteProblem::Kind::NotCodePage, i,
                                       rows[i].owner + u"," + rows[i].name};
            offset += length;
        }
        return RowWriteProblem{RowWriteProblem::Kind::NotCodePage, rows.size(), {}};
    }
    return std::get<std::string>(std::move(encoded));
}

} // namespace orvanta::store
