#include "EveryMessage.h"

#include "SystemCodePage.h"
#include "form/Messages.h"
#include "host/CodePage.h"
#include "host/ErrorDescription.h"
#include "host/FileRules.h"
#include "rules/backup/MailKey.h"
#include "rules/backup/Messages.h"
#include "rules/cipher/Messages.h"
#include "rules/entries/EntryChecks.h"
#include "rules/generator/Messages.h"
#include "rules/store/Messages.h"
#include "rules/store/PswRecord.h"
#include "rules/store/RowChecks.h"
#include "rules/store/RowFormat.h"

#include <cerrno>

namespace orvanta::test {

std::vector<std::u16string> everyMessage()
{
    using host::Failure;
    const auto failure = [](const std::u16string& description) {
        return Failure{Failure::Kind::Other, description};
    };
    const auto access = failure(host::errorDescription(EACCES));
    const auto full = failure(host::errorDescription(ENOSPC));
    const auto busy = failure(host::errorDescription(EBUSY));
    const auto pipe = failure(host::oddFileDescription(host::OddFile::Pipe));
    const std::u16string destination = u"三井住友信託銀行";
    const std::u16string id = u"hanako.yamada";
    // The longest password the generator makes.
    const std::u16string password = u"Ab3dEf6hIj9kLm2nOp5q";
    const store::PswRecord entry{destination, id, password, u" ", u""};
    const store::PswRecord header{std::u16string(store::kHeaderMark), destination, u"", u"1", u" "};
    const std::u16string stick = u"/media/hanako/KINGSTON-32GB/";
    const std::u16string home = u"/home/hanako/";
    const std::u16string list = u"A:\\20261208123456_psw.csv";
    const std::u16string help = u"C:\\Users\\hanako\\AppData\\Local\\Programs\\Orvanta\\ORVANTA.HLP";
    // A failure at Windows' VirtualStore copy of psw.ini says so.
    const auto stored = [&](const host::Failure& cause) {
        return failure(cause.description + std::u16string(host::kVirtualStoreNote));
    };
    const auto completed = [&](std::u16string_view what) {
        return entries::completionText(what, destination, id, password) +
               std::u16string(store::kUnsyncedNote);
    };
    const auto rows = [&](store::RowsProblem::Kind kind) {
        return u"中止しました：" + store::rowsProblemText({kind, destination, id, u"12", 11});
    };
    const auto hive = [](const std::u16string& description) {
        return form::keyProblemMessage(u"registry.reg：" + description, u"00");
    };
    const SystemCodePage codePage;
    const auto entryProblem = [&](entries::EntryText text) { return *entries::entryProblem(text, codePage); };
    using RowsKind = store::RowsProblem::Kind;
    using WriteKind = store::RowWriteProblem::Kind;
    using ReadKind = store::RowFileProblem::Kind;
    std::vector<std::u16string> messages{
        cipher::keyMessage(u"07"),
        cipher::fixedKeyMessage(u"00"),
        form::keyProblemMessage(u"ProductId が REG_DWORD_BIG_ENDIAN です。", u"00"),
        form::keyProblemMessage(u"registry.reg の 12345 行目が壊れています。", u"00"),
        hive(access.description),
        hive(pipe.description),
        hive(host::oddFileDescription(host::OddFile::Socket)),
        hive(host::tooLargeDescription()),
        hive(host::danglingLinkDescription()),
        backup::keyProblemRefusal(backup::notBackedUp()),
        backup::keyProblemRefusal(backup::notLoaded()),
        backup::emptyDataFileRefusal(),
        form::helpMissingMessage(help),
        form::helpUnreadableMessage(help),
        form::helpUnreadableMessage(help, busy.description),
        form::helpUnreadableMessage(help, host::tooLargeDescription()),
        form::unexpectedErrorMessage(u"std::bad_alloc"),
        backup::backupDoneMessage(stick),
        backup::backupDoneMessage(stick) + std::u16string(store::kUnsyncedNote),
        completed(u"登録完了"),
        completed(u"更新完了"),
        completed(u"削除完了"),
        u"ＬＯＡＤ完了" + backup::rekeyedMailNote(7) + std::u16string(store::kUnsyncedNote),
        backup::fallbackFailureMessage(home + u"psw.bkp", access),
        backup::floppyFailureMessage(u"A:\\psw.bkp", pipe),
        backup::listFailureMessage(backup::floppyFailureMessage(list, full)),
        backup::listFailureMessage(backup::floppyFailureMessage(list, failure(host::errorDescription(EIO)))),
        backup::listFailureMessage(backup::fallbackFailureMessage(home + list.substr(3), full)),
        backup::listHeadingMessage(list),
        backup::rowWriteMessage({WriteKind::NotCodePage, 0, u"〜"}, entry),
        backup::rowWriteMessage({WriteKind::NotCodePage, 0, u"〜"}, header),
        backup::rowWriteMessage({WriteKind::DoubleQuote, 0, u"\""}, entry),
        backup::backupPasswordRefusal(entry, u"全角空白"),
        backup::backupPasswordRefusal(entry, u"「あ」"),
        backup::backupRowWriteRefusal({WriteKind::NotCodePage, 0, u"〜"}, entry),
        backup::backupRowWriteRefusal({WriteKind::LineBreak, 0, u"\n"}, header),
        backup::emptyBackupRefusal(),
        store::changedDataFileMessage(u"書き換えを中止し"),
        store::changedDataFileMessage(u"ロードを中止し"),
        std::u16string(store::kListReadAgain),
        store::lostEntryMessage(u"削除中止", destination, id, false),
        store::lostEntryMessage(u"更新中止", destination, id, true),
        entryProblem({destination, id, u"pass　word", u""}),
        entryProblem({destination, id, password, u"hanako　@example.jp"}),
        entryProblem({destination + u"\U0001F600", id, password, u""}),
        entryProblem({destination, id + u"\"", password, u""}),
        entryProblem({store::kHeaderMark, id, password, u""}),
        *entries::chosenDestinationProblem(store::kHeaderMark),
        store::dataFileReadMessage({ReadKind::Malformed, 99}),
        store::dataFileReadMessage({ReadKind::NotCodePage, 99}),
        store::dataFileReadMessage({ReadKind::Utf8, 1}),
        store::dataFileReadMessage({ReadKind::TooManyRows, 100}),
        store::windirProblemMessage(u"UTF-8 ではありません") + std::u16string(store::kNoDataFile),
        rows(RowsKind::DuplicatePair),
        rows(RowsKind::DuplicateHeader),
        rows(RowsKind::CountMismatch),
        rows(RowsKind::HeaderWithoutEntries),
        rows(RowsKind::EntryWithoutHeader),
        store::notWrittenMessage(full.description),
        host::busyDescription(),
        store::rowLimitRefusal(),
        std::u16string(store::kUnsoundDataFile),
        store::rowWriteRefusal({WriteKind::NotCodePage, 98, u"〜"}),
        store::dataFileUnreadableMessage(access.description),
        backup::unreadableDataFileRefusal(stored(access)),
        backup::loadFileRefusal(u"psw.ini", stored(failure(host::readOnlyDescription()))),
        backup::loadFileRefusal(u"psw.ini", stored(busy)),
        backup::loadFileRefusal(u"psw.ini.bak", stored(access)),
        backup::loadFileRefusal(u"psw.ini.bak", full),
        store::notWrittenMessage(host::lockFileDescription(host::FileKind::Link)),
        store::notWrittenMessage(host::lockFileDescription(host::FileKind::Other)),
        store::notWrittenMessage(stored(busy).description),
        store::notWrittenMessage(stored(failure(host::readOnlyDescription())).description),
        store::rereadMessage(store::changedDataFileMessage(u"書き換えを中止し"),
                             store::dataFileReadMessage({ReadKind::Malformed, 99})),
        store::rereadMessage(store::kListReadAgain, store::dataFileReadMessage({ReadKind::TooManyRows, 100})),
        store::rereadMessage(store::kListReadAgain, store::dataFileUnreadableMessage(access.description)),
        std::u16string(form::kNotUsable),
        std::u16string(form::kDisplayOnly),
        std::u16string(form::kMessageOnly),
        generator::tooLongMessage(),
        std::u16string(generator::kLengthRange),
        std::u16string(generator::kLengthNotDigits),
    };
    for (const auto kind :
         {ReadKind::Malformed, ReadKind::NotCodePage, ReadKind::Utf8, ReadKind::TooManyRows})
        messages.push_back(backup::backupReadMessage({kind, 99}));
    return messages;
}

} // namespace orvanta::test
