#pragma once

// The program's Windows window, a mirror of MainWindow in the system's own controls.

#include "Annotations.h"
#include "Handles.h"
#include "Picture.h"
#include "form/EventRoutes.h"
#include "form/MainWindow.h"

#include <array>
#include <cstdint>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvanta::view_win32 {

/// The program's window on Windows, built from the design table with the system's own controls: EDIT
/// for the boxes, a drop-down COMBOBOX, a LISTBOX, BUTTON and STATIC. The frame lines and the picture
/// are drawn by the window itself, beneath the controls.
///
/// Every user event goes to the window's handler in the core; afterwards the view copies the state of
/// every control (text, list entries, selection, visibility) back into the controls, and ignores the
/// notifications that the copy itself raises. The controls hold nothing the core does not know: text
/// pasted into a box that only shows values is replaced by the core's text.
class Win32View {
public:
    /// Posted to the window: copy the core's state into the controls once the current message is over.
    static constexpr UINT kMirrorLater = WM_APP + 1;
    /// Posted to the window: text was set into the drop-down box's field from outside.
    static constexpr UINT kComboFieldSet = WM_APP + 3;
    /// Posted to the window: make the controls start-up hid, hang the filters on the boxes and give the
    /// controls their tooltips.
    static constexpr UINT kCompleteWindow = WM_APP + 4;
    /// Posted to the window: give the window its icon once it is on the screen.
    static constexpr UINT kShowIcon = WM_APP + 5;
    /// The first control's identifier; a control's identifier is this plus its place in the table.
    static constexpr int kFirstControlId = 100;

    Win32View(form::MainWindow& window, HINSTANCE instance);
    ~Win32View();
    Win32View(const Win32View&) = delete;
    Win32View& operator=(const Win32View&) = delete;

    /// Runs the window's start-up, then looks up the design's face and decodes the picture it found while
    /// create() makes the window.
    void load();
    /// Creates the window, hidden, with the controls of the start-up screen as start-up left them and the
    /// picture beneath; false when Windows refused.
    bool create();
    /// Shows the window and puts the focus on the first control the user can reach with Tab.
    void show(int showCommand);
    /// Ends the message loop when the window closes (the program's one window does; a test's does not).
    void setQuitOnClose(bool quit) { m_quitOnClose = quit; }

    /// Keys the window handles for all its controls before they reach one: Tab and Shift+Tab walk the
    /// design's tab order, F1 goes to the window, which shows the help. True when the message was taken
    /// here.
    bool preTranslate(const MSG& message);

    HWND window() const { return m_hwnd; }
    /// The control built for a design row; null for the lines and the picture, which the window draws.
    HWND control(form::ControlId id) const { return m_controls[index(id)]; }
    /// Whether the picture beside the program was found and is drawn.
    bool pictureShown() const { return m_pictureShown; }

    /// Copies the state of every control into the window's controls.
    void mirror();

    /// Whether the window follows the system's colours (Windows' high-contrast mode) rather than its own.
    bool systemColours() const { return m_systemColours; }

private:
    using KeyPressHandler = form::KeyPressHandler;

