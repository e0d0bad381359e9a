// The registry hive file: its formats, and the product ID read out of it or reported as damaged.
#include "host/linux/imitate_windows/RegistryHive.h"

#include "host/Utf8.h"
#include "host/linux/IcuCodePage.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <sys/stat.h>
#include <unistd.h>

namespace orvanta::host {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

std::string utf16le(std::u16string_view text, bool byteOrderMark = true)
{
    std::string bytes = byteOrderMark ? "\xFF\xFE" : "";
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::string cp932(std::u16string_view text)
{
    return std::get<std::string>(IcuCodePage().encode(text));
}

std::string utf8(std::u16string_view text)
{
    return *toUtf8(text);
}

constexpr std::u16string_view kTestKey = u"SOFTWARE\\Orvanta\\Test";

std::optional<RegistryValue> query(const RegistryHive& hive, std::u16string_view name,
                                   std::u16string_view key = kTestKey)
{
    return hive.queryValue(HKEY_LOCAL_MACHINE, key, name);
}

// The same hive in each of the forms the registry editor writes, and as a file written on this host.
const std::u16string kBody = u"\r\n"
                             u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvanta\\Test]\r\n"
                             u"\"Name\"=\"パスワード①～\"\r\n"
                             u"\"Count\"=dword:0000002a\r\n"
                             u"\"Blob\"=hex:01,02,ff\r\n"
                             u"@=\"既定\"\r\n";

struct Form {
    const char* what;
    std::string bytes;
};

std::vector<Form> forms()
{
    const std::u16string v5 = u"Windows Registry Editor Version 5.00\r\n" + kBody;
    const std::u16string v4 = u"REGEDIT4\r\n" + kBody;
    return {
        {"UTF-16LE with byte-order mark", utf16le(v5)},
        {"UTF-16LE without byte-order mark", utf16le(v5, false)},
        {"REGEDIT4 in code page 932", cp932(v4)},
        {"UTF-8 with byte-order mark", "\xEF\xBB\xBF" + utf8(v5)},
        {"UTF-8 without byte-order mark", utf8(v5)},
        {"REGEDIT4 in UTF-8", utf8(v4)},
        {"LF line ends",
         utf8(u"Windows Registry Editor Version 5.00\n[HKLM\\SOFTWARE\\Orvanta\\Test]\n"
              u"\"Name\"=\"パスワード①～\"\n\"Count\"=dword:2a\n\"Blob\"=hex:1,2,FF\n@=\"既定\"")},
    };
}

TEST(RegistryHive, ReadsEveryFormOfTheFile)
{
    for (const Form& form : forms()) {
        SCOPED_TRACE(form.what);
        const RegistryHive hive = RegistryHive::parse(form.bytes);
        EXPECT_EQ(hive.valueCount(), 4u);

        const auto name = query(hive, u"Name");
        ASSERT_TRUE(name);
        EXPECT_EQ(name->type, REG_SZ);
        EXPECT_EQ(name->data,
                  bytesOf(std::string_view("\x83\x70\x83\x58\x83\x8F\x81\x5B\x83\x68\x87\x40\x81\x60", 15)));

        const auto count = query(hive, u"Count");
        ASSERT_TRUE(count);
        EXPECT_EQ(count->type, REG_DWORD);
        EXPECT_EQ(count->data, (Bytes{0x2A, 0, 0, 0}));

        const auto blob = query(hive, u"Blob");
        ASSERT_TRUE(blob);
        EXPECT_EQ(blob->type, REG_BINARY);
        EXPECT_EQ(blob->data, (Bytes{1, 2, 0xFF}));

        const auto standard = query(hive, u"");
        ASSERT_TRUE(standard);
        EXPECT_EQ(standard->data, bytesOf(std::string_view("\x8A\xF9\x92\xE8", 5)));
    }
}

TEST(RegistryHive, KeysAndNamesIgnoreAsciiCase)
{
    const RegistryHive hive =
        RegistryHive::parse("REGEDIT4\n[hklm\\software\\ORVANTA\\test]\n\"ProductName\"=\"x\"\n");
    for (const auto& [key, name] : std::vector<std::pair<std::u16string, std::u16string>>{
             {u"SOFTWARE\\Orvanta\\Test", u"ProductName"},
             {u"software\\orvanta\\test", u"PRODUCTNAME"},
             {u"\\Software\\Orvanta\\Test\\", u"productname"},
         }) {
        EXPECT_TRUE(query(hive, name, key));
    }
    EXPECT_FALSE(hive.queryValue(HKEY_LOCAL_MACHINE + 1, u"Software\\Orvanta\\Test", u"ProductName"));
    EXPECT_FALSE(query(hive, u"ProductName", u"Software\\Orvanta"));
    EXPECT_FALSE(query(hive, u"ProductNam"));
}

TEST(RegistryHive, ReadsValueTypes)
{
    const std::u16string text = u"Windows Registry Editor Version 5.00\r\n"
                                u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvanta\\Test]\r\n"
                                u"\"Max\"=dword:FFFFFFFF\r\n"
                                u"\"Short\"=dword:7\r\n"
                                u"\"Empty\"=hex:\r\n"
                                u"\"Long\"=hex:01,02,\\\r\n"
                                u"  03,04,\\\r\n"
                                u"\t05\r\n"
                                u"\"Quad\"=hex(b):01,00,00,00,00,00,00,80\r\n"
                                u"\"None\"=hex(0):\r\n"
                                u"\"Expand\"=hex(2):25,00,41,00,25,00,00,00\r\n"
                                u"\"Multi\"=hex(7):61,00,00,00,42,30,00,00,00,00\r\n"
                                u"\"Path\"=\"C:\\\\Program Files\\\\\\\"x\\\"\"\r\n"
                                u"\"Say \\\"hi\\\"\"=\"ok\"\r\n";
    const RegistryHive hive = RegistryHive::parse(utf16le(text));
    const struct {
        std::u16string name;
        std::uint32_t type;
        Bytes data;
    } cases[] = {
        {u"Max", REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}},
        {u"Short", REG_DWORD, {7, 0, 0, 0}},
        {u"Empty", REG_BINARY, {}},
        {u"Long", REG_BINARY, {1, 2, 3, 4, 5}},
        {u"Quad", 11, {1, 0, 0, 0, 0, 0, 0, 0x80}},
        {u"None", 0, {}},
        // Text values read through the ANSI query come in code page 932.
        {u"Expand", 2, bytesOf(std::string_view("%A%\0", 4))},
        {u"Multi", 7, bytesOf(std::string_view("a\0\x82\xA0\0\0", 6))},
        {u"Path", REG_SZ, bytesOf(std::string_view("C:\\Program Files\\\"x\"\0", 21))},
        {u"Say \"hi\"", REG_SZ, bytesOf(std::string_view("ok\0", 3))},
    };
    for (const auto& c : cases) {
        const auto value = query(hive, c.name);
        ASSERT_TRUE(value) << utf8(c.name);
        EXPECT_EQ(value->type, c.type) << utf8(c.name);
        EXPECT_EQ(value->data, c.data) << utf8(c.name);
    }
}

