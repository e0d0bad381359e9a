#pragma once

// The layout table of the four screens: which controls each one shows.

#include "form/ControlTable.h"

#include <array>

namespace orvanta::form {

/// The four screens of the window. A screen is nothing but which controls are shown.
enum class Screen { Initial, Registration, Edit, Result };

struct ScreenRow {
    ControlId control;
    bool initial;
    bool registration;
    bool edit;
    bool result;

    constexpr bool shownOn(Screen screen) const
    {
        switch (screen) {
        case Screen::Initial:
            return initial;
        case Screen::Registration:
            return registration;
        case Screen::Edit:
            return edit;
        case Screen::Result:
            return result;
        }
        return false;
    }
};

/// The layout table: every control a change of screen touches, and where it is shown.
/// Display and input controls stand in pairs on one place, so each screen shows one of each pair.
/// The result screen is the initial screen without the backup and restore buttons.
// clang-format off
inline constexpr std::array<ScreenRow, 19> kLayoutTable{{
    //                                initial registration edit  result
    {ControlId::cmbnamae,    true,   true,        false, true},
    {ControlId::Txtnamae,    false,  false,       true,  false},
    {ControlId::Lstidbox,    true,   false,       false, true},
    {ControlId::Txtidbox,    false,  true,        true,  false},
    {ControlId::Lblpassword, true,   false,       false, true},
    {ControlId::Txtpassnew,  false,  true,        true,  false},
    {ControlId::Lblbikouran, true,   false,       false, true},
    {ControlId::Txtbikouran, false,  true,        true,  false},
    {ControlId::riyoukanou,  false,  true,        true,  false},
    {ControlId::btnnewmode,  true,   false,       false, true},
    {ControlId::btnnew,      false,  true,        false, false},
    {ControlId::btnkousin,   false,  false,       true,  false},
    {ControlId::btndelete,   false,  false,       true,  false},
    {ControlId::btnmordori,  false,  true,        true,  false},
    {ControlId::btnclipset,  true,   false,       false, true},
    {ControlId::btncleate,   false,  true,        true,  false},
    {ControlId::txtketasu,   false,  true,        true,  false},
    {ControlId::btnload,     true,   false,       false, false},
    {ControlId::btnunload,   true,   false,       false, false},
}};
// clang-format on

/// Whether `screen` shows `id`: as the layout table says for the controls a change of screen touches;
/// never for the storage boxes; always for every other control (the message box, the captions, the
/// lines and the picture).
inline bool shownOn(ControlId id, Screen screen)
{
    for (const auto& row : kLayoutTable)
        if (row.control == id)
            return row.shownOn(screen);
    return design(id).kind != ControlKind::StorageBox;
}

/// The room at the right end of a box where its text does not go, in twips: from the left edge of the
/// leftmost control that stands over the box on a screen that shows both, to the box's right edge; 0
/// when none does. A long text then scrolls within the part of the box the user can see, instead of
/// running on under the buttons and the length box at the right end of the password row.
int rightTextMarginTwips(ControlId box);

} // namespace orvanta::form
