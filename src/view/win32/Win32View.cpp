// The Windows window: one window procedure dispatching each message to a short function, the system's
// controls built from the design table, each event sent to the core and its state shown back.
#include "Win32View.h"

#include "Layout.h"
#include "form/Screens.h"
#include "resource.h"

#include <algorithm>
#include <commctrl.h>
#include <imm.h>
#include <utility>

namespace orvanta::view_win32 {

using form::clickHandler;
using form::ControlDesign;
using form::ControlId;
using form::ControlKind;
using form::isTypedBox;
using form::keyPressHandler;
using form::MainWindow;

namespace {

constexpr const wchar_t* kClassName = L"OrvantaWindow";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr double kWindowFontPoints = 9;
/// The subclass of the drop-down box's text field (the others are numbered by their row of the table).
constexpr UINT_PTR kComboFieldSubclass = 1000;

COLORREF colourOf(const form::Rgb& rgb)
{
    return RGB(rgb.red, rgb.green, rgb.blue);
}

/// The parts of a drop-down box: its text field (hwndItem) and the list it drops (hwndList); null
/// where there is no box.
COMBOBOXINFO comboParts(HWND combo)
{
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!combo || !GetComboBoxInfo(combo, &info))
        info.hwndItem = info.hwndList = nullptr;
    return info;
}

} // namespace

std::u16string windowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return {};
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const int copied = GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

Win32View::Win32View(MainWindow& window, HINSTANCE instance)
    : m_window(window), m_instance(instance), m_messageChange(window.Txtmassage.onChange)
{
    // The message box's Change event: a handler wrote a message, perhaps the very one already shown.
    m_window.Txtmassage.onChange = [this] {
        ++m_messageWrites;
        if (m_messageChange)
            m_messageChange();
    };
}

Win32View::~Win32View()
{
    if (m_hwnd)
        DestroyWindow(m_hwnd);
    m_window.Txtmassage.onChange = std::move(m_messageChange);
}

void Win32View::load()
{
    route([this] { m_window.Form_Load(); });
    // Looking the face up and decoding the picture need no window: they run on a thread of their own
    // while the system makes the window, which takes longer than both. (Where no thread can be started,
    // create() does them itself.)
    m_prepared =
        std::async(std::launch::async | std::launch::deferred, &Win32View::prepare, m_window.pictureFile());
}

Win32View::Prepared Win32View::prepare(const std::string& pictureFile)
{
    Prepared prepared;
    // The screen's fonts are every window's.
    HDC screen = GetDC(nullptr);
    prepared.face = designFace(screen);
    ReleaseDC(nullptr, screen);
    // The decoded picture goes once it is drawn into the background; a change of scale decodes it again.
    const Picture picture = pictureFile.empty() ? Picture{} : loadPicture(pictureFile);
    prepared.pictureFound = picture.bitmap != nullptr;
    prepared.dpi = GetDpiForSystem();
    prepared.colours = coloursNow();
    prepared.background =
        backgroundBrush(prepared.pictureFound ? &picture : nullptr, prepared.dpi, prepared.colours);
    return prepared;
}

bool Win32View::create()
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExW(m_instance, kClassName, &windowClass)) {
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &Win32View::windowProc;
        windowClass.hInstance = m_instance;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        // No icon here: the window takes it once it is on the screen (kShowIcon).
        windowClass.lpszClassName = kClassName;
        if (!RegisterClassExW(&windowClass))
            return false;
    }
    // Made at its size for the system's scale, which is the monitor's on most PCs: it is not sized again.
    const SIZE size = frameAt(GetDpiForSystem());
    const std::u16string caption(form::kWindowCaption);
    CreateWindowExW(0, kClassName, wide(caption), kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, size.cx,
                    size.cy, nullptr, nullptr, m_instance, this);
    if (!m_hwnd)
        return false;
    Prepared prepared = m_prepared.valid() ? m_prepared.get() : prepare(m_window.pictureFile());
    m_face = std::move(prepared.face);
    applyDpi(nullptr, false);
    // The controls start-up hid wait until the window is on the screen (kCompleteWindow).
    buildControls(true);
    mirror();
    m_loaded = true;
    // The picture Form_Load found is there when the window first shows, behind the key message. A window
    // that opens on a monitor of another scale than the system's, or with the colours changed meanwhile,
    // draws its background afresh.
    m_pictureShown = prepared.pictureFound;
    if (prepared.dpi == m_dpi && prepared.colours == Colours{m_systemColours, m_palette})
        m_backgroundBrush = std::move(prepared.background);
    else
        rebuildBackground();
    RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return true;
}

void Win32View::show(int showCommand)
{
    ShowWindow(m_hwnd, showCommand);
    UpdateWindow(m_hwnd);
    focusFirstStop();
}

LRESULT CALLBACK Win32View::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* view = static_cast<Win32View*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        view->m_hwnd = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
    }
    auto* view = reinterpret_cast<Win32View*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!view)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        view->m_hwnd = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return view->handle(message, wParam, lParam);
}

