#include "Messages.h"

#include "app/FormValue.h"

namespace orvanta::backup {

std::u16string fileFailureMessage(std::u16string_view path, const platform::Failure& failure)
{
    return std::u16string(path) + u"：" + failure.description;
}

std::u16string rowName(std::u16string_view path, std::size_t number, const store::PswRecord& row)
{
    auto name = std::u16string(path) + u" の " + app::decimalText(static_cast<long long>(number)) + u" 件目";
    if (row.isHeader())
        return name + u"（登録名称「" + row.name + u"」の見出し）";
    return name + u"（登録名称「" + row.owner + u"」、ＩＤ「" + row.name + u"」）";
}

std::u16string rowWriteMessage(std::u16string_view path, const store::RowWriteProblem& problem,
                               const store::PswRecord& row)
{
    auto message = rowName(path, problem.row + 1, row) + u"に、ファイルに書けない";
    switch (problem.kind) {
    case store::RowWriteProblem::Kind::DoubleQuote:
        return message + u"文字「\"」があります。";
    case store::RowWriteProblem::Kind::LineBreak:
        return message + u"改行があります。";
    case store::RowWriteProblem::Kind::NotCodePage:
        return message + u"文字（Shift_JIS にない文字）があります。";
    }
    return message + u"文字があります。";
}

std::u16string backupReadMessage(std::u16string_view path, const store::RowFileProblem& problem)
{
    const auto file = u"バックアップファイル " + std::u16string(path);
    const auto line = app::decimalText(problem.line);
    switch (problem.kind) {
    case store::RowFileProblem::Kind::Malformed:
        return file + u" の " + line + u" 行目が正しい形式（５つの項目）ではありません。";
    case store::RowFileProblem::Kind::NotCodePage:
        return file + u" の " + line + u" 行目に Shift_JIS として読めない文字があります。";
    case store::RowFileProblem::Kind::Utf8:
        return file + u" が Shift_JIS ではなく UTF-8 で書かれています。";
    case store::RowFileProblem::Kind::TooManyRows:
        return file + u" の行数が上限の " + app::decimalText(store::kMaxRows) + u" 行を超えています。";
    }
    return file + u" を読めません。";
}

std::u16string characterName(std::u16string_view text, std::size_t position)
{
    const char16_t unit = text[position];
    if (unit == u' ')
        return u"半角空白";
    if (unit == u'　')
        return u"全角空白";
    if (unit == u'\t')
        return u"タブ";
    const bool pair = unit >= 0xD800 && unit <= 0xDBFF && position + 1 < text.size();
    return u"「" + std::u16string(text.substr(position, pair ? 2 : 1)) + u"」";
}

} // namespace orvanta::backup
