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

} // namespace

Annotations::Annotations()
{
    // A thread that already runs COM in another model keeps it; the service serves both.
    const HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    m_comStarted = SUCCEEDED(started);
    void* service = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                   &service)))
        m_service = static_cast<IAccPropServices*>(service);
}

Annotations::~Annotations()
{
    if (m_service)
        m_service->Release();
    if (m_comStarted)
        CoUninitialize();
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
