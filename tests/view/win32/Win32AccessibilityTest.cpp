// The Windows window as screen readers meet it: the names it gives its controls, the read-only display
// boxes, and the event that has each new message read out. Wine keeps no annotation and reads out
// nothing: what the window hands the system is what is checked.
#include "ViewDriver.h"
#include "view/win32/Layout.h"

#include <functional>
#include <map>
#include <set>

namespace orvanta::test {
namespace {

using form::ControlId;

// A COM object goes through its interfaces' Release, never through a destructor: they have none.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
/// The system's annotation service, keeping what the window gives it (Wine's keeps nothing). Registered
/// for the test's thread, it stands in for the system's while it lives.
class FakeAnnotationService final : public IAccPropServices, public IClassFactory {
public:
    FakeAnnotationService()
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        CoRegisterClassObject(CLSID_AccPropServices, static_cast<IClassFactory*>(this), CLSCTX_INPROC_SERVER,
                              REGCLS_MULTIPLEUSE, &m_cookie);
    }
    ~FakeAnnotationService()
    {
        CoRevokeClassObject(m_cookie);
        CoUninitialize();
    }

    std::map<HWND, std::u16string> names; ///< of each control's own element
    std::map<HWND, LONG> liveSettings;

    HRESULT WINAPI QueryInterface(REFIID iid, void** out) override
    {
        *out = iid == IID_IClassFactory ? static_cast<void*>(static_cast<IClassFactory*>(this))
                                        : static_cast<void*>(static_cast<IAccPropServices*>(this));
        return S_OK;
    }
    ULONG WINAPI AddRef() override { return 2; }
    ULONG WINAPI Release() override { return 1; }
    HRESULT WINAPI CreateInstance(IUnknown*, REFIID iid, void** out) override
    {
        return QueryInterface(iid, out);
    }
    HRESULT WINAPI LockServer(BOOL) override { return S_OK; }

