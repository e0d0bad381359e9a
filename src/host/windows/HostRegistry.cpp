// The Windows registry read through the ANSI query, in the 32-bit view the product ID lives in.
#include "host/windows/HostRegistry.h"

#include <string>
#include <windows.h>

namespace orvanta::host {
namespace {

// A key path or value name in the ANSI code page, as the ANSI query takes it; nothing when the name
// holds a character the code page cannot (no key of that name can be reached this way).
std::optional<std::string> ansiName(std::u16string_view name)
{
    if (name.empty())
        return std::string();
    if (name.find(u'\0') != std::u16string_view::npos || name.size() > 0xFFFF)
        return std::nullopt;
    const auto* source = reinterpret_cast<const wchar_t*>(name.data());
    const int sourceLength = static_cast<int>(name.size());
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, source, sourceLength, nullptr, 0,
                                           nullptr, &usedDefault);
    if (length <= 0 || usedDefault)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, source, sourceLength, bytes.data(), length, nullptr,
                            &usedDefault) != length ||
        usedDefault)
        return std::nullopt;
    return bytes;
}

class Key {
public:
    explicit Key(HKEY key) : m_key(key) {}
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key() { RegCloseKey(m_key); }
    HKEY get() const { return m_key; }

private:
    HKEY m_key;
};

// The names regedit gives the value types.
std::u16string typeName(std::uint32_t type)
{
    switch (type) {
    case REG_NONE:
        return u"REG_NONE";
    case REG_EXPAND_SZ:
        return u"REG_EXPAND_SZ";
    case REG_BINARY:
        return u"REG_BINARY";
    case REG_DWORD:
        return u"REG_DWORD";
    case REG_DWORD_BIG_ENDIAN:
        return u"REG_DWORD_BIG_ENDIAN";
    case REG_LINK:
        return u"REG_LINK";
    case REG_MULTI_SZ:
        return u"REG_MULTI_SZ";
    case REG_QWORD:
        return u"REG_QWORD";
    default:
        break;
    }
    const std::string number = std::to_string(type);
    return u"種類 " + std::u16string(number.begin(), number.end());
}

// Whether this process sees the registry of 64-bit Windows, where the 32-bit view is a key of its own.
bool onWindows64()
{
    if constexpr (sizeof(void*) == 8)
        return true;
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

constexpr std::u16string_view kProductKey = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr std::u16string_view kProductValue = u"ProductId";
// HKEY_LOCAL_MACHINE as Registry names it (<windows.h> makes that name a handle).
constexpr std::uint32_t kLocalMachine = 0x80000002;

} // namespace

std::optional<RegistryProblem> HostRegistry::problem() const
{
    if (!m_productId)
        m_productId = readValue(kLocalMachine, kProductKey, kProductValue);
    const auto& value = *m_productId;
    if (!value || value->type == REG_SZ)
        return std::nullopt;
    const std::u16string source =
        onWindows64() ? u"HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion"
                      : u"HKEY_LOCAL_MACHINE\\" + std::u16string(kProductKey);
    return RegistryProblem{source, u"ProductId が " + typeName(value->type) + u" です。"};
}

std::optional<RegistryValue> HostRegistry::queryValue(std::uint32_t root, std::u16string_view subKey,
                                                      std::u16string_view valueName) const
{
    auto value = readValue(root, subKey, valueName);
    if (root == kLocalMachine && subKey == kProductKey && valueName == kProductValue)
        m_productId = value;
    return value;
}

std::optional<RegistryValue> HostRegistry::readValue(std::uint32_t root, std::u16string_view subKey,
                                                     std::u16string_view valueName) const
{
    const auto key = ansiName(subKey);
    const auto name = ansiName(valueName);
    if (!key || !name)
        return std::nullopt;
    // The predefined keys are 32-bit values sign-extended to a handle: HKEY_LOCAL_MACHINE is
    // 0xFFFFFFFF80000002 in a 64-bit process.
    const auto rootKey = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root)));
    HKEY opened = nullptr;
    if (RegOpenKeyExA(rootKey, key->c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, &opened) != ERROR_SUCCESS)
        return std::nullopt;
    const Key open(opened);
    // The value may grow between asking its size and reading it; ask again then.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExA(open.get(), name->c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return std::nullopt;
        RegistryValue value{type, std::vector<std::uint8_t>(size)};
        const LONG result =
            RegQueryValueExA(open.get(), name->c_str(), nullptr, &type, value.data.data(), &size);
        if (result == ERROR_MORE_DATA)
            continue;
        if (result != ERROR_SUCCESS)
            return std::nullopt;
        value.type = type;
        value.data.resize(size);
        return value;
    }
    return std::nullopt;
}

} // namespace orvanta::host