LRESULT Win32View::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return onCreate() ? 0 : -1;
    case WM_COMMAND:
        onCommand(wParam, lParam);
        return 0;
    case WM_PAINT:
        onPaint();
        return 0;
    case WM_PRINTCLIENT:
        onPrintClient(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        return onControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        // High contrast turned on or off, or the system's colours changed.
        onSystemColours();
        break;
    case WM_KEYDOWN:
        if (onKeyDown(wParam))
            return 0;
        break;
    case WM_DPICHANGED:
        onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_ACTIVATE:
        onActivate(wParam);
        return 0;
    case WM_SETFOCUS:
        onSetFocus();
        return 0;
    case WM_CLOSE:
        onClose();
        return 0;
    case WM_ENDSESSION:
        onEndSession(wParam);
        return 0;
    case WM_DESTROY:
        onDestroy();
        return 0;
    default:
        if (onOwnMessage(message))
            return 0;
        break;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

bool Win32View::onOwnMessage(UINT message)
{
    switch (message) {
    case kMirrorLater:
        mirror();
        return true;
    case kComboFieldSet:
        onComboFieldSet();
        return true;
    case kCompleteWindow:
        buildControls(false);
        hookFilters();
        addTooltips();
        annotate();
        return true;
    case kShowIcon:
        showIcon();
        return true;
    default:
        return false;
    }
}

bool Win32View::onKeyDown(WPARAM key)
{
    // F1 in any control reaches the window here (preTranslate), as does F1 in the window itself.
    if (key != VK_F1)
        return false;
    route([this] { m_window.helpKey(); });
    return true;
}

void Win32View::onSetFocus()
{
    if (m_lastFocus && IsWindowVisible(m_lastFocus))
        SetFocus(m_lastFocus);
    else
        focusFirstStop();
}

void Win32View::onEndSession(WPARAM ending)
{
    // Windows is ending: the window closes without WM_CLOSE.
    if (ending)
        m_window.Form_Unload();
}

void Win32View::onDestroy()
{
    // The controls are still there: their annotations go before they do.
    if (m_annotations) {
        for (HWND child : m_controls)
            m_annotations->clear(child);
        m_annotations->clear(comboParts(m_controls[index(ControlId::cmbnamae)]).hwndItem);
        m_annotations.reset();
    }
    if (m_quitOnClose)
        PostQuitMessage(0);
}

void Win32View::onComboFieldSet()
{
    if (const auto text = windowText(m_controls[index(ControlId::cmbnamae)]);
        text != m_window.cmbnamae.text())
        route([this, &text] { m_window.cmbnamae.setText(text); });
}

bool Win32View::onCreate()
{
    m_dpi = GetDpiForWindow(m_hwnd);
    if (m_dpi == 0)
        m_dpi = 96;
    chooseColours();
    // The controls are made once the window is there (create()), as start-up (load()) left them: those it
    // shows are made shown, rather than all shown and most hidden again a moment later. What the window does
    // not show at first waits until it is on the screen, before the user can reach it: the controls start-up
    // hid; the filters on the boxes and the drop-down box, which only the user's typing needs (comctl32 keeps
    // a filter in a window property, which Wine fetches from its server for every message to the control:
    // with the filter on, filling the 33 destinations in took 10 ms); the tooltips, which show only once the
    // pointer rests on a control; and the icon, which the system would otherwise convert for the title bar
    // and the task bar before the window could appear.
    PostMessageW(m_hwnd, kCompleteWindow, 0, 0);
    PostMessageW(m_hwnd, kShowIcon, 0, 0);
    return true;
}

HFONT Win32View::font(double points, bool bold)
{
    const std::pair key{static_cast<int>(points * 4 + 0.5), bold};
    auto& slot = m_fonts[key];
    if (!slot) {
        LOGFONTW wanted{};
        wanted.lfHeight = fontHeightAt(points, m_dpi);
        wanted.lfWeight = bold ? FW_BOLD : FW_NORMAL;
        wanted.lfCharSet = SHIFTJIS_CHARSET;
        wanted.lfQuality = CLEARTYPE_QUALITY;
        const auto length = std::min(m_face.size(), std::size(wanted.lfFaceName) - 1);
        std::copy_n(m_face.data(), length, wanted.lfFaceName);
        slot.reset(CreateFontIndirectW(&wanted));
    }
    return slot.get();
}

void Win32View::buildControls(bool shownOnly)
{
    // The texts they are made with are the core's own: what the controls report meanwhile is not the user's.
    m_mirroring = true;
    HDC dc = GetDC(m_hwnd);
    // A new control goes beneath those made before it: made from the top of the design's stacking down,
    // the controls stack as designed. One made later is put beneath the nearest made one above it.
    HWND above = HWND_TOP;
    const bool later =
        std::any_of(m_controls.begin(), m_controls.end(), [](HWND made) { return made != nullptr; });
    const auto& stacking = form::stackingOrder();
    for (auto from = stacking.rbegin(); from != stacking.rend(); ++from) {
        const auto& d = form::design(*from);
        if (d.kind == ControlKind::Line || d.kind == ControlKind::Picture)
            continue;
        if (HWND made = m_controls[index(d.id)]) {
            above = made;
            continue;
        }
        // Each control as start-up left it: its text, and shown or hidden.
        const auto& control = m_window.control(d.id);
        if (shownOnly && !control.visible)
            continue;
        // A box that only shows is read-only, also to assistive tools, which would otherwise offer it
        // for editing. Its filter still hears what is typed there and says so in the message box.
        const DWORD readOnly = isBox(d.kind) && form::accessibleReadOnly(d.id) ? ES_READONLY : 0;
        const DWORD style = styleOf(d.kind) | readOnly | (control.visible ? WS_VISIBLE : 0);
        const RECT place = windowAt(d, m_dpi);
        HWND child =
            CreateWindowExW(exStyleOf(d.kind), classOf(d.kind), wide(control.text()), style, place.left,
                            place.top, place.right - place.left, place.bottom - place.top, m_hwnd,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + index(d.id))),
                            m_instance, nullptr);
        m_controls[index(d.id)] = child;
        if (!child)
            continue;
        if (later)
            SetWindowPos(child, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = child;
        applyFont(dc, d, child);
        // A password and an address are typed in half-width letters: the input method stays off in
        // their boxes, so that it does not compose full-width text the box would only refuse.
        if (d.id == ControlId::Txtpassnew || d.id == ControlId::Txtbikouran)
            ImmAssociateContextEx(child, nullptr, 0);
        if (d.background)
            m_brushes[index(d.id)].reset(CreateSolidBrush(colourOf(*d.background)));
    }
    ReleaseDC(m_hwnd, dc);
    m_mirroring = false;
}

