// The help's window on Windows: the guide as the core reads it, in a read-only rich-edit box.
#include "Win32HelpViewer.h"

#include "Layout.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <commctrl.h>
#include <cstdint>
#include <optional>
#include <richedit.h>

namespace orvanta::view_win32 {

namespace {

constexpr const wchar_t* kClassName = L"OrvantaHelp";

std::optional<std::string> readAll(const std::string& hostPath)
{
    const auto path = platform::fromUtf8(hostPath);
    UniqueFile file(CreateFileW(wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (true) {
        if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr))
            return std::nullopt;
        if (read == 0)
            return bytes;
        bytes.append(buffer, read);
    }
}

/// The help's text in the rich-text form the box reads: every character beyond ASCII as its code.
void appendText(std::string& rtf, std::u16string_view text)
{
    for (const char16_t c : text) {
        if (c == u'\\' || c == u'{' || c == u'}') {
            rtf += '\\';
            rtf += static_cast<char>(c);
        } else if (c == u'\n') {
            rtf += "\\line ";
        } else if (c >= 0x20 && c < 0x80) {
            rtf += static_cast<char>(c);
        } else if (c >= 0x80) {
            rtf += "\\u" + std::to_string(static_cast<std::int16_t>(c)) + '?';
        }
    }
}

/// Flowing text. A line of Japanese breaks between any two characters, but the rich-edit box of Wine
/// breaks lines at spaces only, and would leave most of a line empty before a long Japanese phrase: a
/// space beside a Japanese character is kept from breaking, so that the line breaks where it is full.
void appendRuns(std::string& rtf, const std::vector<app::HelpRun>& runs)
{
    std::u16string all;
    for (const auto& run : runs)
        all += run.text;
    std::size_t at = 0;
    for (const auto& run : runs) {
        std::u16string text = run.text;
        for (std::size_t i = 0; i < text.size(); ++i, ++at) {
            const bool besideWide = (at > 0 && app::isWideCharacter(all[at - 1])) ||
                                    (at + 1 < all.size() && app::isWideCharacter(all[at + 1]));
            if (text[i] == u' ' && besideWide)
                text[i] = u'\u00A0';
        }
        if (run.style == app::HelpStyle::Plain) {
            appendText(rtf, text);
            continue;
        }
        rtf += run.style == app::HelpStyle::Strong ? "{\\b " : "{\\f1 ";
        appendText(rtf, text);
        rtf += '}';
    }
}

bool isItem(app::HelpBlockKind kind)
{
    return kind == app::HelpBlockKind::BulletItem || kind == app::HelpBlockKind::NumberedItem;
}

} // namespace

std::string Win32HelpViewer::richText(const std::vector<app::HelpBlock>& blocks)
{
    // Sizes in half points: the text at 10 pt, headings at 16 and 12 pt. Items hang from their mark.
    std::string rtf = "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 MS PGothic;}"
                      "{\\f1\\fmodern\\fcharset128 MS Gothic;}}\\uc1\\fs20\n";
    std::optional<app::HelpBlockKind> previous;
    for (const auto& block : blocks) {
        // A paragraph after a list stands apart from its last item.
        const bool afterList = previous && isItem(*previous) && !isItem(block.kind);
        rtf += afterList ? "\\pard\\sb160" : "\\pard";
        switch (block.kind) {
        case app::HelpBlockKind::Heading:
            rtf += block.level == 1 ? "\\sb80\\sa160\\b\\fs32 " : "\\sb240\\sa80\\b\\fs24 ";
            appendRuns(rtf, block.runs);
            rtf += "\\b0\\fs20";
            break;
        case app::HelpBlockKind::Paragraph:
            rtf += "\\sa120 ";
            appendRuns(rtf, block.runs);
            break;
        case app::HelpBlockKind::BulletItem:
        case app::HelpBlockKind::NumberedItem:
            // The box numbers the item itself, and its text hangs from the number without a tab, at
            // which the box would break the line.
            if (block.kind == app::HelpBlockKind::BulletItem)
                rtf += "{\\*\\pn\\pnlvlblt\\pnindent320}";
            else
                rtf += "{\\*\\pn\\pnlvlbody\\pndec\\pnstart" + std::to_string(block.number) +
                       "\\pnindent320{\\pntxta .}}";
            rtf += "\\fi-320\\li560\\sa60 ";
            appendRuns(rtf, block.runs);
            break;
        case app::HelpBlockKind::Preformatted:
            rtf += "\\li560\\sa120\\f1 ";
            for (const auto& run : block.runs)
                appendText(rtf, run.text);
            rtf += "\\f0";
            break;
        }
        rtf += "\\par\n";
        previous = block.kind;
    }
    rtf += '}';
    return rtf;
}

Win32HelpViewer::Win32HelpViewer(HINSTANCE instance) : m_instance(instance) {}

bool Win32HelpViewer::open(const std::string& hostPath)
{
    const auto bytes = readAll(hostPath);
    if (!bytes)
        return false;
    const auto blocks = app::readHelpFile(*bytes);
    if (!blocks)
        return false;
    if (!m_window && !create())
        return false;
    const std::string rtf = richText(*blocks);
    SETTEXTEX replace{ST_DEFAULT, CP_ACP};
    SendMessageW(m_text, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&replace),
                 reinterpret_cast<LPARAM>(rtf.c_str()));
    SendMessageW(m_text, EM_SETSEL, 0, 0);
    SendMessageW(m_text, EM_SCROLLCARET, 0, 0);
    ShowWindow(m_window.get(), SW_SHOWNORMAL);
    SetForegroundWindow(m_window.get());
    SetFocus(m_text);
    return true;
}

