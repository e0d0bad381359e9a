// Stands in for the Windows registry, which Linux does not have and from which the program reads the
// machine's product ID and the drives' types: a hive file in the format the Windows registry editor
// exports, read line by line into keys and values.
#include "host/linux/imitate_windows/RegistryHive.h"

#include "host/Utf8.h"
#include "host/linux/HostFolders.h"
#include "host/linux/IcuCodePage.h"
#include "host/linux/RegularFile.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <variant>
#include <vector>

namespace orvanta::host {
namespace {

constexpr std::uint32_t HKEY_CLASSES_ROOT = 0x80000000;
constexpr std::uint32_t HKEY_CURRENT_USER = 0x80000001;
constexpr std::uint32_t HKEY_USERS = 0x80000003;
constexpr std::uint32_t HKEY_CURRENT_CONFIG = 0x80000005;

constexpr std::uint32_t REG_EXPAND_SZ = 2;
constexpr std::uint32_t REG_MULTI_SZ = 7;

// A hive file is read whole; one larger than this is not a hive file.
constexpr std::size_t kMaxHiveBytes = 64 * 1024 * 1024;

// The key and the value that identify the machine, as keyPath and folded give them.
constexpr std::u16string_view kProductKey = u"software\\microsoft\\windows\\currentversion";
constexpr std::u16string_view kProductValue = u"productid";

char16_t foldAscii(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

std::u16string folded(std::u16string_view text)
{
    std::u16string out(text);
    for (char16_t& c : out)
        c = foldAscii(c);
    return out;
}

bool equalsFolded(std::u16string_view text, std::u16string_view lowerCase)
{
    if (text.size() != lowerCase.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (foldAscii(text[i]) != lowerCase[i])
            return false;
    return true;
}

bool startsWithFolded(std::u16string_view text, std::u16string_view lowerCase)
{
    return text.size() >= lowerCase.size() && equalsFolded(text.substr(0, lowerCase.size()), lowerCase);
}

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t';
}

std::u16string_view trimmed(std::u16string_view text)
{
    while (!text.empty() && (isBlank(text.front()) || text.front() == u'\r'))
        text.remove_prefix(1);
    while (!text.empty() && (isBlank(text.back()) || text.back() == u'\r'))
        text.remove_suffix(1);
    return text;
}

// "SOFTWARE\Microsoft\" and "software\microsoft" name the same key.
std::u16string keyPath(std::u16string_view path)
{
    while (!path.empty() && path.front() == u'\\')
        path.remove_prefix(1);
    while (!path.empty() && path.back() == u'\\')
        path.remove_suffix(1);
    return folded(path);
}

std::optional<std::uint32_t> rootKey(std::u16string_view name)
{
    struct Root {
        std::u16string_view longName;
        std::u16string_view shortName;
        std::uint32_t key;
    };
    static constexpr std::array<Root, 5> roots{{
        {u"hkey_local_machine", u"hklm", HKEY_LOCAL_MACHINE},
        {u"hkey_current_user", u"hkcu", HKEY_CURRENT_USER},
        {u"hkey_classes_root", u"hkcr", HKEY_CLASSES_ROOT},
        {u"hkey_users", u"hku", HKEY_USERS},
        {u"hkey_current_config", u"hkcc", HKEY_CURRENT_CONFIG},
    }};
    for (const Root& root : roots)
        if (equalsFolded(name, root.longName) || equalsFolded(name, root.shortName))
            return root.key;
    return std::nullopt;
}

std::optional<std::uint32_t> hexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return std::nullopt;
}

// One to eight hex digits, the whole of `text`.
std::optional<std::uint32_t> hexNumber(std::u16string_view text)
{
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (char16_t c : text) {
        const auto digit = hexDigit(c);
        if (!digit)
            return std::nullopt;
        value = value * 16 + *digit;
    }
    return value;
}

// "01,02,ff": bytes of one or two hex digits, separated by commas. A trailing comma is what a
// continued line leaves behind and is allowed.
std::optional<std::vector<std::uint8_t>> hexBytes(std::u16string_view text)
{
    std::vector<std::uint8_t> bytes;
    text = trimmed(text);
    if (text.empty())
        return bytes;
    while (true) {
        const std::size_t comma = text.find(u',');
        const std::u16string_view item = trimmed(text.substr(0, comma));
        if (item.size() > 2)
            return std::nullopt;
        const auto value = hexNumber(item);
        if (!value)
            return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(*value));
        if (comma == std::u16string_view::npos)
            return bytes;
        text = text.substr(comma + 1);
        if (trimmed(text).empty())
            return bytes;
    }
}

// A quoted string starting at text[0] == '"', with \\ and \" as escapes. Returns the string and the
// rest of the line after the closing quote.
std::optional<std::pair<std::u16string, std::u16string_view>> quoted(std::u16string_view text)
{
    if (text.empty() || text.front() != u'"')
        return std::nullopt;
    std::u16string value;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'"')
            return std::make_pair(std::move(value), text.substr(i + 1));
        if (c == u'\\' && i + 1 < text.size() && (text[i + 1] == u'\\' || text[i + 1] == u'"'))
            value += text[++i];
        else
            value += c;
    }
    return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> ansiText(std::u16string_view text)
{
    static const IcuCodePage codePage;
    const auto encoded = codePage.encode(text);
    const auto* bytes = std::get_if<std::string>(&encoded);
    if (bytes == nullptr)
        return std::nullopt;
    std::vector<std::uint8_t> data(bytes->begin(), bytes->end());
    return data;
}