void Win32View::hookFilters()
{
    const auto data = reinterpret_cast<DWORD_PTR>(this);
    for (const auto& d : form::controlTable()) {
        HWND child = m_controls[index(d.id)];
        if (!child)
            continue;
        if (keyPressHandler(d.id) || form::copyHandler(d.id))
            SetWindowSubclass(child, &Win32View::boxProc, index(d.id), data);
        if (d.kind == ControlKind::ComboBox) {
            SetWindowSubclass(child, &Win32View::comboProc, index(d.id), data);
            if (HWND field = comboParts(child).hwndItem)
                SetWindowSubclass(field, &Win32View::comboProc, kComboFieldSubclass, data);
        }
    }
}

void Win32View::applyFont(HDC dc, const ControlDesign& d, HWND child)
{
    double points = d.fontPoints > 0 ? d.fontPoints : kWindowFontPoints;
    const RECT place = windowAt(d, m_dpi);
    SIZE extent{};
    if (d.kind == ControlKind::Label)
        points = fittedPoints(dc, d, points, place.right - place.left, extent);
    m_points[index(d.id)] = points;
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font(points, d.bold)), FALSE);
    // The text ends where the buttons over the box's right end begin, and scrolls within what shows.
    // Set after the font, which sets the box's margins afresh.
    if (const int margin = form::rightTextMarginTwips(d.id); margin > 0 && isBox(d.kind)) {
        const int right = d.place.left + d.place.width;
        SendMessageW(child, EM_SETMARGINS, EC_RIGHTMARGIN,
                     MAKELPARAM(0, pixelsAt(right, m_dpi) - pixelsAt(right - margin, m_dpi)));
    }
    if (d.kind == ControlKind::Label)
        clipToCaption(d, place, extent);
}

void Win32View::addTooltips()
{
    m_tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, m_hwnd, nullptr, m_instance, nullptr);
    if (!m_tooltip)
        return;
    auto addTool = [this](HWND target, std::u16string& text) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = m_hwnd;
        tool.uId = reinterpret_cast<UINT_PTR>(target);
        tool.lpszText = reinterpret_cast<wchar_t*>(text.data());
        SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    };
    for (const auto& d : form::controlTable()) {
        HWND child = m_controls[index(d.id)];
        if (!child || d.tooltip.empty())
            continue;
        m_tooltips[index(d.id)] = std::u16string(d.tooltip);
        addTool(child, m_tooltips[index(d.id)]);
        if (d.kind == ControlKind::ComboBox) {
            // The pointer over the box's text field is over the field's own window.
            if (HWND field = comboParts(child).hwndItem)
                addTool(field, m_tooltips[index(d.id)]);
        }
    }
    SendMessageW(m_tooltip, TTM_SETMAXTIPWIDTH, 0, pixelsAt(8000, m_dpi));
    showWholeMessage();
}

void Win32View::annotate()
{
    // The system's controls name themselves after the text beside them: a button by its caption, a box
    // by the label just before it among the windows. The labels here stand in the design's stacking
    // rather than beside their boxes, so each control is named from the design table instead.
    m_annotations = std::make_unique<Annotations>();
    for (const auto& d : form::controlTable()) {
        HWND child = m_controls[index(d.id)];
        if (!child)
            continue;
        m_annotations->name(child, form::accessibleName(d.id));
        if (d.kind == ControlKind::ComboBox) {
            // The focus is in the box's text field, which a screen reader reads as a control of its own.
            m_annotations->name(comboParts(child).hwndItem, form::accessibleName(d.id));
        }
    }
    m_annotations->makeLive(m_controls[index(ControlId::Txtmassage)]);
    m_messageName = form::accessibleName(ControlId::Txtmassage);
    // The message start-up wrote is read with the focus, which the window puts on the message box.
    m_messagesAnnounced = m_messageWrites;
    announceMessage();
}

