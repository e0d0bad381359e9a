// The messages of psw.ini, one wording for each.
#include "Messages.h"

#include "rules/store/Decimal.h"
#include "rules/store/PswRecord.h"
#include "rules/store/RowFormat.h"

namespace orvanta::store {

std::u16string dataFileReadMessage(const RowFileProblem& problem)
{
    auto message = readProblemMessage(u"psw.ini", problem);
    switch (problem.kind) {
    case RowFileProblem::Kind::Utf8:
        return message + u"Shift_JIS に直すまで書き換えません。";
    case RowFileProblem::Kind::TooManyRows:
        return message + u"最初の " + decimalText(kMaxRows) + u" 行のみ表示し、書き換えません。";
    default:
        return message + u"読めた行のみ表示し、書き換えません。";
    }
}

std::u16string dataFileUnreadableMessage(std::u16string_view why)
{
    return u"データファイル psw.ini を読めません：" + std::u16string(why);
}

std::u16string windirProblemMessage(std::u16string_view why)
{
    return u"環境変数 Windir を読めません（" + std::u16string(why) + u"）。";
}

std::u16string changedDataFileMessage(std::u16string_view stopped)
{
    // "Elsewhere": the other writer may as well be a second window of this program.
    return u"psw.ini が他で変更されたため" + std::u16string(stopped) +
           u"、読み直しました。再度操作して下さい。";
}

std::u16string rereadMessage(std::u16string_view changed, const std::optional<std::u16string>& problem)
{
    return problem ? u"他で変更：" + *problem : std::u16string(changed);
}

std::u16string lostEntryMessage(std::u16string_view stopped, std::u16string_view destination,
                                std::u16string_view id, bool gone)
{
    return std::u16string(stopped) + u"：" + std::u16string(destination) + u"の " + std::u16string(id) +
           (gone ? u" がありません。" : u" の行が変わりました。");
}

std::u16string rowLimitRefusal()
{
    return u"登録件数が" + rowLimitText() + u"に達しているため、登録できません。";
}

std::u16string notWrittenMessage(std::u16string_view why)
{
    // Nothing of psw.ini is written before the whole new file is in place: a refused write leaves it
    // as it was, which "書き込めません" says.
    return u"psw.ini を書き込めません：" + std::u16string(why);
}

std::u16string rowWriteRefusal(const RowWriteProblem& problem)
{
    return u"psw.ini の " + decimalText(static_cast<long long>(problem.row) + 1) + u" 行目に" +
           fieldProblemText(problem.kind) + u"が入るため、書き換えを中止しました。";
}

} // namespace orvanta::store