    HRESULT WINAPI SetHwndPropStr(HWND hwnd, DWORD object, DWORD child, MSAAPROPID id, LPCWSTR text) override
    {
        if (object != static_cast<DWORD>(OBJID_CLIENT) || child != CHILDID_SELF || id != PROPID_ACC_NAME)
            return E_INVALIDARG;
        names[hwnd] = reinterpret_cast<const char16_t*>(text);
        return S_OK;
    }
    HRESULT WINAPI SetHwndProp(HWND hwnd, DWORD object, DWORD child, MSAAPROPID id, VARIANT value) override
    {
        if (object != static_cast<DWORD>(OBJID_CLIENT) || child != CHILDID_SELF ||
            id != view_win32::kLiveSettingProperty || value.vt != VT_I4)
            return E_INVALIDARG;
        liveSettings[hwnd] = value.lVal;
        return S_OK;
    }
    HRESULT WINAPI ClearHwndProps(HWND hwnd, DWORD, DWORD, const MSAAPROPID* ids, int count) override
    {
        for (int i = 0; i < count; ++i)
            ids[i] == PROPID_ACC_NAME ? names.erase(hwnd) : liveSettings.erase(hwnd);
        return S_OK;
    }
#define ORVANTA_NOT_CALLED(method, ...)                                                                      \
    HRESULT WINAPI method(__VA_ARGS__) override                                                              \
    {                                                                                                        \
        return E_NOTIMPL;                                                                                    \
    }
    ORVANTA_NOT_CALLED(SetPropValue, const BYTE*, DWORD, MSAAPROPID, VARIANT)
    ORVANTA_NOT_CALLED(SetPropServer, const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope)
    ORVANTA_NOT_CALLED(ClearProps, const BYTE*, DWORD, const MSAAPROPID*, int)
    ORVANTA_NOT_CALLED(SetHwndPropServer, HWND, DWORD, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                       AnnoScope)
    ORVANTA_NOT_CALLED(ComposeHwndIdentityString, HWND, DWORD, DWORD, BYTE**, DWORD*)
    ORVANTA_NOT_CALLED(DecomposeHwndIdentityString, const BYTE*, DWORD, HWND*, DWORD*, DWORD*)
    ORVANTA_NOT_CALLED(SetHmenuProp, HMENU, DWORD, MSAAPROPID, VARIANT)
    ORVANTA_NOT_CALLED(SetHmenuPropStr, HMENU, DWORD, MSAAPROPID, LPCWSTR)
    ORVANTA_NOT_CALLED(SetHmenuPropServer, HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope)
    ORVANTA_NOT_CALLED(ClearHmenuProps, HMENU, DWORD, const MSAAPROPID*, int)
    ORVANTA_NOT_CALLED(ComposeHmenuIdentityString, HMENU, DWORD, BYTE**, DWORD*)
    ORVANTA_NOT_CALLED(DecomposeHmenuIdentityString, const BYTE*, DWORD, HMENU*, DWORD*)
#undef ORVANTA_NOT_CALLED

private:
    DWORD m_cookie = 0;
};
#pragma GCC diagnostic pop

/// The live-region events of this process, as a screen reader hears them.
std::vector<HWND> liveRegionEvents;

void CALLBACK onWinEvent(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    if (object == OBJID_CLIENT && child == CHILDID_SELF)
        liveRegionEvents.push_back(window);
}

TEST(Win32AccessibilityTest, NamesEachControlAsAUserSeesItAndReadsOutEachNewMessage)
{
    FakeAnnotationService service;
    ViewDriver v;
    ASSERT_TRUE(v.start(v.d.rowsFile({header(u"Mail", u"1"), entry(u"Mail", u"taro", u"abc123")})));
    HWND box = v.control(ControlId::Txtmassage);
    const std::set<ControlId> kOnlyShow{ControlId::Txtmassage, ControlId::Lblpassword, ControlId::Lblbikouran,
                                        ControlId::Txtdirectry, ControlId::regprodid};
    for (const auto& d : form::controlTable()) {
        HWND control = v.control(d.id);
        if (control && d.id != ControlId::Txtmassage) {
            EXPECT_EQ(service.names[control], form::accessibleName(d.id)) << d.name;
        }
        // The boxes that only show a value are read-only, which assistive tools report.
        if (control && view_win32::isBox(d.kind)) {
            const bool readOnly = (GetWindowLongPtrW(control, GWL_STYLE) & ES_READONLY) != 0;
            EXPECT_EQ(readOnly, kOnlyShow.contains(d.id)) << d.name;
        }
    }
    EXPECT_EQ(service.names[v.field(ControlId::cmbnamae)], form::accessibleName(ControlId::cmbnamae));
    EXPECT_EQ(service.liveSettings, (std::map<HWND, LONG>{{box, 1}}));
    EXPECT_EQ(service.names[box], v.window.Txtmassage.text());

    // The message box is a live region, read by its name: the message, or with none what the box is.
    // Each new message is read out, the same one again too.
    liveRegionEvents.clear();
    HWINEVENTHOOK hook =
        SetWinEventHook(view_win32::kLiveRegionChanged, view_win32::kLiveRegionChanged,
                        GetModuleHandleW(nullptr), &onWinEvent, GetCurrentProcessId(), 0, WINEVENT_INCONTEXT);
    ASSERT_NE(hook, nullptr);
    struct Step {
        const char* name;
        std::function<void()> action;
        std::u16string_view boxName;
        std::size_t events; ///< the message box's live-region events so far
    };
    const Step steps[] = {
        {"RegistrationModeEmptiesTheBox", [&] { v.click(ControlId::btnnewmode); }, u"メッセージ", 0},
        {"ARefusal", [&] { v.click(ControlId::btnnew); }, u"記入漏れ", 1},
        {"TheSameRefusalAgain", [&] { v.click(ControlId::btnnew); }, u"記入漏れ", 2},
        {"AKeyTheBoxRefuses", [&] { v.type(ControlId::Txtmassage, u"x"); }, u"この項目は入力できません", 3},
        {"BackLeavesTheMessage", [&] { v.click(ControlId::btnmordori); }, u"この項目は入力できません", 3},
        {"ADestinationEmptiesTheBox", [&] { v.choose(ControlId::cmbnamae, u"Mail"); }, u"メッセージ", 3},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        step.action();
        EXPECT_EQ(service.names[box], step.boxName);
        EXPECT_EQ(liveRegionEvents, std::vector<HWND>(step.events, box));
    }
    UnhookWinEvent(hook);

    DestroyWindow(v.view.window());
    EXPECT_TRUE(service.names.empty());
    EXPECT_TRUE(service.liveSettings.empty());
}

} // namespace
} // namespace orvanta::test