void splitUtf16Lines(std::string_view units, std::vector<std::u16string>& lines)
{
    std::u16string line;
    for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
        const auto unit = static_cast<char16_t>(static_cast<unsigned char>(units[i]) |
                                                (static_cast<unsigned char>(units[i + 1]) << 8));
        if (unit == u'\n') {
            lines.push_back(std::move(line));
            line.clear();
        } else {
            line += unit;
        }
    }
    lines.push_back(std::move(line));
}

template <typename DecodeLine>
void splitByteLines(std::string_view text, DecodeLine decodeLine, std::vector<std::u16string>& lines)
{
    while (true) {
        const std::size_t end = text.find('\n');
        lines.push_back(decodeLine(text.substr(0, end)));
        if (end == std::string_view::npos)
            return;
        text = text.substr(end + 1);
    }
}

// A byte that does not decode becomes U+FFFD, which no value accepts: the value on that line (or
// continued onto it) is dropped rather than cut short, and its name still shows whose it was.
std::u16string ansiLine(std::string_view line)
{
    static const IcuCodePage codePage;
    std::u16string text;
    while (true) {
        const auto decoded = codePage.decode(line);
        if (const auto* whole = std::get_if<std::u16string>(&decoded))
            return text + *whole;
        const std::size_t bad = std::get<CodePageError>(decoded).position;
        if (const auto head = codePage.decode(line.substr(0, bad));
            std::holds_alternative<std::u16string>(head))
            text += std::get<std::u16string>(head);
        text += u'\uFFFD';
        line.remove_prefix(std::min(bad + 1, line.size()));
    }
}

// The text of the file as UTF-16, split into physical lines.
std::vector<std::u16string> physicalLines(std::string_view bytes)
{
    std::vector<std::u16string> lines;
    const auto splitUtf16 = [&](std::string_view units) { splitUtf16Lines(units, lines); };
    const auto splitBytes = [&](std::string_view text, auto decodeLine) {
        splitByteLines(text, decodeLine, lines);
    };
    const auto utf8Line = [](std::string_view line) { return fromUtf8(line); };

    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        splitUtf16(bytes.substr(2));
    } else if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        splitBytes(bytes.substr(3), utf8Line);
    } else if (bytes.size() >= 2 && bytes[0] != '\0' && bytes[1] == '\0') {
        // UTF-16LE that lost its byte-order mark: the header's first letter is followed by a zero.
        splitUtf16(bytes);
    } else {
        // Without a byte-order mark, a REGEDIT4 file is in the ANSI code page as the registry editor
        // wrote it; anything else is UTF-8 when it is well-formed UTF-8, as a file written on this
        // host would be.
        const bool regedit4 = bytes.substr(0, 8) == "REGEDIT4";
        const bool utf8 = fromUtf8Strict(bytes).has_value();
        const bool ansi =
            regedit4 ? !utf8 || std::holds_alternative<std::u16string>(IcuCodePage().decode(bytes)) : !utf8;
        if (ansi)
            splitBytes(bytes, &ansiLine);
        else
            splitBytes(bytes, utf8Line);
    }
    return lines;
}

