// The controls' names and the message box's live region, given to screen readers through the system's
// annotation service.
#include "Annotations.h"

#include <initializer_list>
#include <string>

namespace orvanta::view_win32 {

namespace {

// Every annotation is of a control's own element: its client area, not one of its parts.
constexpr auto kClient = static_cast<DWORD>(OBJID_CLIENT);
constexpr auto kSelf = static_cast<DWORD>(CHILDID_SELF);

/// The three calls of COM the annotations make.
struct Com {
    HRESULT(WINAPI* initialize)(void*, DWORD) = nullptr;
    HRESULT(WINAPI* create)(REFCLSID, IUnknown*, DWORD, REFIID, void**) = nullptr;
    void(WINAPI* uninitialize)() = nullptr;
};

/// COM from the system folder, loaded when the window is first annotated, once it is on the screen,
/// rather than with the program: ole32 brings combase and the RPC runtime with it, which nothing
/// needs before the window shows. All three calls, or none.
const Com& com()
{
    static const Com loaded = [] {
        HMODULE library = LoadLibraryExW(L"ole32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (!library)
            return Com{};
        const auto entry = [library](const char* name) {
            return reinterpret_cast<void*>(GetProcAddress(library, name));
        };
        Com calls;
        calls.initialize = reinterpret_cast<decltype(calls.initialize)>(entry("CoInitializeEx"));
        calls.create = reinterpret_cast<decltype(calls.create)>(entry("CoCreateInstance"));
        calls.uninitialize = reinterpret_cast<decltype(calls.uninitialize)>(entry("CoUninitialize"));
        return calls.initialize && calls.create && calls.uninitialize ? calls : Com{};
    }();
    return loaded;
}

} // namespace

Annotations::Annotations()
{
    const Com& calls = com();
    if (!calls.initialize)
        return;
    // A thread that already runs COM in another model keeps it; the service serves both.
    m_comStarted = SUCCEEDED(calls.initialize(nullptr, COINIT_APARTMENTTHREADED));
    void* service = nullptr;
    if (SUCCEEDED(calls.create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                               &service)))
        m_service = static_cast<IAccPropServices*>(service);
}

Annotations::~Annotations()
{
    if (m_service)
        m_service->Release();
    if (m_comStarted)
        com().uninitialize();
}

void Annotations::name(HWND control, std::u16string_view name)
{
    if (!m_service || !control)
        return;
    const std::u16string text(name);
    m_service->SetHwndPropStr(control, kClient, kSelf, PROPID_ACC_NAME, wide(text));
}

void Annotations::makeLive(HWND control)
{
    if (!m_service || !control)
        return;
    VARIANT polite{};
    polite.vt = VT_I4;
    polite.lVal = kLiveSettingPolite;
    m_service->SetHwndProp(control, kClient, kSelf, kLiveSettingProperty, polite);
}

void Annotations::clear(HWND control)
{
    if (!m_service || !control)
        return;
    // One at a time: a system that knows no LiveSetting (before Windows 8) refuses a list that holds it.
    for (const MSAAPROPID& property : {PROPID_ACC_NAME, kLiveSettingProperty})
        m_service->ClearHwndProps(control, kClient, kSelf, &property, 1);
}

void announceNews(HWND control)
{
    NotifyWinEvent(kLiveRegionChanged, control, OBJID_CLIENT, CHILDID_SELF);
}

} // namespace orvanta::view_win32
