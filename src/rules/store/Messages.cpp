// The messages of psw.ini, one wording for each.
#include "Messages.h"

#include "rules/store/Decimal.h"
#include "rules/store/PswRecord.h"

namespace orvanta::store {

std::u16string dataFileReadMessage(const RowFileProblem& problem)
{
    auto message = readProblemMessage(u"psw.ini", problem);
    switch (problem.kind) {
    case RowFileProblem::Kind::Utf8:
        return message + u"Shift_JIS に直すまで書き換えません。";
    case RowFileProblem::Kind::TooManyRows:
        return message + u"最初の " + decimalText(kMaxRows) + u" 行だけを表示します（書き換えません）。";
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

std::u16string notWrittenMessage(std::u16string_view why)
{
    return u"psw.ini を書き込めませんでした（元のままです）：" + std::u16string(why);
}

std::u16string rowWriteRefusal(const RowWriteProblem& problem)
{
    return u"psw.ini の " + decimalText(static_cast<long long>(problem.row) + 1) + u" 行目に" +
           fieldProblemText(problem.kind) + u"が入るため、書き換えを中止しました。";
}

} // namespace orvanta::store