void Win32View::applyDpi(const RECT* suggested, bool moveControls)
{
    // The fonts of the old scale stay alive until every control has taken its new one.
    const auto oldFonts = std::move(m_fonts);
    m_fonts.clear();
    SendMessageW(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font(kWindowFontPoints, false)), FALSE);

    const SIZE size = frameAt(m_dpi);
    RECT now{};
    GetWindowRect(m_hwnd, &now);
    if (suggested)
        SetWindowPos(m_hwnd, nullptr, suggested->left, suggested->top, size.cx, size.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    else if (now.right - now.left != size.cx || now.bottom - now.top != size.cy)
        SetWindowPos(m_hwnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);

    HDC dc = GetDC(m_hwnd);
    for (const auto& d : form::controlTable()) {
        HWND child = m_controls[index(d.id)];
        if (!child)
            continue;
        if (moveControls) {
            const RECT place = windowAt(d, m_dpi);
            MoveWindow(child, place.left, place.top, place.right - place.left, place.bottom - place.top,
                       FALSE);
        }
        applyFont(dc, d, child);
    }
    ReleaseDC(m_hwnd, dc);
    if (m_tooltip)
        SendMessageW(m_tooltip, TTM_SETMAXTIPWIDTH, 0, pixelsAt(8000, m_dpi));
    // Until create() has drawn the background, the window has none of its own.
    if (m_loaded)
        rebuildBackground();
    RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

SIZE Win32View::frameAt(UINT dpi)
{
    RECT frame{0, 0, pixelsAt(form::kClientWidthTwips, dpi), pixelsAt(form::kClientHeightTwips, dpi)};
    AdjustWindowRectExForDpi(&frame, kWindowStyle, FALSE, 0, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

double Win32View::fittedPoints(HDC dc, const ControlDesign& d, double points, int room, SIZE& extent)
{
    extent = {};
    const std::u16string caption(d.caption);
    if (caption.empty())
        return points;
    // Measuring a caption is slow under Wine: the size chosen is measured once, and the clip below
    // takes that measurement.
    double measuredAt = 0;
    auto measure = [&](double size) {
        measuredAt = size;
        SelectObject(dc, font(size, d.bold));
        GetTextExtentPoint32W(dc, wide(caption), static_cast<int>(caption.size()), &extent);
        return static_cast<int>(extent.cx);
    };
    const double fitted = form::fittedCaptionPoints(points, room, measure);
    if (measuredAt != fitted)
        measure(fitted);
    return fitted;
}

// A label's window fills its place in the design, and a static control paints the whole of it: where two
// places overlap, the upper label would cover the text of the lower one with the picture (the empty Label6
// lies over the lower half of Label3). Each label paints its caption and nothing else; the rest of its place
// shows the window beneath, and a label without a caption paints nothing.
void Win32View::clipToCaption(const ControlDesign& d, const RECT& place, SIZE extent)
{
    // A bold glyph may reach a pixel past its advance.
    if (!d.caption.empty())
        extent.cx += static_cast<LONG>(m_dpi / 96);
    HRGN region = CreateRectRgn(0, 0, std::min<LONG>(extent.cx, place.right - place.left),
                                std::min<LONG>(extent.cy, place.bottom - place.top));
    // The window owns the region from here on.
    if (region && !SetWindowRgn(m_controls[index(d.id)], region, FALSE))
        DeleteObject(region);
}

Win32View::Colours Win32View::coloursNow()
{
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    if (SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
        (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0)
        return {true,
                {GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOW),
                 GetSysColor(COLOR_BTNFACE)}};
    return {false,
            {colourOf(form::kDesignText), colourOf(form::kDesignText), colourOf(form::kDesignBoxBackground),
             colourOf(form::kDesignFace)}};
}

void Win32View::chooseColours()
{
    const Colours colours = coloursNow();
    m_systemColours = colours.system;
    m_palette = colours.palette;
    m_boxBrush.reset(CreateSolidBrush(m_palette.box));
}

void Win32View::onSystemColours()
{
    const bool wasSystem = m_systemColours;
    chooseColours();
    if (!wasSystem && !m_systemColours)
        return;
    // The picture goes in high contrast and comes back without it.
    rebuildBackground();
    RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

UniqueBrush Win32View::backgroundBrush(const Picture* picture, UINT dpi, const Colours& colours)
{
    const int width = pixelsAt(form::kClientWidthTwips, dpi);
    const int height = pixelsAt(form::kClientHeightTwips, dpi);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    const UniqueBitmap background(CreateCompatibleBitmap(screen, width, height));
    ReleaseDC(nullptr, screen);
    if (!dc || !background) {
        if (dc)
            DeleteDC(dc);
        return {};
    }
    HGDIOBJ oldBitmap = SelectObject(dc, background.get());
    const RECT all{0, 0, width, height};
    SetDCBrushColor(dc, colours.palette.face);
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));

    // In high contrast the window is plain: the system's text on the system's face, with no picture.
    if (picture && !colours.system) {
        // The picture at its own size in inches, cut off at the edge of its place.
        const RECT place = placeAt(form::design(ControlId::Image1), dpi);
        HDC pictureDc = CreateCompatibleDC(dc);
        HGDIOBJ oldPicture = SelectObject(pictureDc, picture->bitmap.get());
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, place.left, place.top, place.right, place.bottom);
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, place.left, place.top, MulDiv(picture->width, static_cast<int>(dpi), 96),
                   MulDiv(picture->height, static_cast<int>(dpi), 96), pictureDc, 0, 0, picture->width,
                   picture->height, SRCCOPY);
        RestoreDC(dc, saved);
        SelectObject(pictureDc, oldPicture);
        DeleteDC(pictureDc);
    }

    // The frame lines round the password row, one pixel wide at 100 %.
    UniquePen pen(CreatePen(PS_SOLID, std::max(1, static_cast<int>(dpi / 96)), colours.palette.text));
    HGDIOBJ oldPen = SelectObject(dc, pen.get());
    for (const auto& d : form::controlTable()) {
        if (d.kind != ControlKind::Line)
            continue;
        const RECT ends = placeAt(d, dpi);
        MoveToEx(dc, ends.left, ends.top, nullptr);
        LineTo(dc, ends.right, ends.bottom);
        // LineTo leaves out the last point; the design's lines meet at their corners.
        SetPixel(dc, ends.right, ends.bottom, colours.palette.text);
    }
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBitmap);
    DeleteDC(dc);
    // The brush copies the bitmap, which is freed here: the window's picture is held once.
    return UniqueBrush(CreatePatternBrush(background.get()));
}

void Win32View::rebuildBackground()
{
    // The picture is decoded again for it; none is drawn in high contrast.
    const Picture picture =
        m_pictureShown && !m_systemColours ? loadPicture(m_window.pictureFile()) : Picture{};
    // The old background goes first: the window holds one.
    m_backgroundBrush.reset();
    m_backgroundBrush =
        backgroundBrush(picture.bitmap ? &picture : nullptr, m_dpi, {m_systemColours, m_palette});
}