// One line as the registry editor reads it: a line ending in a backslash goes on in the next line, after
// its indentation. `number` is the line of the file it starts on, counting from 1.
struct LogicalLine {
    std::size_t number = 0;
    std::u16string text;
};

std::vector<LogicalLine> logicalLines(std::string_view bytes)
{
    const std::vector<std::u16string> lines = physicalLines(bytes);
    std::vector<LogicalLine> logical;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        LogicalLine line{index + 1, std::u16string(trimmed(lines[index]))};
        while (!line.text.empty() && line.text.back() == u'\\' && index + 1 < lines.size()) {
            line.text.pop_back();
            line.text += trimmed(lines[++index]);
        }
        logical.push_back(std::move(line));
    }
    return logical;
}

// What a key line "[HKEY_LOCAL_MACHINE\SOFTWARE\...]" opens: the key's root and its path as keyPath
// gives it. Nothing for a line that deletes a key ("[-...]"), and nothing but `damaged` for a line that
// names no key.
struct KeyLine {
    std::optional<std::pair<std::uint32_t, std::u16string>> key;
    bool damaged = false;
};

KeyLine keyLine(std::u16string_view line)
{
    const std::size_t close = line.rfind(u']');
    if (close == std::u16string_view::npos || close < 2)
        return {std::nullopt, true};
    if (line[1] == u'-')
        return {};
    const std::u16string_view name = line.substr(1, close - 1);
    const std::size_t slash = name.find(u'\\');
    const auto root = rootKey(name.substr(0, slash));
    if (!root)
        return {std::nullopt, true};
    const std::u16string path =
        slash == std::u16string_view::npos ? std::u16string() : keyPath(name.substr(slash + 1));
    return {std::make_pair(*root, path), false};
}

// The value a line gives after its "=": a text, a dword or hex bytes of a type; nothing when the line
// is damaged. Text values given as hex(2) and hex(7) are UTF-16 in a version 5 file (`unicodeFile`),
// ANSI in a REGEDIT4 file.
std::optional<RegistryValue> parsedValue(std::u16string_view rest, bool unicodeFile)
{
    std::optional<RegistryValue> value;
    if (!rest.empty() && rest.front() == u'"') {
        const auto text = quoted(rest);
        if (text && trimmed(text->second).empty()) {
            if (auto data = ansiText(text->first)) {
                data->push_back(0);
                value = RegistryValue{REG_SZ, std::move(*data)};
            }
        }
    } else if (startsWithFolded(rest, u"dword:")) {
        if (const auto number = hexNumber(rest.substr(6))) {
            value = RegistryValue{
                REG_DWORD,
                {static_cast<std::uint8_t>(*number), static_cast<std::uint8_t>(*number >> 8),
                 static_cast<std::uint8_t>(*number >> 16), static_cast<std::uint8_t>(*number >> 24)}};
        }
    } else if (startsWithFolded(rest, u"hex")) {
        std::u16string_view afterHex = rest.substr(3);
        std::optional<std::uint32_t> type = REG_BINARY;
        if (!afterHex.empty() && afterHex.front() == u'(') {
            const std::size_t close = afterHex.find(u')');
            type =
                close == std::u16string_view::npos ? std::nullopt : hexNumber(afterHex.substr(1, close - 1));
            afterHex =
                close == std::u16string_view::npos ? std::u16string_view() : afterHex.substr(close + 1);
        }
        if (type && !afterHex.empty() && afterHex.front() == u':') {
            auto data = hexBytes(afterHex.substr(1));
            const bool text = *type == REG_SZ || *type == REG_EXPAND_SZ || *type == REG_MULTI_SZ;
            if (data && text && unicodeFile) {
                // The ANSI query gives text values in the ANSI code page.
                std::u16string units;
                for (std::size_t i = 0; i + 1 < data->size(); i += 2)
                    units += static_cast<char16_t>((*data)[i] | ((*data)[i + 1] << 8));
                data = ansiText(units);
            }
            if (data)
                value = RegistryValue{*type, std::move(*data)};
        }
    }
    return value;
}

