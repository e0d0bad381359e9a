#pragma once

// The help file as both windows show it: blocks of text with their headings, lists and strong runs.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvanta::app {

/// How a stretch of help text is set.
enum class HelpStyle { Plain, Strong, Code };

struct HelpRun {
    std::u16string text;
    HelpStyle style = HelpStyle::Plain;

    bool operator==(const HelpRun&) const = default;
};

enum class HelpBlockKind {
    Heading,      ///< "# " and "## " lines; `level` is the number of #
    Paragraph,    ///< lines that flow into one paragraph
    BulletItem,   ///< "- " and its indented continuation lines
    NumberedItem, ///< "1. " and its indented continuation lines; `number` is the item's number
    Preformatted, ///< lines indented by four spaces, shown as they stand; one run, lines split by '\n'
};

struct HelpBlock {
    HelpBlockKind kind = HelpBlockKind::Paragraph;
    int level = 0;  ///< a heading's level
    int number = 0; ///< a numbered item's number
    std::vector<HelpRun> runs{};

    bool operator==(const HelpBlock&) const = default;
};

/// A character of Japanese text (a wide character): where the file breaks a line next to one, the text
/// runs on without a space.
bool isWideCharacter(char16_t c);

/// The help file as both windows show it. ORVANTA.HLP is UTF-8 text in the few Markdown forms our
/// guide uses: headings, paragraphs, "-" and "1." lists, four-space indented lines, **strong** and
/// `code`. The lines of a paragraph or an item flow together: Japanese runs on without a space, as
/// a line break in the file is no gap in the sentence; Latin words keep one space between them.
/// Nothing when the bytes are no UTF-8 text (an old binary WinHelp file, a file in Shift_JIS).
std::optional<std::vector<HelpBlock>> readHelpFile(std::string_view bytes);

} // namespace orvanta::app
