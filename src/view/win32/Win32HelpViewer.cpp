// The help's window on Windows: the guide as the core reads it, in a read-only rich-edit box.
#include "Win32HelpViewer.h"

#include "Layout.h"

#include <algorithm>
#include <commctrl.h>
#include <cstdint>
#include <richedit.h>

namespace orvanta::view_win32 {

namespace {

using host::HelpBlockKind;
using host::HelpStyle;

constexpr const wchar_t* kClassName = L"OrvantaHelp";

/// How many characters of one run of text the box is given before a space or an invisible break
/// starts a run of its own. Wine's box measures a run of one format whole at every line it wraps,
/// which for a long paragraph of plain text costs time with the square of its length; the core's
/// invisible breaks (form::kLongestUnbroken) see to it that such a character comes soon. No paragraph
/// of our guide is cut.
constexpr std::size_t kLongestRun = 256;

/// How many bullets of the page the box marks itself. Wine's box takes time with the square of the
/// number of bullets it marks; the items after these are marked in their text, their lines hanging
/// about where the box would hang them.
constexpr std::size_t kMarkedBullets = 500;

/// The help's text in the rich-text form the box reads: every character beyond ASCII as its code.
class RichTextWriter {
public:
    RichTextWriter(std::string& rtf, bool markBreaks) : m_rtf(rtf), m_markBreaks(markBreaks) {}

    /// Flowing text. The box of Windows breaks lines of Japanese text in a Japanese face by the rules
    /// of Japanese. Wine's box breaks a line only at a space, else anywhere the line is full: inside
    /// a file name, or before a 「。」. For Wine's box (m_markBreaks), wherever a line of Japanese may
    /// break, and only there, stands a hidden space, which takes no room. It is no gap in the text,
    /// but it is in the box's text: the box of Windows, which a screen reader reads, is not given it.
    void runs(const std::vector<host::HelpRun>& runs)
    {
        char16_t before = u'\n';
        for (const auto& run : runs) {
            if (run.style != HelpStyle::Plain)
                m_rtf += run.style == HelpStyle::Strong ? "{\\b " : "{\\f1 ";
            for (const char16_t c : run.text) {
                if (m_markBreaks && form::lineMayBreak(before, c))
                    breakHere();
                put(c);
                before = c;
            }
            if (run.style != HelpStyle::Plain) {
                m_rtf += '}';
                m_inRun = 0;
            }
        }
    }

    /// Text as it stands, its line breaks kept.
    void lines(std::u16string_view text)
    {
        for (const char16_t c : text)
            put(c);
    }

private:
    void put(char16_t c)
    {
        if (c == u'\u200B' && m_markBreaks) {
            breakHere();
            return;
        }
        // A space has no ink: in a colour of its own it starts a run of its own and shows the same.
        if ((c == u' ' || c == u'\u00A0') && m_inRun >= kLongestRun) {
            m_rtf += "{\\cf1 ";
            character(c);
            m_rtf += '}';
            m_inRun = 0;
            return;
        }
        character(c);
        ++m_inRun;
    }

    /// A place to break the line: a hidden space, a run of its own.
    void breakHere()
    {
        m_rtf += "{\\v  }";
        m_inRun = 0;
    }

    void character(char16_t c)
    {
        if (c == u'\\' || c == u'{' || c == u'}') {
            m_rtf += '\\';
            m_rtf += static_cast<char>(c);
        } else if (c == u'\n') {
            m_rtf += "\\line ";
        } else if (c >= 0x20 && c < 0x80) {
            m_rtf += static_cast<char>(c);
        } else if (c >= 0x80) {
            m_rtf += "\\u";
            m_rtf += std::to_string(static_cast<std::int16_t>(c));
            m_rtf += '?';
        }
    }

