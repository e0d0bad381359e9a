#pragma once

// The help file as both windows show it: blocks of text with their headings, lists and strong runs.

#include "host/HelpViewer.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace orvanta::app {

/// The largest help file F1 shows: twenty times our guide and more. A larger file is refused before
/// it is read; what the help windows do with a file grows with its size, and F1 reads the file of the
/// folder the program was started in, which anyone may have put there.
inline constexpr std::size_t kMaxHelpFileSize = 256 * 1024;

/// The longest stretch of the help's text without a space (or the end of an indented line). A longer
/// stretch, such as a line of marks, of letters or of Japanese, gets an invisible break (U+200B) after
/// this many characters: both windows take time with the square of the length of a stretch they
/// cannot break, or must measure whole at every line they wrap.
inline constexpr std::size_t kLongestUnbroken = 80;

/// A character of Japanese text (a wide character): where the file breaks a line next to one, the text
/// runs on without a space.
bool isWideCharacter(char16_t c);

/// The help file as both windows show it. ORVANTA.HLP is UTF-8 text in the few Markdown forms our
/// guide uses: headings, paragraphs, "-" and "1." lists, four-space indented lines, **strong** and
/// `code`. The lines of a paragraph or an item flow together: Japanese runs on without a space, as
/// a line break in the file is no gap in the sentence; Latin words keep one space between them.
/// Everything else, links and HTML tags included, is text to show as it stands. Nothing when the
/// bytes are no UTF-8 text (an old binary WinHelp file, a file in Shift_JIS).
///
/// Time and memory grow in step with the file's size, whatever it holds; the text of the result is
/// never longer than the file's text and its invisible breaks (kLongestUnbroken).
std::optional<platform::HelpDocument> readHelpFile(std::string_view bytes);

} // namespace orvanta::app