bool Win32HelpViewer::create()
{
    // The rich-edit box of Windows XP and later; it stays loaded for the rest of the run.
    if (!LoadLibraryW(L"Msftedit.dll"))
        return false;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExW(m_instance, kClassName, &windowClass)) {
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &Win32HelpViewer::windowProc;
        windowClass.hInstance = m_instance;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hIcon = LoadIconW(m_instance, MAKEINTRESOURCEW(1));
        windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
        windowClass.lpszClassName = kClassName;
        if (!RegisterClassExW(&windowClass))
            return false;
    }
    m_window.reset(CreateWindowExW(0, kClassName, L"Orvanta ヘルプ", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                   CW_USEDEFAULT, 640, 520, nullptr, nullptr, m_instance, this));
    if (!m_window)
        return false;
    m_text = CreateWindowExW(0, MSFTEDIT_CLASS, L"",
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                             0, 0, 0, 0, m_window.get(), nullptr, m_instance, nullptr);
    if (!m_text) {
        m_window.reset();
        return false;
    }
    SetWindowSubclass(m_text, &Win32HelpViewer::textProc, 0, 0);
    // The page in the system's window colour, which a read-only box would otherwise grey.
    SendMessageW(m_text, EM_SETBKGNDCOLOR, 1, 0);
    layout();
    return true;
}

void Win32HelpViewer::layout()
{
    RECT client{};
    GetClientRect(m_window.get(), &client);
    MoveWindow(m_text, 0, 0, client.right, client.bottom, TRUE);
    // A margin round the page, as a page of help has.
    const int margin = MulDiv(12, static_cast<int>(GetDpiForWindow(m_window.get())), 96);
    RECT page{margin, margin / 2, std::max<LONG>(client.right - margin, margin + 1), client.bottom};
    SendMessageW(m_text, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&page));
}

LRESULT CALLBACK Win32HelpViewer::textProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR subclass, DWORD_PTR)
{
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        // Escape closes the help, as it closes a dialog.
        SendMessageW(GetParent(box), WM_CLOSE, 0, 0);
        return 0;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(box, &Win32HelpViewer::textProc, subclass);
    return DefSubclassProc(box, message, wParam, lParam);
}

LRESULT CALLBACK Win32HelpViewer::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* viewer = reinterpret_cast<Win32HelpViewer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_SIZE:
        if (viewer && viewer->m_text)
            viewer->layout();
        return 0;
    case WM_DPICHANGED:
        if (viewer && viewer->m_text) {
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
            viewer->layout();
        }
        return 0;
    case WM_SETFOCUS:
        if (viewer && viewer->m_text)
            SetFocus(viewer->m_text);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            ShowWindow(window, SW_HIDE);
            return 0;
        }
        break;
    case WM_CLOSE:
        // Closing only hides the help; F1 shows it again where the user left it.
        ShowWindow(window, SW_HIDE);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace orvanta::view_win32
