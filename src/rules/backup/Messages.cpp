// The messages of バックアップ and ロード, one wording for each way they stop.
#include "Messages.h"

#include "host/ErrorDescription.h"
#include "host/FileRules.h"
#include "rules/store/Decimal.h"

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

std::u16string listFailureMessage(std::u16string_view failure)
{
    return std::u16string(failure) + u"（psw.bkp は退避済み）";
}

std::u16string floppyFailureMessage(std::u16string_view shownPath, const platform::Failure& failure)
{
    // The file layers of both hosts word their refusals of such files alike.
    using platform::OddFile;
    const std::u16string refused[] = {
        platform::oddFileDescription(OddFile::Pipe),
        platform::oddFileDescription(OddFile::Device),
        platform::oddFileDescription(OddFile::Socket),
        platform::oddFileDescription(OddFile::Other),
        platform::tooLargeDescription(),
        platform::danglingLinkDescription(),
        platform::readOnlyDescription(),
        platform::errorDescription(EISDIR),
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
    return u"退避＆一覧書出し完了（保存先：" + std::u16string(shownFolder) + u"）";
}

std::u16string fallbackFailureMessage(std::u16string_view shownPath, const platform::Failure& failure)
{
    auto message = floppyFailureMessage(shownPath, failure);
    if (message != failure.description)
        return message;
    // The cause (no permission, a full or read-only disk) matters less than the way out.
    return folderOf(shownPath) + u" に書き込めません。USB メモリか SD カードを差して下さい。";
}

std::u16string fileFailureMessage(std::u16string_view path, const platform::Failure& failure)
{
    return std::u16string(path) + u"：" + failure.description;
}

std::u16string rowName(std::u16string_view path, std::size_t number, const store::PswRecord& row)
{
    auto name =
        std::u16string(path) + u" の " + store::decimalText(static_cast<long long>(number)) + u" 件目";
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

std::u16string listHeadingMessage(std::u16string_view shownList)
{
    return std::u16string(shownList) + u"：見出しを Shift_JIS で書けません。";
}

std::u16string backupPasswordRefusal(std::u16string_view path, std::size_t number,
                                     const store::PswRecord& row, std::u16string_view bad)
{
    return u"バックアップファイル " + rowName(path, number, row) + u"のパスワードに" + std::u16string(bad) +
           u"があります。" + notLoaded();
}

std::u16string emptyBackupRefusal(std::u16string_view path)
{
    return u"バックアップファイル " + std::u16string(path) + u" に登録が１件もありません。" + notLoaded();
}

std::u16string backupRowWriteRefusal(std::u16string_view path, const store::RowWriteProblem& problem,
                                     const store::PswRecord& row)
{
    return u"バックアップファイル " + rowWriteMessage(path, problem, row) + notLoaded();
}

} // namespace orvanta::backup
