// The Windows clipboard, with the formats that keep a password out of the clipboard history.
#include "Win32Clipboard.h"

#include <cstring>

namespace orvanta::view_win32 {

namespace {

HGLOBAL globalCopy(const void* data, std::size_t size)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory)
        return nullptr;
    if (void* target = GlobalLock(memory)) {
        std::memcpy(target, data, size);
        GlobalUnlock(memory);
        return memory;
    }
    GlobalFree(memory);
    return nullptr;
}

/// Hands the data to the clipboard, which then owns it; frees it when the clipboard refuses it.
void put(UINT format, HGLOBAL memory)
{
    if (memory && !SetClipboardData(format, memory))
        GlobalFree(memory);
}

} // namespace

Win32Clipboard::Win32Clipboard() = default;

bool Win32Clipboard::open(HWND owner)
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (OpenClipboard(owner))
            return true;
        Sleep(10);
    }
    return false;
}

void Win32Clipboard::clear()
{
    m_sequence.reset();
    // Emptying needs no owner, nor does reading: the window is made when a text is first put there
    // (start-up only empties the clipboard).
    if (!open(nullptr))
        return;
    EmptyClipboard();
    CloseClipboard();
}

void Win32Clipboard::setText(std::u16string_view text)
{
    m_sequence.reset();
    if (!m_owner)
        m_owner.reset(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleW(nullptr), nullptr));
    if (!open(m_owner.get()))
        return;
    EmptyClipboard();
    std::u16string terminated(text);
    put(CF_UNICODETEXT, globalCopy(terminated.c_str(), (terminated.size() + 1) * sizeof(char16_t)));
    // The two "Can…" formats say no with a DWORD 0; the monitor and viewer formats say it by being
    // there at all.
    const DWORD no = 0;
    for (const wchar_t* name : {kExcludeFromMonitors, kHistory, kCloud, kViewerIgnore})
        if (const UINT format = RegisterClipboardFormatW(name))
            put(format, globalCopy(&no, sizeof no));
    CloseClipboard();
    m_sequence = GetClipboardSequenceNumber();
}

bool Win32Clipboard::holdsOwnCopy() const
{
    // Every change of the clipboard, by any program, moves its sequence number on; and whoever empties
    // it to put something there becomes its owner. Both must still be as setText left them.
    return m_sequence && *m_sequence != 0 && GetClipboardSequenceNumber() == *m_sequence &&
           GetClipboardOwner() == m_owner.get();
}

std::u16string Win32Clipboard::text() const
{
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !open(nullptr))
        return {};
    std::u16string result;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* units = static_cast<const char16_t*>(GlobalLock(data))) {
            const std::size_t capacity = GlobalSize(data) / sizeof(char16_t);
            std::size_t length = 0;
            while (length < capacity && units[length] != u'\0')
                ++length;
            result.assign(units, length);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return result;
}

} // namespace orvanta::view_win32