TEST(RegistryHive, Regedit4TextValuesStayAnsi)
{
    const RegistryHive hive =
        RegistryHive::parse("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvanta\\Test]\r\n"
                            "\"Expand\"=hex(2):25,41,25,00\r\n\"Title\"=\"\x93\xFA\x96\x7B\x8C\xEA\"\r\n");
    EXPECT_EQ(query(hive, u"Expand")->data, bytesOf(std::string_view("%A%\0", 4)));
    EXPECT_EQ(query(hive, u"Title")->data, bytesOf(std::string_view("\x93\xFA\x96\x7B\x8C\xEA\0", 7)));
}

TEST(RegistryHive, SkipsWhatItDoesNotUnderstand)
{
    const std::string text = "Windows Registry Editor Version 5.00\n"
                             "\"Orphan\"=\"before any key\"\n"
                             "[HKEY_NOWHERE\\SOFTWARE\\Orvanta\\Test]\n"
                             "\"Nowhere\"=\"x\"\n"
                             "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvanta\\Test]\n"
                             "\"Deleted\"=\"x\"\n"
                             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvanta\\Test]\n"
                             "; \"Comment\"=\"x\"\n"
                             "\"TooLong\"=dword:123456789\n"
                             "\"NotHex\"=hex:1g\n"
                             "\"BigByte\"=hex:100\n"
                             "\"Gap\"=hex:01,,02\n"
                             "\"Open\"=\"no end\n"
                             "\"Trailing\"=\"x\" y\n"
                             "\"NoEquals\" \"x\"\n"
                             "\"Unknown\"=qword:1\n"
                             "\"Emoji\"=\"😀\"\n"
                             "\"Replaced\"=\"old\"\n"
                             "\"Replaced\"=\"new\"\n"
                             "\"Removed\"=\"x\"\n"
                             "\"Removed\"=-\n"
                             "\"Kept\" = dword:1\n";
    const RegistryHive hive = RegistryHive::parse(text);
    for (const auto* name : {u"Orphan", u"Nowhere", u"Deleted", u"Comment", u"TooLong", u"NotHex", u"BigByte",
                             u"Gap", u"Open", u"Trailing", u"NoEquals", u"Unknown", u"Emoji", u"Removed"}) {
        EXPECT_FALSE(query(hive, name)) << utf8(name);
    }
    EXPECT_EQ(query(hive, u"Replaced")->data, bytesOf(std::string_view("new\0", 4)));
    EXPECT_EQ(query(hive, u"Kept")->data, (Bytes{1, 0, 0, 0}));
    EXPECT_EQ(hive.valueCount(), 2u);
}

