#pragma once

// The help file as both windows show it: blocks of text with their headings, lists and strong runs.

#include "host/HelpViewer.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace orvanta::form {

/// The largest help file F1 shows: twenty times our guide and more. A larger file is refused before
/// it is read; what the help windows do with a file grows with its size, and F1 reads the file of the
/// folder the program was started in, which anyone may have put there.
inline constexpr std::size_t kMaxHelpFileSize = 256 * 1024;

/// The longest stretch of the help's text without a place where a line may break (a space, the end of
/// an indented line, or a place lineMayBreak allows). A longer stretch, such as a line of marks or a
/// very long word, gets an invisible break (U+200B) after this many characters: both windows take time
/// with the square of the length of a stretch they cannot break, or must measure whole at every line
/// they wrap.
inline constexpr std::size_t kLongestUnbroken = 80;

/// The invisible mark the help's text carries inside a word where a window would otherwise break a
/// line (WORD JOINER): after the "/" of a path, between "C:" and "\", around "%".
inline constexpr char16_t kWordJoiner = u'\u2060';

/// A character of Japanese text (a wide character): where the file breaks a line next to one, the text
/// runs on without a space.
bool isWideCharacter(char16_t c);

/// Whether a line of help may break between two characters that stand together without a space, as
/// Japanese is set: between two Japanese characters, or a Japanese character and a word, but never
/// before a closing mark, a small kana or 「。」「、」「ー」, never after an opening mark, and never
/// inside a word of Latin letters, digits and marks such as a file name (psw.ini.bak).
bool lineMayBreak(char16_t before, char16_t after);

/// The system whose help the window shows: the help file may hold sections for one system only.
enum class HelpSystem { Windows, Linux };
#ifdef _WIN32
inline constexpr HelpSystem kThisSystem = HelpSystem::Windows;
#else
inline constexpr HelpSystem kThisSystem = HelpSystem::Linux;
#endif

/// The help file as both windows show it. ORVANTA.HLP is UTF-8 text in the few Markdown forms our
/// guide uses: headings, paragraphs, "-" and "1." lists, four-space indented lines, **strong** and
/// `code`. The lines of a paragraph or an item flow together: Japanese runs on without a space, as
/// a line break in the file is no gap in the sentence; Latin words keep one space between them.
/// A line "<!-- windows -->" or "<!-- linux -->" starts a section shown on that system only, which
/// runs to the line "<!-- /windows -->" or "<!-- /linux -->" (or the next such start, or the end of
/// the file); these lines themselves show nothing and end the paragraph before them. Everything else,
/// links and HTML tags included, is text to show as it stands. Nothing when the bytes are no UTF-8
/// text (an old binary WinHelp file, a file in Shift_JIS).
///
/// Time and memory grow in step with the file's size, whatever it holds; the text of the result is
/// never longer than the file's text, its invisible breaks (kLongestUnbroken) and its word joiners.
std::optional<host::HelpDocument> readHelpFile(std::string_view bytes, HelpSystem system = kThisSystem);

} // namespace orvanta::form