// Whether a file header line says the file is a version 5 file; nothing for any other line.
std::optional<bool> unicodeHeader(std::u16string_view line)
{
    if (line == u"Windows Registry Editor Version 5.00")
        return true;
    if (line == u"REGEDIT4")
        return false;
    return std::nullopt;
}

// The folded name of the value a line sets (empty for the default value "@") and what follows its "=";
// nothing when the line sets no value.
std::optional<std::pair<std::u16string, std::u16string_view>> valueLine(std::u16string_view line)
{
    std::u16string valueName;
    std::u16string_view rest;
    if (line.front() == u'@') {
        rest = line.substr(1);
    } else if (auto name = quoted(line)) {
        valueName = folded(name->first);
        rest = name->second;
    } else {
        return std::nullopt;
    }
    rest = trimmed(rest);
    if (rest.empty() || rest.front() != u'=')
        return std::nullopt;
    return std::make_pair(std::move(valueName), trimmed(rest.substr(1)));
}

} // namespace

RegistryHive::RegistryHive(const std::string& hivePath, const std::string& machineIdPath)
    : m_source(fromUtf8(hivePath))
{
    // A hive file that is not there is a hive without values, and no problem.
    const auto file = readRegularFile(hivePath, kMaxHiveBytes);
    if (file)
        load(file.value());
    else if (file.failure().kind != Failure::Kind::NotFound)
        m_fileProblem = file.failure().description;
    readMachineId(machineIdPath);
}

RegistryHive RegistryHive::parse(std::string_view bytes, const std::string& machineIdPath)
{
    RegistryHive hive;
    hive.load(bytes.substr(0, kMaxHiveBytes));
    hive.readMachineId(machineIdPath);
    return hive;
}

std::string RegistryHive::defaultPath()
{
    std::string path = hostVariable("ORVANTA_REGISTRY");
    if (!path.empty())
        return path;
    return configFolder() + "/registry.reg";
}

void RegistryHive::load(std::string_view bytes)
{
    // Text values given as hex(2) and hex(7) are UTF-16 in a version 5 file, ANSI in a REGEDIT4 file.
    bool unicodeFile = false;
    std::map<std::u16string, RegistryValue>* key = nullptr;
    // A ProductId line is damaged when it is in the product key, or under a key line that is itself
    // damaged, and gives no value.
    bool inProductKey = false;
    bool afterDamagedKeyLine = false;

    for (const auto& [lineNumber, logical] : logicalLines(bytes)) {
        const std::u16string_view line = logical;
        if (line.empty() || line.front() == u';')
            continue;
        if (const auto header = unicodeHeader(line)) {
            unicodeFile = *header;
            continue;
        }
        if (line.front() == u'[') {
            const KeyLine opened = keyLine(line);
            afterDamagedKeyLine = opened.damaged;
            key = opened.key ? &m_keys[*opened.key] : nullptr;
            inProductKey =
                opened.key && opened.key->first == HKEY_LOCAL_MACHINE && opened.key->second == kProductKey;
            continue;
        }
        const bool productIdLine =
            (inProductKey || afterDamagedKeyLine) && startsWithFolded(line, u"\"productid");
        const auto damaged = [&, number = lineNumber] {
            if (productIdLine && !m_damagedProductIdLine)
                m_damagedProductIdLine = number;
        };
        const auto assignment = key != nullptr ? valueLine(line) : std::nullopt;
        if (!assignment) {
            damaged();
            continue;
        }
        const auto& [valueName, rest] = *assignment;
        if (rest == u"-") {
            key->erase(valueName);
            continue;
        }
        std::optional<RegistryValue> value = parsedValue(rest, unicodeFile);
        if (value && inProductKey && valueName == kProductValue && value->type != REG_SZ) {
            // A number or bytes in the product ID's place is no product ID: read as one it would give
            // a key other than the machine's own. The value goes, as a later import would replace it.
            key->erase(valueName);
            if (!m_damagedProductIdLine)
                m_damagedProductIdLine = lineNumber;
        } else if (value) {
            (*key)[valueName] = std::move(*value);
        } else {
            damaged();
        }
    }
}