TEST(RegistryHive, ALineThatDoesNotDecodeLosesOnlyItsValue)
{
    // The second value's continuation holds a byte that is no character of code page 932.
    const RegistryHive hive =
        RegistryHive::parse("REGEDIT4\r\n[HKLM\\SOFTWARE\\Orvanta\\Test]\r\n\"A\"=\"\x82\xA0\"\r\n"
                            "\"B\"=hex:01,\\\r\n  02 \xFF\r\n\"C\"=dword:3\r\n");
    EXPECT_TRUE(query(hive, u"A"));
    EXPECT_FALSE(query(hive, u"B"));
    EXPECT_TRUE(query(hive, u"C"));
}

TEST(RegistryHive, AnyBytesAreReadWithoutHarm)
{
    // A small deterministic generator: the same inputs on every run.
    std::uint32_t state = 12345;
    const auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return state >> 16;
    };
    const std::string sample =
        utf16le(u"Windows Registry Editor Version 5.00\r\n" + kBody) + cp932(u"REGEDIT4\r\n" + kBody);
    static constexpr char kAlphabet[] =
        "[]\\\"@=:,;-()hexdword0123456789abcdefHKLM\r\n \t\xFF\xFE\x81\x82\x00";
    const std::string alphabet(kAlphabet, sizeof kAlphabet - 1);
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        if (round % 2 == 0) {
            bytes = sample.substr(next() % sample.size());
            for (int flips = next() % 8; flips > 0; --flips) {
                bytes[next() % bytes.size()] = static_cast<char>(next());
            }
        } else {
            for (std::uint32_t length = next() % 300; length > 0; --length) {
                bytes += alphabet[next() % alphabet.size()];
            }
        }
        const RegistryHive hive = RegistryHive::parse(bytes);
        (void)query(hive, u"Name");
        EXPECT_LE(hive.valueCount(), bytes.size());
    }
}

// The program identifies the machine by the product ID; a host without one derives it.
class ProductId : public ::testing::Test {
protected:
    std::optional<RegistryValue> productId(const RegistryHive& hive) const
    {
        return hive.queryValue(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                               u"ProductId");
    }
    std::string idFile(std::string_view name, std::string_view id) const
    {
        m_dir.write(name, id);
        return m_dir.file(name);
    }
    static std::string text(const RegistryValue& value)
    {
        return std::string(value.data.begin(), value.data.end());
    }

    test::TempDir m_dir;
};

TEST_F(ProductId, DerivedFromTheMachineIdentifier)
{
    const std::string machine = "0123456789abcdef0123456789abcdef";
    const auto value = productId(RegistryHive::parse("", idFile("machine-id", machine + "\n")));
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, REG_SZ);
    ASSERT_FALSE(value->data.empty());
    EXPECT_EQ(value->data.back(), 0);
    const std::string id = text(*value).substr(0, value->data.size() - 1);
    EXPECT_TRUE(std::regex_match(id, std::regex("[0-9]{5}-[0-9]{3}-[0-9]{7}-[0-9]{5}"))) << id;
    EXPECT_EQ(id.find("0123456789abcdef"), std::string::npos);
}

