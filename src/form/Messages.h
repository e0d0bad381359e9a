#pragma once

// The messages the window itself puts in Txtmassage: start-up, the help key and a failed event. Every
// message of the program fits the box whole at the design font, with the longest names it meets.

#include <string>
#include <string_view>

namespace orvanta::form {

/// Start-up's message when the product ID cannot be read: the temporary key, and `what` is wrong
/// where, in the host's few words. バックアップ and ロード say themselves that they refuse.
std::u16string keyProblemMessage(std::u16string_view what, std::u16string_view key);

/// F1 without a help file at `shownPath`.
std::u16string helpMissingMessage(std::u16string_view shownPath);

/// F1 with a help file at `shownPath` that cannot be shown, named by its name alone; `why`, when given,
/// is the platform's description.
std::u16string helpUnreadableMessage(std::u16string_view shownPath, std::u16string_view why = {});

/// The keystroke filters' refusals: a character a password or a mail box does not take, a display box
/// outside the modes that fill it, the message box itself.
inline constexpr std::u16string_view kNotUsable = u"入力可能文字ではありません";
inline constexpr std::u16string_view kDisplayOnly =
    u"モードを切り替えないと、この項目は入力できません：登録モード or 編集モード";
inline constexpr std::u16string_view kMessageOnly = u"この項目は入力できません";

/// An event stopped by an error nobody foresaw; `what` is the error's own text.
std::u16string unexpectedErrorMessage(std::u16string_view what);

} // namespace orvanta::form
