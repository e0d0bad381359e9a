// The yardstick for orvanta.exe's start-up: a bare Win32 window with the controls Orvanta's window shows
// when it first appears (the design table's boxes, drop-down box, list, buttons and labels that the
// layout table puts on the initial screen, made from the same classes and styles, with the same captions
// at the same places), in one font, but nothing else: no core, no data file, no picture, no lines, no
// events wired, and none of the controls the first screen hides, which orvanta.exe makes only once it is
// on the screen. It carries the same manifest and starts the common controls as orvanta.exe does, so its
// controls are the same themed ones at the same scale, and its captions are in the face orvanta.exe draws
// them in: the design's, or where a machine lacks it the one that stands in for it (asking the font
// mapper for the design's face there gives a fixed-pitch one).
#include "Layout.h"
#include "form/ControlTable.h"
#include "form/Screens.h"

#include <string>
#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

namespace {

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = L"MinimalWindow";
    RegisterClassExW(&windowClass);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, orvanta::form::kClientWidthTwips / 15, orvanta::form::kClientHeightTwips / 15};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    const std::u16string caption(orvanta::form::kWindowCaption);
    HWND window = CreateWindowExW(0, L"MinimalWindow", reinterpret_cast<const wchar_t*>(caption.c_str()),
                                  style, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                                  frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    namespace view = orvanta::view_win32;
    HDC screen = GetDC(window);
    const std::u16string face = view::designFace(screen);
    ReleaseDC(window, screen);
    HFONT font =
        CreateFontW(view::fontHeightAt(9, USER_DEFAULT_SCREEN_DPI), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                    SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                    DEFAULT_PITCH, reinterpret_cast<const wchar_t*>(face.c_str()));
    for (const auto& d : orvanta::form::controlTable()) {
        if (d.kind == orvanta::form::ControlKind::Line || d.kind == orvanta::form::ControlKind::Picture ||
            !orvanta::form::shownOn(d.id, orvanta::form::Screen::Initial))
            continue;
        const std::u16string text(d.caption);
        const RECT place = view::windowAt(d, USER_DEFAULT_SCREEN_DPI);
        HWND child = CreateWindowExW(
            view::exStyleOf(d.kind), view::classOf(d.kind), reinterpret_cast<const wchar_t*>(text.c_str()),
            view::styleOf(d.kind) | WS_VISIBLE, place.left, place.top, place.right - place.left,
            place.bottom - place.top, window, nullptr, instance, nullptr);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DeleteObject(font);
    return 0;
}