void Win32View::onPaint()
{
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(m_hwnd, &paint);
    onPrintClient(dc);
    EndPaint(m_hwnd, &paint);
}

void Win32View::onPrintClient(HDC dc)
{
    RECT client{};
    GetClientRect(m_hwnd, &client);
    if (!m_backgroundBrush) {
        SetDCBrushColor(dc, m_palette.face);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        return;
    }
    POINT origin{};
    SetBrushOrgEx(dc, 0, 0, &origin);
    FillRect(dc, &client, m_backgroundBrush.get());
    SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
}

// Every colour the window shows is its own, whatever the desktop's theme: the table's, and the design's
// defaults for the rest (Palette). In high contrast the system's colours stand for all of them.
LRESULT Win32View::onControlColour(HDC dc, HWND child)
{
    auto id = controlOf(child);
    if (!id) {
        // The drop-down list of the destination box hangs from the desktop, not from the box.
        if (comboParts(m_controls[index(ControlId::cmbnamae)]).hwndList == child)
            id = ControlId::cmbnamae;
        else
            return DefWindowProcW(m_hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                  reinterpret_cast<LPARAM>(child));
    }
    const auto& d = form::design(*id);
    const bool designed = !m_systemColours;
    if (auto& brush = m_brushes[index(*id)]; brush && d.background && designed) {
        SetTextColor(dc, d.foreground ? colourOf(*d.foreground) : m_palette.boxText);
        SetBkColor(dc, colourOf(*d.background));
        return reinterpret_cast<LRESULT>(brush.get());
    }
    if (isBox(d.kind) || d.kind == ControlKind::ComboBox || d.kind == ControlKind::ListBox) {
        SetTextColor(dc, d.foreground && designed ? colourOf(*d.foreground) : m_palette.boxText);
        SetBkColor(dc, m_palette.box);
        return reinterpret_cast<LRESULT>(m_boxBrush.get());
    }
    // Labels and the corners of buttons show the window beneath them: the picture and the lines.
    SetTextColor(dc, d.foreground && designed ? colourOf(*d.foreground) : m_palette.text);
    SetBkMode(dc, TRANSPARENT);
    POINT origin{0, 0};
    MapWindowPoints(child, m_hwnd, &origin, 1);
    SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
    if (m_backgroundBrush)
        return reinterpret_cast<LRESULT>(m_backgroundBrush.get());
    SetDCBrushColor(dc, m_palette.face);
    return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
}

void Win32View::onDpiChanged(UINT dpi, const RECT& suggested)
{
    m_dpi = dpi;
    applyDpi(&suggested, true);
}

void Win32View::onActivate(WPARAM wParam)
{
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focused = GetFocus();
        if (focused && IsChild(m_hwnd, focused))
            m_lastFocus = focused;
    } else if (m_lastFocus && IsWindowVisible(m_lastFocus)) {
        SetFocus(m_lastFocus);
    }
}

void Win32View::onClose()
{
    // The password the copy button put on the clipboard goes with the window.
    m_window.Form_Unload();
    DestroyWindow(m_hwnd);
}

void Win32View::showIcon()
{
    // The program's icon, at the sizes the system asks for: the large one for switching between
    // programs, the small one for the title bar and the task bar.
    const auto icon = [this](int width, int height, UINT flags) {
        return reinterpret_cast<LPARAM>(LoadImageW(m_instance, MAKEINTRESOURCEW(IDI_ORVANTA), IMAGE_ICON,
                                                   width, height, flags | LR_SHARED));
    };
    SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, icon(0, 0, LR_DEFAULTSIZE));
    SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL,
                 icon(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
}

void Win32View::onCommand(WPARAM wParam, LPARAM lParam)
{
    const int identifier = LOWORD(wParam) - kFirstControlId;
    if (lParam == 0 || identifier < 0 || static_cast<std::size_t>(identifier) >= form::kControlCount)
        return;
    const auto id = static_cast<ControlId>(identifier);
    const UINT code = HIWORD(wParam);
    HWND child = m_controls[index(id)];
    if (m_mirroring)
        return;

    switch (form::design(id).kind) {
    case ControlKind::Button:
        if (code == BN_CLICKED)
            if (auto handler = clickHandler(id))
                route(std::bind_front(handler, &m_window));
        return;
    case ControlKind::ComboBox:
        if (code == CBN_SELCHANGE) {
            // A choice from the list, by mouse, arrow keys or wheel.
            const int chosen = static_cast<int>(SendMessageW(child, CB_GETCURSEL, 0, 0));
            route([this, chosen] { form::chooseDestination(m_window, chosen); });
        }
        // A change of the text field arrives through comboProc.
        return;
    case ControlKind::ListBox:
        if (!m_window.Lstidbox.visible) {
            // The list has just hidden itself (a double-click opened the entry); the mouse button's
            // release on it is no choice of the user's.
            mirror();
            return;
        }
        if (code == LBN_SELCHANGE) {
            // Every click, also on the ID already chosen, and every move with the arrow keys.
            const int chosen = static_cast<int>(SendMessageW(child, LB_GETCURSEL, 0, 0));
            route([this, chosen] { form::chooseId(m_window, chosen); });
        } else if (code == LBN_DBLCLK) {
            // The click before it has already chosen the entry and run the Click handler.
            route([this] { m_window.Lstidbox_DblClick(); });
        }
        return;
    case ControlKind::TextBox:
    case ControlKind::DisplayBox:
    case ControlKind::StorageBox:
        if (code != EN_CHANGE)
            return;
        if (isTypedBox(id) || m_forwardingTo == id) {
            const auto text = windowText(child);
            route([this, id, &text] { m_window.control(id).setText(text); });
        } else {
            // Pasted, cut or deleted in a box that only shows: once the edit is over, the program's
            // text returns.
            PostMessageW(m_hwnd, kMirrorLater, 0, 0);
        }
        return;
    default:
        return;
    }
}

