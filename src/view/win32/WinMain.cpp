// Orvanta for Windows: the one window, over the system's registry, environment, drives and files.
#include "Win32Clipboard.h"
#include "Win32HelpViewer.h"
#include "Win32Timer.h"
#include "Win32View.h"
#include "host/HostClock.h"
#include "host/HostEnvironment.h"
#include "host/HostRandomSource.h"
#include "host/windows/HostCodePage.h"
#include "host/windows/HostDrives.h"
#include "host/windows/HostFileSystem.h"
#include "host/windows/HostRegistry.h"

#include <commctrl.h>

using namespace orvanta;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    host::HostRegistry registry;
    host::HostEnvironment environment;
    host::HostDrives drives;
    host::HostFileSystem files(drives, environment);
    host::HostCodePage codePage;
    view_win32::Win32Clipboard clipboard;
    host::HostClock clock;
    host::HostRandomSource random;
    view_win32::Win32HelpViewer help(instance);
    view_win32::Win32Timer timer;

    form::MainWindow window(
        {registry, environment, files, codePage, clipboard, clock, random, help, drives, timer});
    view_win32::Win32View view(window, instance);
    view.load();
    if (!view.create()) {
        MessageBoxW(nullptr, L"ウィンドウを作れないため、Orvanta を起動できません。", L"Orvanta",
                    MB_OK | MB_ICONERROR);
        return 1;
    }
    view.setQuitOnClose(true);
    view.show(showCommand);

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (view.preTranslate(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