    static std::size_t index(form::ControlId id) { return static_cast<std::size_t>(id); }
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK boxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclass,
                                    DWORD_PTR data);
    static LRESULT CALLBACK comboProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR subclass, DWORD_PTR data);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    /// The messages the window posts to itself; false for any other.
    bool onOwnMessage(UINT message);
    /// Shows and hides the controls as the window's controls say.
    void mirrorVisibility();

    // One function per message of the window.
    bool onCreate();
    void onCommand(WPARAM wParam, LPARAM lParam);
    void onPaint();
    void onPrintClient(HDC dc);
    LRESULT onControlColour(HDC dc, HWND child);
    void onDpiChanged(UINT dpi, const RECT& suggested);
    void onActivate(WPARAM wParam);
    /// True when the key was the window's own (F1).
    bool onKeyDown(WPARAM key);
    /// Enter or Space on the focused control: true when it raised an event there.
    bool onActionKey(HWND focused, WPARAM key, LPARAM lParam);
    /// Space in the ID list with nothing chosen: true when it chose the first ID.
    bool onListSpace(HWND focused, WPARAM key);
    void onSystemColours();
    void onSetFocus();
    void onEndSession(WPARAM ending);
    void onDestroy();
    void onComboFieldSet();
    void onClose();
    void showIcon();

    // Building and sizing.
    /// Makes the controls not made yet (only those the core shows, when asked), each as the core holds it.
    void buildControls(bool shownOnly);
    /// Gives a control its font: the designed size, or for a label the size its caption fits at.
    void applyFont(HDC dc, const form::ControlDesign& design, HWND child);
    /// Hangs the keystroke and copy filters on the boxes and the text watch on the drop-down box.
    void hookFilters();
    void addTooltips();
    /// Names every control for screen readers and makes the message box a live region.
    void annotate();
    /// Puts the whole message into the message box's tooltip.
    void showWholeMessage();
    /// Gives the message box the message as its name, and has a new message read out, the same one
    /// again too.
    void announceMessage();
    /// Sizes the window, the fonts and (when asked) the controls for m_dpi.
    void applyDpi(const RECT* suggested, bool moveControls);
    /// The window's outer size for its client area at `dpi`.
    static SIZE frameAt(UINT dpi);
    /// The size a label's caption is drawn at: its designed size, or smaller when it would not fit.
    /// `extent` is the caption's size at that font size (none for an empty caption).
    double fittedPoints(HDC dc, const form::ControlDesign& design, double points, int room, SIZE& extent);
    /// Lets a label paint its caption only, so that it covers nothing beside its text.
    void clipToCaption(const form::ControlDesign& design, const RECT& place, SIZE extent);
    /// Takes the colours the window paints with: its design's, or the system's in high-contrast mode.
    void chooseColours();
    HFONT font(double points, bool bold);
    /// Draws the client area beneath the controls again, at the window's scale in its colours.
    void rebuildBackground();

    // Events to the core.
    void route(const std::function<void()>& handler);
    /// A character typed into a box with a keystroke filter: true when it was taken here.
    bool onBoxCharacter(form::ControlId id, HWND box, char16_t unit, LPARAM lParam);
    /// The input method's finished text for a box with a keystroke filter: true when it was taken here.
    bool onBoxComposition(form::ControlId id, HWND box);
    /// A copy or cut out of a box that may show a password: its selection, to the core.
    void onSecretCopy(form::ControlId id, HWND box, bool cut);
    /// Ctrl+Insert or Shift+Delete over a selection in such a box: copied or cut as above. True when the
    /// key was one of them.
    bool onSecretCopyKey(form::ControlId id, HWND box, WPARAM key);
    /// Puts every character of `typed` through the box's KeyPress handler; what the handler let
    /// through, and whether that differs from what was typed.
    std::pair<std::u16string, bool> passThroughHandler(KeyPressHandler handler, std::u16string_view typed);
    std::optional<form::ControlId> controlOf(HWND window) const;

    // Focus.
    void moveFocus(int step);
    void focusFirstStop();
    void repairFocus(HWND focused);

    form::MainWindow& m_window;
    HINSTANCE m_instance;
    HWND m_hwnd = nullptr;
    HWND m_tooltip = nullptr; // owned by m_hwnd
    UINT m_dpi = 96;
    bool m_quitOnClose = false;
    bool m_mirroring = false;
    /// The box a filtered keystroke is being delivered to, while it is.
    std::optional<form::ControlId> m_forwardingTo;
    /// The first half of a character beyond U+FFFF, until its second half arrives.
    char16_t m_pendingHighSurrogate = 0;
    HWND m_lastFocus = nullptr;

    std::array<HWND, form::kControlCount> m_controls{};
    std::array<double, form::kControlCount> m_points{};
    std::array<std::vector<std::u16string>, form::kControlCount> m_shownItems{};
    std::array<std::u16string, form::kControlCount> m_tooltips{};
    std::array<UniqueBrush, form::kControlCount> m_brushes{};

    /// The names and the live region given to screen readers, once the window is complete.
    std::unique_ptr<Annotations> m_annotations;
    /// The message box's Change event as the window had it; the view counts the writes on top.
    std::function<void()> m_messageChange;
    /// How often a handler wrote into the message box, and how many of those writes were announced.
    std::size_t m_messageWrites = 0;
    std::size_t m_messagesAnnounced = 0;
    /// The name the message box was last given.
    std::u16string m_messageName;

    /// The colours that the design leaves to the controls' defaults, as the window paints them.
    struct Palette {
        COLORREF text = 0;    ///< captions and frame lines, on the window's face
        COLORREF boxText = 0; ///< text in the boxes and lists
        COLORREF box = 0;     ///< the boxes' and lists' background
        COLORREF face = 0;    ///< the window beneath the picture
        bool operator==(const Palette&) const = default;
    };
    /// The colours the system asks for now: the design's, or in high-contrast mode the system's own.
    struct Colours {
        bool system = false;
        Palette palette;
        bool operator==(const Colours&) const = default;
    };
    static Colours coloursNow();
    /// The client area beneath the controls at `dpi`: the face colour, the picture (when given, and not in
    /// high contrast) and the frame lines, as a brush; null when the system refused the bitmap.
    static UniqueBrush backgroundBrush(const Picture* picture, UINT dpi, const Colours& colours);
    bool m_systemColours = false;
    Palette m_palette;
    UniqueBrush m_boxBrush;

    /// What the window shows that needs no window to make: the design's face and the background with
    /// the picture, drawn at the system's scale in the system's colours. It is made beside the window.
    struct Prepared {
        std::u16string face;
        bool pictureFound = false;
        UINT dpi = 0;
        Colours colours;
        UniqueBrush background;
    };
    static Prepared prepare(const std::string& pictureFile);
    std::future<Prepared> m_prepared;
    std::u16string m_face;
    std::map<std::pair<int, bool>, UniqueFont> m_fonts; // by quarter points and boldness
    bool m_loaded = false;                              // start-up has run and the background is drawn
    bool m_pictureShown = false;
    // The client area beneath the controls (face colour, picture, lines) as a brush, which keeps its own
    // copy of the bitmap it was made from: the window paints with it, and the labels and the buttons'
    // corners show it.
    UniqueBrush m_backgroundBrush;
};

} // namespace orvanta::view_win32
