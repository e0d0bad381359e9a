// The messages of バックアップ and ロード, one wording for each way they stop.
#include "Messages.h"

#include "host/ErrorDescription.h"
#include "host/FileRules.h"

#include <cerrno>

namespace orvanta::backup {

std::u16string notLoaded()
{
    return u"ロードを中止しました" + std::u16string(kDataFileUnchanged) + u"。";
}

std::u16string notBackedUp()
{
    return u"バックアップを中止しました" + std::u16string(kBackupUnchanged) + u"。";
}

std::u16string keyProblemRefusal(std::u16string_view stopped)
{
    return u"製品IDを読み取れないため、" + std::u16string(stopped);
}

std::u16string emptyDataFileRefusal()
{
    return u"psw.ini に登録がないため、" + notBackedUp();
}

std::u16string loadFileRefusal(std::u16string_view name, const host::Failure& failure)
{
    return u"ロード中止（" + std::u16string(name) + u"）：" + failure.description;
}

std::u16string unreadableDataFileRefusal(const host::Failure& failure)
{
    return u"psw.ini：" + failure.description + std::u16string(kMoveAside);
}

std::u16string listFailureMessage(std::u16string_view failure)
{
    return std::u16string(failure) + u"（psw.bkp は退避済み）";
}

std::u16string floppyFailureMessage(std::u16string_view shownPath, const host::Failure& failure)
{
    // The file layers of both hosts word their refusals of such files alike.
    using host::OddFile;
    const std::u16string refused[] = {
        host::oddFileDescription(OddFile::Pipe),
        host::oddFileDescription(OddFile::Device),
        host::oddFileDescription(OddFile::Socket),
        host::oddFileDescription(OddFile::Other),
        host::tooLargeDescription(),
        host::danglingLinkDescription(),
        host::readOnlyDescription(),
        host::errorDescription(EISDIR),
    };
    for (const auto& description : refused)
        if (failure.description == description)
            return std::u16string(shownPath) + u"：" + failure.description;
    return failure.description;
}

std::u16string folderOf(std::u16string_view shownPath)
{
    const auto end = shownPath.find_last_of(u"\\/");
    return std::u16string(end == std::u16string_view::npos ? std::u16string_view()
                                                           : shownPath.substr(0, end + 1));
}

std::u16string backupDoneMessage(std::u16string_view shownFolder)
{
    return u"退避＆一覧書出し完了：" + std::u16string(shownFolder);
}

std::u16string fallbackFailureMessage(std::u16string_view shownPath, const host::Failure& failure)
{
    auto message = floppyFailureMessage(shownPath, failure);
    if (message != failure.description)
        return message;
    // The cause (no permission, a full or read-only disk) matters less than the way out.
    return folderOf(shownPath) + u" に書けません。USB メモリなどを差して下さい。";
}

std::u16string fileFailureMessage(std::u16string_view path, const host::Failure& failure)
{
    return std::u16string(path) + u"：" + failure.description;
}

std::u16string rowName(const store::PswRecord& row)
{
    if (row.isHeader())
        return row.name + u"の見出し行";
    return row.owner + u"の " + row.name + u" ";
}

std::u16string rowWriteMessage(const store::RowWriteProblem& problem, const store::PswRecord& row)
{
    return u"退避中止：" + rowName(row) + u"に" + store::fieldProblemText(problem.kind) + u"があります。";
}

std::u16string backupReadMessage(const store::RowFileProblem& problem)
{
    return std::u16string(kLoadStopped) + store::readProblemMessage(u"psw.bkp", problem);
}

std::u16string listHeadingMessage(std::u16string_view shownList)
{
    return std::u16string(shownList) + u"：見出しを Shift_JIS で書けません。";
}

std::u16string backupPasswordRefusal(const store::PswRecord& row, std::u16string_view bad)
{
    return std::u16string(kLoadStopped) + rowName(row) + u"のパスワードに" + std::u16string(bad) +
           u"があります。";
}

std::u16string emptyBackupRefusal()
{
    return std::u16string(kLoadStopped) + u"psw.bkp に登録が１件もありません。";
}

std::u16string backupRowWriteRefusal(const store::RowWriteProblem& problem, const store::PswRecord& row)
{
    return std::u16string(kLoadStopped) + rowName(row) + u"に" + store::fieldProblemText(problem.kind) +
           u"があります。";
}

} // namespace orvanta::backup
