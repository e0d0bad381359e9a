// The window the benchmarks time: a data file of many entries written for the shared hive's key.
#include "BenchWindow.h"

#include "host/Utf8.h"
#include "rules/store/Decimal.h"
#include "rules/store/RowFormat.h"

#include <array>
#include <fstream>
#include <variant>

namespace orvanta::bench {

namespace {

constexpr std::array<std::u16string_view, 11> kServices{
    u"楽天市場",    u"アマゾン",     u"メルカリ",     u"ゆうちょ銀行",   u"三井住友カード",
    u"えきねっと",  u"ヨドバシ.com", u"ＮＨＫプラス", u"マイナポータル", u"住信ＳＢＩネット銀行",
    u"ふるさと納税"};
constexpr std::array<std::u16string_view, 3> kOwners{u"（個人）", u"（家族）", u"（仕事）"};
constexpr std::array<std::u16string_view, 2> kIds{u"yamada.taro", u"hanako-y"};

std::u16string destinationName(int index)
{
    return std::u16string(kServices[static_cast<std::size_t>(index) % kServices.size()]) +
           std::u16string(kOwners[static_cast<std::size_t>(index) / kServices.size()]);
}

/// Twelve characters spread over the whole usable alphabet, different for every entry.
std::u16string password(int entry)
{
    std::u16string text;
    std::uint32_t state = 2463534242u + static_cast<std::uint32_t>(entry) * 7919u;
    for (int i = 0; i < 12; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        text += cipher::UsableAlphabet[state % cipher::kAlphabetSize];
    }
    return text;
}

std::u16string address(int entry)
{
    return u"taro.yamada" + store::decimalText(entry + 1) + u"@example.jp";
}

} // namespace

BenchWindow::BenchWindow()
    : registry(host::RegistryHive::parse(kHive)),
      window({registry, environment, files, codePage, clipboard, clock, random, help, drives, timer})
{
    environment.set(u"Windir", windowsDir.u16path());
    environment.setProgramFolder(programDir.u16path());
    environment.setCurrentDirectory(rootDir.u16path());
    drives.setDrive('C', rootDir.path(), host::DRIVE_FIXED, u"ローカル ディスク (C:)");
    drives.setDrive('A', floppy.path(), host::DRIVE_REMOVABLE, u"3.5 インチ FD (A:)");
    drives.setCurrentDriveRoot(rootDir.path());
    // No psw.ini yet: this start only sets up the key, for dataFile.
    window.Form_Load();
}

std::vector<store::PswRecord> BenchWindow::plainRows()
{
    std::vector<store::PswRecord> rows;
    int entry = 0;
    for (int d = 0; d < kDestinations; ++d) {
        const auto destination = destinationName(d);
        rows.push_back({std::u16string(store::kHeaderMark), destination, u" ", u"2", u" "});
        for (const auto id : kIds) {
            rows.push_back({destination, std::u16string(id), password(entry), u" ", address(entry)});
            ++entry;
        }
    }
    return rows;
}

std::vector<store::PswRecord> BenchWindow::plainRows97()
{
    auto rows = plainRows();
    // The last two destinations' blocks are rows 93-95 and 96-98 (from 0); drop their second IDs.
    rows.erase(rows.begin() + 98);
    rows.erase(rows.begin() + 95);
    rows[93].count = u"1";
    rows[95].count = u"1";
    return rows;
}

std::string BenchWindow::dataFile(const std::vector<store::PswRecord>& plain)
{
    auto rows = plain;
    for (auto& row : rows) {
        if (row.isHeader())
            continue;
        row.password = window.encodeText(row.password);
        row.mail = window.encodeText(row.mail);
    }
    auto bytes = store::writeRows(rows, codePage);
    return std::holds_alternative<std::string>(bytes) ? std::get<std::string>(bytes) : std::string();
}

void BenchWindow::start(std::string_view bytes)
{
    windowsDir.write("psw.ini", bytes);
    window.Form_Load();
}

void BenchWindow::choose(int destinationIndex, int idIndex)
{
    window.cmbnamae.listIndex = destinationIndex;
    window.cmbnamae.setText(window.cmbnamae.selectedItem());
    window.cmbnamae_Click();
    if (idIndex >= 0) {
        window.Lstidbox.listIndex = idIndex;
        window.Lstidbox_Click();
    }
}

bool writeDataFile(const std::string& hostPath)
{
    BenchWindow bench;
    const auto bytes = bench.dataFile(BenchWindow::plainRows());
    std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return !bytes.empty() && static_cast<bool>(out);
}

} // namespace orvanta::bench