    std::string& m_rtf;
    bool m_markBreaks;
    std::size_t m_inRun = 0;
};

// The document's head: its fonts, colours and language. The text is Japanese (language 1041) in a
// Japanese face, whose name the box reads in the Japanese code page. Colour 1 is only ever given to
// characters without ink (RichTextWriter).
std::string richTextHead(std::u16string_view face)
{
    std::string faceName(face.size() * 2, '\0');
    faceName.resize(static_cast<std::size_t>(
        std::max(0, WideCharToMultiByte(932, 0, reinterpret_cast<const wchar_t*>(face.data()),
                                        static_cast<int>(face.size()), faceName.data(),
                                        static_cast<int>(faceName.size()), nullptr, nullptr))));
    std::string rtf = "{\\rtf1\\ansi\\ansicpg932\\deff0\\deflang1041\\deflangfe1041{\\fonttbl{\\f0\\fswiss"
                      "\\fprq2\\fcharset128 ";
    for (const char byte : faceName) {
        constexpr const char* kHex = "0123456789abcdef";
        const auto code = static_cast<unsigned char>(byte);
        rtf += "\\'";
        rtf += kHex[code >> 4];
        rtf += kHex[code & 15];
    }
    rtf += ";}{\\f1\\fmodern\\fcharset128 MS "
           "Gothic;}}{\\colortbl;\\red0\\green0\\blue0;}\\uc1\\lang1041\\fs20\n";
    return rtf;
}

} // namespace

std::string Win32HelpViewer::richText(const host::HelpDocument& blocks, std::u16string_view face,
                                      bool markBreaks)
{
    // Sizes in half points: the text at 10 pt, headings at 16 and 12 pt. Items hang from their mark.
    std::string rtf = richTextHead(face);
    RichTextWriter writer(rtf, markBreaks);
    bool afterList = false;
    std::size_t bullets = 0;
    for (const auto& block : blocks) {
        const bool item =
            block.kind == HelpBlockKind::BulletItem || block.kind == HelpBlockKind::NumberedItem;
        // A paragraph after a list stands apart from its last item.
        rtf += afterList && !item ? "\\pard\\sb160" : "\\pard";
        switch (block.kind) {
        case HelpBlockKind::Heading:
            rtf += block.level == 1 ? "\\sb80\\sa160\\b\\fs32 " : "\\sb240\\sa80\\b\\fs24 ";
            writer.runs(block.runs);
            rtf += "\\b0\\fs20";
            break;
        case HelpBlockKind::Paragraph:
            rtf += "\\sa120 ";
            writer.runs(block.runs);
            break;
        case HelpBlockKind::BulletItem:
        case HelpBlockKind::NumberedItem:
            // The box marks the item itself, and its text hangs from the mark without a tab, at which
            // the box would break the line. Each numbered item is given its own number, so the box
            // never counts the items before it.
            if (block.kind == HelpBlockKind::NumberedItem)
                rtf += "{\\*\\pn\\pnlvlbody\\pndec\\pnstart" + std::to_string(block.number) +
                       "\\pnindent320{\\pntxta .}}\\fi-320\\li560\\sa60 ";
            else if (++bullets <= kMarkedBullets)
                rtf += "{\\*\\pn\\pnlvlblt\\pnindent320}\\fi-320\\li560\\sa60 ";
            else
                rtf += "\\fi-200\\li560\\sa60 \\u8226?\\u160?\\u160?";
            writer.runs(block.runs);
            break;
        case HelpBlockKind::Preformatted:
            rtf += "\\li560\\sa120\\f1 ";
            for (const auto& run : block.runs)
                writer.lines(run.text);
            rtf += "\\f0";
            break;
        }
        rtf += "\\par\n";
        afterList = item;
    }
    rtf += '}';
    return rtf;
}

Win32HelpViewer::Win32HelpViewer(HINSTANCE instance) : m_instance(instance) {}

bool Win32HelpViewer::show(const host::HelpDocument& help)
{
    if (!m_window && !create())
        return false;
    const std::string rtf = richText(help, m_face, m_markBreaks);
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
    HDC dc = GetDC(m_window.get());
    m_face = designFace(dc);
    ReleaseDC(m_window.get(), dc);
    // The box of Windows sets Japanese by its rules of line breaking with its advanced typography;
    // Wine's (known by the function Wine adds to ntdll) must be told where a line may break.
    SendMessageW(m_text, EM_SETTYPOGRAPHYOPTIONS, TO_ADVANCEDTYPOGRAPHY, TO_ADVANCEDTYPOGRAPHY);
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    m_markBreaks = ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
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