TEST_F(ProductId, StableForAMachineAndDifferentAcrossMachines)
{
    const std::string first = idFile("first", "0123456789abcdef0123456789abcdef\n");
    const std::string same = idFile("same", "0123456789abcdef0123456789abcdef");
    const std::string other = idFile("other", "fedcba9876543210fedcba9876543210\n");
    const auto a = productId(RegistryHive::parse("", first));
    const auto b = productId(RegistryHive::parse("", same));
    const auto c = productId(RegistryHive::parse("", other));
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(a->data, b->data);
    EXPECT_NE(a->data, c->data);
    // Asked differently, still the same value.
    const auto d = RegistryHive::parse("", first).queryValue(
        HKEY_LOCAL_MACHINE, u"software\\microsoft\\windows\\currentversion\\", u"PRODUCTID");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->data, a->data);
}

TEST_F(ProductId, AbsentWithoutMachineIdentifier)
{
    EXPECT_FALSE(productId(RegistryHive::parse("")));
    EXPECT_FALSE(productId(RegistryHive::parse("", m_dir.file("missing"))));
    EXPECT_FALSE(productId(RegistryHive::parse("", idFile("empty", "\n"))));
    EXPECT_FALSE(productId(RegistryHive::parse("", idFile("early", "uninitialized\n"))));
}

TEST_F(ProductId, TheHiveValueWins)
{
    const RegistryHive hive =
        RegistryHive::parse("REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]"
                            "\n\"ProductId\"=\"12345-OEM-0000001-00001\"\n",
                            idFile("machine-id", "0123456789abcdef0123456789abcdef\n"));
    const auto value = productId(hive);
    ASSERT_TRUE(value);
    EXPECT_EQ(text(*value), std::string("12345-OEM-0000001-00001", 24));
}

