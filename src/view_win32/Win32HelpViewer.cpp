#include "Win32HelpViewer.h"

#include "Layout.h"
#include "app/ControlTable.h"
#include "platform/Utf8.h"

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

} // namespace

Win32HelpViewer::Win32HelpViewer(HINSTANCE instance) : m_instance(instance) {}

std::optional<std::u16string> Win32HelpViewer::shownText(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    const auto text = platform::fromUtf8Strict(bytes);
    if (!text)
        return std::nullopt;
    // A multi-line box breaks lines at CR LF only.
    std::u16string shown;
    shown.reserve(text->size() + text->size() / 16);
    for (std::size_t i = 0; i < text->size(); ++i) {
        const char16_t c = (*text)[i];
        if (c == u'\n' && (i == 0 || (*text)[i - 1] != u'\r'))
            shown += u'\r';
        shown += c;
    }
    return shown;
}

bool Win32HelpViewer::open(const std::string& hostPath)
{
    const auto bytes = readAll(hostPath);
    if (!bytes)
        return false;
    const auto text = shownText(*bytes);
    if (!text)
        return false;
    if (!m_window && !create())
        return false;
    SetWindowTextW(m_text, wide(*text));
    ShowWindow(m_window.get(), SW_SHOWNORMAL);
    SetForegroundWindow(m_window.get());
    return true;
}

bool Win32HelpViewer::create()
{
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
                                   CW_USEDEFAULT, 640, 480, nullptr, nullptr, m_instance, this));
    if (!m_window)
        return false;
    m_text = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                             0, 0, 0, 0, m_window.get(), nullptr, m_instance, nullptr);
    if (!m_text) {
        m_window.reset();
        return false;
    }
    // A help file longer than the box's usual 32 000 characters is shown whole.
    SendMessageW(m_text, EM_SETLIMITTEXT, 0, 0);
    layout();
    return true;
}

void Win32HelpViewer::layout()
{
    const UINT dpi = GetDpiForWindow(m_window.get());
    const std::u16string face(app::kDesignFontFamily);
    m_font.reset(CreateFontW(fontHeightAt(10, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH,
                             wide(face)));
    SendMessageW(m_text, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), TRUE);
    RECT client{};
    GetClientRect(m_window.get(), &client);
    MoveWindow(m_text, 0, 0, client.right, client.bottom, TRUE);
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
            MoveWindow(viewer->m_text, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_DPICHANGED:
        if (viewer && viewer->m_text) {
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
            viewer->layout();
        }
        return 0;
    case WM_CTLCOLORSTATIC: {
        // A read-only box is drawn in the dialog colour; the help reads better on the page colour.
        auto* dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    case WM_CLOSE:
        // Closing only hides the help; F1 shows it again where the user left it.
        ShowWindow(window, SW_HIDE);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace orvanta::view_win32
