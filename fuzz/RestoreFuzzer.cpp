// ロード on any psw.bkp: the window must never crash, and either load the backup whole (every
// password stored again with this machine's key, reading back as it was in the backup, and the
// addresses too when they tell the backup's key) or refuse
// it and leave psw.ini and the window's rows exactly as they were.
#include "FuzzWindow.h"
#include "Promises.h"
#include "rules/backup/MailKey.h"
#include "rules/cipher/StoredForm.h"
#include "rules/store/RowFormat.h"

#include <cstdint>

namespace {

using namespace orvanta;

constexpr orvanta::fuzz::Promises check{"restore"};

/// The data file the window starts with: one destination with one entry, stored with its key.
const std::string& startingFile()
{
    static const std::string bytes = [] {
        fuzz::FuzzWindow maker;
        const auto password = maker.window.encodeText(u"Pass1!");
        const std::vector<store::PswRecord> rows{{u"hyoujimark", u"Mail", u" ", u"1", u" "},
                                                 {u"Mail", u"taro", password, u" ", u""}};
        return std::get<std::string>(store::writeRows(rows, maker.codePage));
    }();
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string backup(reinterpret_cast<const char*>(data), size);
    fuzz::FuzzWindow machine(startingFile());
    machine.files.files[std::u16string(fuzz::kBackupFile)] = backup;
    const auto rowsBefore = machine.window.records;

    machine.window.btnload_Click();

    const auto& files = machine.files.files;
    const auto dataFile = files.find(std::u16string(fuzz::kDataFile));
    check(dataFile != files.end(), "psw.ini is gone");
    const auto& message = machine.window.Txtmassage.text();
    if (!message.starts_with(u"ＬＯＡＤ完了")) {
        check(dataFile->second == startingFile(), "a refused load changed psw.ini");
        check(machine.window.inputkensu == 2, "a refused load changed the row count");
        for (long long slot = 0; slot <= store::kMaxRows; ++slot)
            check(machine.window.records[slot] == rowsBefore[slot],
                  "a refused load changed the window's rows");
        return 0;
    }

    const auto inBackup = store::readRows(backup, machine.codePage);
    const auto loaded = store::readRows(dataFile->second, machine.codePage);
    check(!inBackup.problem, "a backup that did not read cleanly was loaded");
    check(!loaded.problem, "the loaded psw.ini does not read cleanly");
    check(loaded.rows.size() == inBackup.rows.size(), "the load lost or added rows");
    check(machine.window.inputkensu == static_cast<long long>(loaded.rows.size()),
          "the window does not count the loaded rows");
    // Addresses stored with another key that they tell are stored again with this machine's, and
    // the message says so; every other mail field is loaded as it stands.
    const auto mailKey = backup::foreignMailKey(inBackup.rows, rowsBefore.rows(2), machine.window.X.number);
    check((message != u"ＬＯＡＤ完了") == mailKey.has_value(), "the message does not match the addresses");
    const auto oldTable = cipher::codeTableFor(mailKey.value_or(0));
    for (std::size_t i = 0; i < loaded.rows.size(); ++i) {
        const auto& was = inBackup.rows[i];
        const auto& now = loaded.rows[i];
        const auto address = cipher::decode(oldTable, was.mail);
        check(now.owner == was.owner && now.name == was.name && now.count == was.count &&
                  (mailKey && !was.isHeader() && !address.empty()
                       ? machine.window.decodeText(now.mail) == address
                       : now.mail == was.mail),
              "a loaded row differs from the backup beyond its password and address");
        check(machine.window.decodeText(now.password) == was.password,
              "a loaded password does not read back as the backup's");
    }
    return 0;
}