TEST_F(ProductId, OnlyForTheProductIdValue)
{
    const RegistryHive hive =
        RegistryHive::parse("", idFile("machine-id", "0123456789abcdef0123456789abcdef\n"));
    EXPECT_FALSE(
        hive.queryValue(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", u"ProductName"));
    EXPECT_FALSE(hive.queryValue(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Microsoft\\Windows", u"ProductId"));
    EXPECT_FALSE(hive.queryValue(HKEY_LOCAL_MACHINE + 1, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                 u"ProductId"));
}

TEST(RegistryHiveFile, ReadsTheFileAndToleratesItsAbsence)
{
    const test::TempDir dir;
    dir.write("registry.reg", utf16le(u"Windows Registry Editor Version 5.00\r\n" + kBody));
    const RegistryHive hive(dir.file("registry.reg"), "");
    EXPECT_EQ(hive.valueCount(), 4u);
    EXPECT_TRUE(query(hive, u"Count"));

    const RegistryHive missing(dir.file("nothing.reg"), "");
    EXPECT_EQ(missing.valueCount(), 0u);
    EXPECT_FALSE(query(missing, u"Count"));

    const RegistryHive folder(dir.path(), "");
    EXPECT_EQ(folder.valueCount(), 0u);
}

} // namespace
} // namespace orvanta::host

namespace orvanta::host {
namespace {

const std::string kProductKeyLine = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\r\n";

// Hive files that are there but cannot be read: a pipe, links, a file too large, one without
// permission, a folder.
void placeUnreadableHives(const test::TempDir& dir)
{
    ASSERT_EQ(::mkfifo(dir.file("pipe.reg").c_str(), 0600), 0);
    ASSERT_EQ(::symlink(dir.file("gone.reg").c_str(), dir.file("dangling.reg").c_str()), 0);
    ASSERT_EQ(::symlink(dir.file("good.reg").c_str(), dir.file("link.reg").c_str()), 0);
    ::close(::open(dir.file("huge.reg").c_str(), O_CREAT | O_WRONLY, 0600));
    ASSERT_EQ(::truncate(dir.file("huge.reg").c_str(), 64 * 1024 * 1024 + 1), 0);
    dir.write("locked.reg", "REGEDIT4\r\n");
    ASSERT_EQ(::chmod(dir.file("locked.reg").c_str(), 0), 0);
    dir.write("folder.reg/x", "");
}

// A hive file that is there but does not give the product ID: the machine's key is then a fallback,
// and the hive says which file and what is wrong, without hanging on a pipe or reading a device.
TEST(RegistryHiveFile, SaysWhyTheProductIdCouldNotBeRead)
{
    const test::TempDir dir;
    dir.write("machine-id", "0123456789abcdef0123456789abcdef\n");
    const auto fallback =
        RegistryHive::parse("", dir.file("machine-id"))
            .queryValue(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", u"ProductId");
    ASSERT_TRUE(fallback);
    ASSERT_NO_FATAL_FAILURE(placeUnreadableHives(dir));

    const struct {
        const char* what;
        std::string path;
        std::string bytes; ///< written to the path first when not empty
        std::optional<std::u16string> problem;
    } cases[] = {
        {"missing: the machine's own identifier, as without a hive", dir.file("none.reg"), "", std::nullopt},
        {"a good value", dir.file("good.reg"),
         "REGEDIT4\r\n" + kProductKeyLine + "\"ProductId\"=\"1-2-3-45\"\r\n", std::nullopt},
        {"a link to a good file", dir.file("link.reg"), "", std::nullopt},
        {"a pipe", dir.file("pipe.reg"), "", u"：通常のファイルではありません（名前付きパイプ）。"},
        {"a device", "/dev/zero", "", u"：通常のファイルではありません（デバイス）。"},
        {"a folder", dir.file("folder.reg"), "", u"：ファイルではなくフォルダーが指定されました。"},
        {"a dangling link", dir.file("dangling.reg"), "", u"：リンク先のファイルがありません。"},
        {"too large", dir.file("huge.reg"), "", u"：ファイルが大きすぎます（64 MiB まで）。"},
        {"no permission", dir.file("locked.reg"), "",
         ::geteuid() == 0 ? std::nullopt : std::optional<std::u16string>(u"：アクセスが拒否されました。")},
        {"a value without its closing quote", dir.file("open.reg"),
         "REGEDIT4\r\n" + kProductKeyLine + "\"ProductId\"=\"12345-OEM\r\n", u" の 3 行目が壊れています。"},
        {"a name without its closing quote", dir.file("name.reg"),
         "REGEDIT4\r\n\r\n" + kProductKeyLine + "\"ProductId=\"1-2-3-45\"\r\n",
         u" の 4 行目が壊れています。"},
        {"a byte that is no character", dir.file("byte.reg"),
         "REGEDIT4\r\n" + kProductKeyLine + "\"ProductId\"=\"1-2-\xFF-45\"\r\n",
         u" の 3 行目が壊れています。"},
        {"a damaged key line above it", dir.file("key.reg"),
         "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\r\n"
         "\"ProductId\"=\"1-2-3-45\"\r\n",
         u" の 3 行目が壊れています。"},
        {"bad hex", dir.file("hex.reg"), "REGEDIT4\r\n" + kProductKeyLine + "\"ProductId\"=hex:zz\r\n",
         u" の 3 行目が壊れています。"},
        // A number or bytes would give a key other than the machine's own.
        {"a number", dir.file("dword.reg"),
         "REGEDIT4\r\n" + kProductKeyLine + "\"ProductId\"=dword:00000042\r\n",
         u" の 3 行目が壊れています。"},
        {"bytes after a good text", dir.file("bytes.reg"),
         "REGEDIT4\r\n" + kProductKeyLine + "\"ProductId\"=\"1-2-3-45\"\r\n\"ProductId\"=hex:31,32\r\n",
         u" の 4 行目が壊れています。"},
        {"a damaged line put right by a later one", dir.file("later.reg"),
         "REGEDIT4\r\n" + kProductKeyLine + "\"ProductId\"=hex:zz\r\n\"ProductId\"=\"1-2-3-45\"\r\n",
         std::nullopt},
        {"a damaged ProductId of another key", dir.file("other.reg"),
         "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
         "\"ProductId\"=hex:zz\r\n",
         std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.bytes.empty())
            dir.write(c.path.substr(dir.path().size() + 1), c.bytes);
        const RegistryHive hive(c.path, dir.file("machine-id"));
        const auto problem = hive.problem();
        ASSERT_EQ(problem.has_value(), c.problem.has_value());
        if (!problem)
            continue;
        EXPECT_EQ(problem->source, fromUtf8(c.path));
        EXPECT_EQ(problem->what, fromUtf8(std::filesystem::path(c.path).filename().string()) + *c.problem);
        // The key then rests on the machine identifier.
        const auto value = hive.queryValue(HKEY_LOCAL_MACHINE,
                                           u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", u"ProductId");
        ASSERT_TRUE(value);
        EXPECT_EQ(value->data, fallback->data);
    }
}

} // namespace
} // namespace orvanta::host