void Win32View::route(const std::function<void()>& handler)
{
    if (m_mirroring)
        return;
    form::runEvent(m_window, handler);
    mirror();
}

void Win32View::mirror()
{
    if (!m_hwnd)
        return;
    m_mirroring = true;
    for (const auto& d : form::controlTable()) {
        HWND child = m_controls[index(d.id)];
        if (!child)
            continue;
        const auto& control = m_window.control(d.id);
        if (d.kind == ControlKind::ComboBox || d.kind == ControlKind::ListBox) {
            const bool combo = d.kind == ControlKind::ComboBox;
            auto& shown = m_shownItems[index(d.id)];
            // A list whose choice the program took away was emptied and filled again, perhaps with the
            // same IDs: it starts afresh, at its top with the focus frame on its first entry, where Down,
            // Home and Space choose. (Taking the choice alone away would leave the frame on the entry
            // that was chosen, and Down would choose that one.)
            const bool refilled = !combo && control.listIndex < 0 &&
                                  static_cast<int>(SendMessageW(child, LB_GETCURSEL, 0, 0)) >= 0;
            if (shown != control.items || refilled) {
                // A list on the screen is drawn once it is whole, not once for each entry put in. (Turning
                // drawing back on marks a window shown, so a hidden list is filled as it is.)
                const bool onScreen = (GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) != 0;
                if (onScreen)
                    SendMessageW(child, WM_SETREDRAW, FALSE, 0);
                SendMessageW(child, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
                for (const auto& item : control.items)
                    SendMessageW(child, combo ? CB_ADDSTRING : LB_ADDSTRING, 0,
                                 reinterpret_cast<LPARAM>(wide(item)));
                if (onScreen) {
                    SendMessageW(child, WM_SETREDRAW, TRUE, 0);
                    InvalidateRect(child, nullptr, TRUE);
                }
                shown = control.items;
            }
            const UINT getSelection = combo ? CB_GETCURSEL : LB_GETCURSEL;
            if (static_cast<int>(SendMessageW(child, getSelection, 0, 0)) != control.listIndex)
                SendMessageW(child, combo ? CB_SETCURSEL : LB_SETCURSEL,
                             static_cast<WPARAM>(control.listIndex), 0);
            if (combo && windowText(child) != control.text())
                SetWindowTextW(child, wide(control.text()));
        } else if (windowText(child) != control.text()) {
            SetWindowTextW(child, wide(control.text()));
        }
    }
    mirrorVisibility();
    showWholeMessage();
    announceMessage();
    m_mirroring = false;
}

void Win32View::mirrorVisibility()
{
    // Controls are shown before others are hidden, and the focus of a control that hid itself passes to
    // the control that took its place.
    HWND focused = GetFocus();
    for (bool showing : {true, false}) {
        for (const auto& d : form::controlTable()) {
            HWND child = m_controls[index(d.id)];
            if (!child)
                continue;
            // The control's own visibility, not IsWindowVisible's, which is false while the window is hidden.
            const bool shown = (GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) != 0;
            if (m_window.control(d.id).visible == showing && shown != showing)
                ShowWindow(child, showing ? SW_SHOWNA : SW_HIDE);
        }
    }
    repairFocus(focused);
}

void Win32View::showWholeMessage()
{
    // Before the tooltips are set up, addTooltips comes here itself.
    HWND box = m_controls[index(ControlId::Txtmassage)];
    if (!m_tooltip || !box)
        return;
    auto tip = form::wholeMessageTip(m_window.Txtmassage.text(), u"\r\n");
    auto& shown = m_tooltips[index(ControlId::Txtmassage)];
    if (shown == tip)
        return;
    shown = std::move(tip);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = m_hwnd;
    tool.uId = reinterpret_cast<UINT_PTR>(box);
    tool.lpszText = reinterpret_cast<wchar_t*>(shown.data());
    SendMessageW(m_tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Win32View::announceMessage()
{
    HWND box = m_controls[index(ControlId::Txtmassage)];
    if (!m_annotations || !box)
        return;
    // Screen readers read a live region by its name: the box is named by the message it shows, or, with
    // none, by what it is.
    const auto& text = m_window.Txtmassage.text();
    auto name = text.empty() ? std::u16string(form::accessibleName(ControlId::Txtmassage)) : text;
    if (name != m_messageName) {
        m_annotations->name(box, name);
        m_messageName = std::move(name);
    }
    // Every message is read out once, also the same refusal twice in a row, which leaves the box as it
    // was; a box a handler only emptied says nothing.
    const bool written = std::exchange(m_messagesAnnounced, m_messageWrites) != m_messageWrites;
    if (written && !text.empty())
        announceNews(box);
}

std::optional<ControlId> Win32View::controlOf(HWND window) const
{
    for (int depth = 0; window && depth < 2; ++depth, window = GetParent(window)) {
        const auto found = std::find(m_controls.begin(), m_controls.end(), window);
        if (found != m_controls.end())
            return static_cast<ControlId>(found - m_controls.begin());
    }
    return std::nullopt;
}

void Win32View::repairFocus(HWND focused)
{
    const auto id = controlOf(focused);
    if (!id || IsWindowVisible(m_controls[index(*id)]))
        return;
    const auto& place = form::design(*id).place;
    for (const auto& d : form::controlTable()) {
        HWND child = m_controls[index(d.id)];
        if (child && d.id != *id && d.tabIndex >= 0 && d.place.left == place.left &&
            d.place.top == place.top && IsWindowVisible(child)) {
            SetFocus(child);
            return;
        }
    }
    SetFocus(m_controls[index(*id)]);
    moveFocus(1);
}

// Tab is walked here by hand. Windows' own Tab (the dialog manager's, which a plain window does not get
// anyway) goes through the controls in their z-order, and the z-order is the design's stacking, which
// decides which of two controls sharing a place shows: it is not the design's tab order.
void Win32View::moveFocus(int step)
{
    const auto& order = form::tabOrder();
    const auto current = controlOf(GetFocus());
    auto at = current ? std::find(order.begin(), order.end(), *current) : order.end();
    const auto count = static_cast<std::ptrdiff_t>(order.size());
    std::ptrdiff_t position = at == order.end() ? (step > 0 ? -1 : count) : at - order.begin();
    for (std::ptrdiff_t tried = 0; tried < count; ++tried) {
        position = ((position + step) % count + count) % count;
        const ControlId id = order[static_cast<std::size_t>(position)];
        HWND child = m_controls[index(id)];
        if (child && IsWindowVisible(child) && IsWindowEnabled(child)) {
            SetFocus(child);
            // A box reached with Tab has its text selected, ready to be typed over.
            const auto kind = form::design(id).kind;
            if (isBox(kind))
                SendMessageW(child, EM_SETSEL, 0, -1);
            else if (kind == ControlKind::ComboBox)
                SendMessageW(child, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
            return;
        }
    }
}

void Win32View::focusFirstStop()
{
    for (ControlId id : form::tabOrder()) {
        HWND child = m_controls[index(id)];
        if (child && IsWindowVisible(child) && IsWindowEnabled(child)) {
            SetFocus(child);
            return;
        }
    }
}

bool Win32View::preTranslate(const MSG& message)
{
    if (!m_hwnd || message.message != WM_KEYDOWN ||
        (message.hwnd != m_hwnd && !IsChild(m_hwnd, message.hwnd)))
        return false;
    if (onActionKey(message.hwnd, message.wParam, message.lParam) ||
        onListSpace(message.hwnd, message.wParam))
        return true;
    if (message.wParam == VK_F1) {
        // The help key is the window's, whichever control has the focus.
        SendMessageW(m_hwnd, WM_KEYDOWN, VK_F1, message.lParam);
        return true;
    }
    if (message.wParam == VK_TAB && (GetKeyState(VK_CONTROL) & 0x8000) == 0 &&
        (GetKeyState(VK_MENU) & 0x8000) == 0) {
        moveFocus((GetKeyState(VK_SHIFT) & 0x8000) != 0 ? -1 : 1);
        return true;
    }
    return false;
}

bool Win32View::onActionKey(HWND focused, WPARAM key, LPARAM lParam)
{
    if ((key != VK_RETURN && key != VK_SPACE) || (GetKeyState(VK_CONTROL) & 0x8000) != 0 ||
        (GetKeyState(VK_MENU) & 0x8000) != 0)
        return false;
    const auto id = controlOf(focused);
    if (!id)
        return false;
    const auto actionKey = key == VK_RETURN ? form::ActionKey::Enter : form::ActionKey::Space;
    // A key held down repeats: it acts once, and the repeats go nowhere.
    const bool repeated = (lParam & (LPARAM{1} << 30)) != 0;
    switch (form::keyActionOn(*id, actionKey)) {
    case form::KeyAction::Click:
        // Space is the button's own: it looks pressed while the key is down and clicks as it comes up.
        if (actionKey == form::ActionKey::Space)
            return false;
        if (!repeated)
            SendMessageW(m_controls[index(*id)], BM_CLICK, 0, 0);
        return true;
    case form::KeyAction::DblClick:
        // As a double-click, whose first click reads the chosen entry again.
        if (!repeated)
            route([this] { form::openChosenId(m_window); });
        return true;
    case form::KeyAction::None:
        break;
    }
    return false;
}

bool Win32View::onListSpace(HWND focused, WPARAM key)
{
    // Down and Home choose the first entry of a list with nothing chosen, and the list reports the
    // choice. Space does so here whatever the system's list does: one that holds a single choice may
    // take no Space at all, and a list of one ID is then out of the keyboard's reach.
    if (key != VK_SPACE || (GetKeyState(VK_CONTROL) & 0x8000) != 0 || (GetKeyState(VK_MENU) & 0x8000) != 0)
        return false;
    const auto id = controlOf(focused);
    if (!id || form::design(*id).kind != ControlKind::ListBox)
        return false;
    HWND list = m_controls[index(*id)];
    const auto chosen = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
    const auto choice = form::listKeyChoice(form::ListKey::Space, chosen == LB_ERR ? -1 : chosen,
                                            static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)), 1);
    if (!choice)
        return false;
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(*choice), 0);
    route([this, entry = *choice] { form::chooseId(m_window, entry); });
    return true;
}

LRESULT CALLBACK Win32View::boxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclass,
                                    DWORD_PTR data)
{
    auto* view = reinterpret_cast<Win32View*>(data);
    const auto id = static_cast<ControlId>(subclass);
    switch (message) {
    case WM_CHAR:
        // Ctrl+X in a box that only shows: such a box cuts nothing, but the password it shows is copied
        // as a cut out of the other boxes copies it.
        if (wParam == 0x18 && form::copyHandler(id) &&
            (GetWindowLongPtrW(box, GWL_STYLE) & ES_READONLY) != 0) {
            view->onSecretCopy(id, box, true);
            return 0;
        }
        [[fallthrough]];
    case WM_IME_CHAR:
        if (view->onBoxCharacter(id, box, static_cast<char16_t>(wParam), lParam))
            return 0;
        break;
    case WM_IME_COMPOSITION:
        if ((lParam & GCS_RESULTSTR) && view->onBoxComposition(id, box)) {
            // The finished text went through the filter; a new composition may already have begun.
            lParam &= ~static_cast<LPARAM>(GCS_RESULTSTR | GCS_RESULTREADSTR | GCS_RESULTCLAUSE);
            if ((lParam & GCS_COMPSTR) == 0)
                return 0;
        }
        break;
    case WM_KEYDOWN:
        // Ctrl+Insert and Shift+Delete copy and cut inside the box itself, without WM_COPY or WM_CUT.
        if (form::copyHandler(id) && view->onSecretCopyKey(id, box, wParam))
            return 0;
        break;
    case WM_COPY:
    case WM_CUT:
        // Ctrl+C, Ctrl+Insert, Ctrl+X, Shift+Delete or the box's menu in a box that may show a
        // password: the selection goes to the clipboard as クリップ puts a password there.
        if (form::copyHandler(id)) {
            view->onSecretCopy(id, box, message == WM_CUT);
            return 0;
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(box, &Win32View::boxProc, subclass);
        break;
    default:
        break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

LRESULT CALLBACK Win32View::comboProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR subclass, DWORD_PTR data)
{
    // Every change of the text field (typing, paste, the input method, an assistive tool) reaches the
    // core. The box's own CBN_EDITCHANGE is not used: like the field's EN_CHANGE, Windows does not raise
    // it for text set into the field from outside, and it drops one after the program set the text.
    auto* view = reinterpret_cast<Win32View*>(data);
    auto changed = [view](HWND field) {
        if (view->m_mirroring)
            return;
        const auto text = windowText(field);
        view->route([view, &text] { view->m_window.cmbnamae.setText(text); });
    };
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, &Win32View::comboProc, subclass);
    } else if (subclass == kComboFieldSubclass && message == WM_SETTEXT) {
        // The box sets its field itself to show a choice, before it reports the choice: the text is
        // taken once the message is over, when it is still not what the core holds.
        if (!view->m_mirroring)
            PostMessageW(view->m_hwnd, kComboFieldSet, 0, 0);
    } else if (subclass != kComboFieldSubclass && message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE &&
               lParam != 0) {
        changed(reinterpret_cast<HWND>(lParam));
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

bool Win32View::onBoxCharacter(ControlId id, HWND box, char16_t unit, LPARAM lParam)
{
    // What this filter hands on has been through the handler already.
    if (m_forwardingTo)
        return false;
    // The control characters of Ctrl shortcuts (select all, copy, paste, cut, undo) insert nothing and
    // reach no filter; Backspace and Enter reach it, as they always have.
    if (unit < 0x20 && unit != u'\b' && unit != u'\r')
        return false;
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        m_pendingHighSurrogate = unit;
        return true;
    }
    std::u16string typed;
    if (unit >= 0xDC00 && unit <= 0xDFFF && m_pendingHighSurrogate)
        typed += m_pendingHighSurrogate;
    typed += unit;
    m_pendingHighSurrogate = 0;

    const auto [accepted, changed] = passThroughHandler(keyPressHandler(id), typed);
    auto deliver = [&](const std::u16string& text) {
        for (const char16_t c : text)
            DefSubclassProc(box, WM_CHAR, c, lParam);
    };
    if (!changed && isTypedBox(id)) {
        deliver(typed);
        return true;
    }
    if (!accepted.empty()) {
        m_forwardingTo = id;
        deliver(accepted);
        m_forwardingTo.reset();
    }
    return true;
}

bool Win32View::onBoxComposition(ControlId id, HWND box)
{
    if (m_forwardingTo)
        return false;
    HIMC context = ImmGetContext(box);
    if (!context)
        return false;
    const LONG bytes = ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
    std::u16string typed(bytes > 0 ? static_cast<std::size_t>(bytes) / sizeof(char16_t) : 0, u'\0');
    if (bytes > 0)
        ImmGetCompositionStringW(context, GCS_RESULTSTR, typed.data(), static_cast<DWORD>(bytes));
    ImmReleaseContext(box, context);
    if (typed.empty())
        return false;

    const auto [accepted, changed] = passThroughHandler(keyPressHandler(id), typed);
    if (!changed && isTypedBox(id))
        return false;
    if (!accepted.empty()) {
        m_forwardingTo = id;
        SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide(accepted)));
        m_forwardingTo.reset();
    }
    return true;
}

bool Win32View::onSecretCopyKey(ControlId id, HWND box, WPARAM key)
{
    const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const bool copy = key == VK_INSERT && control && !shift;
    const bool cut = key == VK_DELETE && shift && !control;
    if (start == end || (!copy && !cut))
        return false;
    onSecretCopy(id, box, cut);
    return true;
}

void Win32View::onSecretCopy(ControlId id, HWND box, bool cut)
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const std::u16string text = windowText(box);
    end = std::min<DWORD>(end, static_cast<DWORD>(text.size()));
    const std::u16string selected = start < end ? text.substr(start, end - start) : std::u16string();
    if (selected.empty())
        return;
    route([this, id, &selected] { (m_window.*form::copyHandler(id))(selected); });
    // A box the user writes in loses what is cut; a box that only shows keeps the program's text.
    if (cut && isTypedBox(id))
        SendMessageW(box, WM_CLEAR, 0, 0);
}

std::pair<std::u16string, bool> Win32View::passThroughHandler(KeyPressHandler handler,
                                                              std::u16string_view typed)
{
    form::TypedText result;
    route([&] { result = form::passKeyPress(m_window, handler, typed); });
    return {std::move(result.accepted), result.changed};
}

} // namespace orvanta::view_win32