void RegistryHive::readMachineId(const std::string& machineIdPath)
{
    if (machineIdPath.empty())
        return;
    std::ifstream file(machineIdPath, std::ios::binary);
    std::string id;
    if (!file || !std::getline(file, id))
        return;
    while (!id.empty() && (id.back() == '\r' || id.back() == ' ' || id.back() == '\t'))
        id.pop_back();
    // systemd writes "uninitialized" there early in the first boot.
    if (id.empty() || id == "uninitialized" || id.size() > 1024)
        return;
    // FNV-1a over a text of the program's own, so the product ID tells nothing about the machine
    // identifier and matches no other program's derivation from it.
    const auto fnv = [](std::string_view text) {
        std::uint64_t hash = 14695981039346656037ULL;
        for (char c : text) {
            hash ^= static_cast<unsigned char>(c);
            hash *= 1099511628211ULL;
        }
        return hash;
    };
    constexpr std::uint64_t tenDigits = 10000000000ULL;
    const std::string first =
        std::to_string(fnv("orvanta-product-id:" + id) % tenDigits + tenDigits).substr(1);
    const std::string second =
        std::to_string(fnv("orvanta-product-id:2:" + id) % tenDigits + tenDigits).substr(1);
    const std::string digits = first + second;
    // The form of a Windows product ID: 5-3-7-5 digits.
    const std::string productId = digits.substr(0, 5) + "-" + digits.substr(5, 3) + "-" +
                                  digits.substr(8, 7) + "-" + digits.substr(15, 5);
    RegistryValue value{REG_SZ, std::vector<std::uint8_t>(productId.begin(), productId.end())};
    value.data.push_back(0);
    m_productId = std::move(value);
}

std::optional<RegistryValue> RegistryHive::queryValue(std::uint32_t root, std::u16string_view subKey,
                                                      std::u16string_view valueName) const
{
    const std::u16string path = keyPath(subKey);
    const std::u16string name = folded(valueName);
    if (const auto key = m_keys.find(KeyName{root, path}); key != m_keys.end()) {
        if (const auto value = key->second.find(name); value != key->second.end())
            return value->second;
    }
    if (root == HKEY_LOCAL_MACHINE && path == kProductKey && name == kProductValue)
        return m_productId;
    return std::nullopt;
}

std::optional<RegistryProblem> RegistryHive::problem() const
{
    // Named by the file's name alone, so that the start-up message stays whole in its box.
    const auto slash = m_source.find_last_of(u'/');
    auto name = slash == std::u16string::npos ? m_source : m_source.substr(slash + 1);
    if (name.empty())
        name = u"レジストリ";
    if (m_fileProblem)
        return RegistryProblem{m_source, name + u"：" + *m_fileProblem};
    if (!m_damagedProductIdLine)
        return std::nullopt;
    // A later line that gives the value puts a damaged one right, as an import of the file would.
    if (const auto key = m_keys.find(KeyName{HKEY_LOCAL_MACHINE, std::u16string(kProductKey)});
        key != m_keys.end() && key->second.contains(std::u16string(kProductValue)))
        return std::nullopt;
    const auto number = std::to_string(*m_damagedProductIdLine);
    return RegistryProblem{m_source, name + u" の " + std::u16string(number.begin(), number.end()) +
                                         u" 行目が壊れています。"};
}

std::size_t RegistryHive::valueCount() const
{
    std::size_t count = 0;
    for (const auto& key : m_keys)
        count += key.second.size();
    return count;
}

} // namespace orvanta::host
