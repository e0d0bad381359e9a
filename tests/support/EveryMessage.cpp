#include "EveryMessage.h"

#include "form/Messages.h"
#include "host/ErrorDescription.h"
#include "host/FileRules.h"
#include "rules/backup/Messages.h"
#include "rules/store/Messages.h"
#include "rules/store/PswRecord.h"
#include "rules/store/RowChecks.h"
#include "rules/store/RowFormat.h"

#include <cerrno>

namespace orvanta::test {

std::vector<std::u16string> everyMessage()
{
    using platform::Failure;
    const Failure access{Failure::Kind::Other, platform::errorDescription(EACCES)};
    const Failure full{Failure::Kind::Other, platform::errorDescription(ENOSPC)};
    // A destination and an ID as long as a user's usually are; the longest folders the backup writes to.
    const std::u16string destination = u"三井住友銀行";
    const std::u16string id = u"hanako.yamada";
    const std::u16string stick = u"/media/hanako/KINGSTON-32GB/";
    const std::u16string list = u"A:\\20261208123456_psw.csv";
    const std::u16string help = u"C:\\Program Files\\Orvanta\\ORVANTA.HLP";
    const auto rows = [&](store::RowsProblem::Kind kind) {
        return u"中止しました：" + store::rowsProblemText({kind, destination, id, u"12", 11});
    };
    using RowsKind = store::RowsProblem::Kind;
    return {
        u"暗号化キーは、自動で 07 を設定しました。",
        u"製品IDから暗号化キーを得られないため、固定キー 00 を設定しました。",
        app::keyProblemMessage(u"ProductId が REG_DWORD_BIG_ENDIAN です。", u"00"),
        app::keyProblemMessage(u"registry.reg の 12345 行目が壊れています。", u"00"),
        app::keyProblemMessage(u"registry.reg：" + access.description, u"00"),
        app::keyProblemMessage(u"registry.reg：" + platform::tooLargeDescription(), u"00"),
        backup::keyProblemRefusal(backup::notBackedUp()),
        backup::keyProblemRefusal(backup::notLoaded()),
        backup::emptyDataFileRefusal(),
        app::helpMissingMessage(help),
        app::helpUnreadableMessage(help, access.description),
        app::unexpectedErrorMessage(u"std::bad_alloc"),
        backup::backupDoneMessage(stick),
        backup::fallbackFailureMessage(u"/home/hanako/psw.bkp", access),
        backup::listFailureMessage(backup::floppyFailureMessage(list, access)),
        backup::listFailureMessage(backup::floppyFailureMessage(list, full)),
        store::changedDataFileMessage(u"書き換えを中止し"),
        store::changedDataFileMessage(u"ロードを中止し"),
        u"psw.ini が他で変更されていました。IDの一覧を読み直しました。IDを選び直して下さい。",
        u"登録先「" + destination + u"」のID「" + id + u"」の行が変わったため、削除を中止しました。",
        u"登録先「" + destination + u"」のID「" + id + u"」がないため、更新を中止しました。",
        u"メールアドレスに使えない文字（全角空白）があります。利用可能文字と「@」のみ使えます。",
        u"パスワードに使えない文字（空白）があります。利用可能文字のみ使えます。",
        store::dataFileReadMessage({store::RowFileProblem::Kind::Malformed, 99}),
        store::dataFileReadMessage({store::RowFileProblem::Kind::NotCodePage, 99}),
        store::dataFileReadMessage({store::RowFileProblem::Kind::Utf8, 1}),
        store::dataFileReadMessage({store::RowFileProblem::Kind::TooManyRows, 100}),
        store::windirProblemMessage(u"UTF-8 ではありません") + std::u16string(store::kNoDataFile),
        rows(RowsKind::DuplicatePair),
        rows(RowsKind::DuplicateHeader),
        rows(RowsKind::CountMismatch),
        rows(RowsKind::HeaderWithoutEntries),
        rows(RowsKind::EntryWithoutHeader),
        store::notWrittenMessage(full.description),
        platform::busyDescription(),
        u"登録件数が" + store::rowLimitText() + u"に達しているため、登録できません。",
        std::u16string(store::kUnsoundDataFile),
        store::rowWriteRefusal({store::RowWriteProblem::Kind::NotCodePage, 98, u"〜"}),
        store::dataFileUnreadableMessage(access.description),
        u"元のデータファイルを残せないため、" + backup::notLoaded(),
        u"桁数が大きすぎます。20 桁以下で指定して下さい。",
    };
}

} // namespace orvanta::test
