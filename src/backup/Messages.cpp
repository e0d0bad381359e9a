#include "Messages.h"

#include "app/FormValue.h"

namespace orvanta::backup {

std::u16string floppyFailureMessage(const platform::Failure& failure)
{
    return failure.description;
}

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
    return store::readProblemMessage(u"バックアップファイル " + std::u16string(path), problem);
}

} // namespace orvanta::backup
