#pragma once

// The help service: shows the program's help, as the core has read it from the help file.

#include <string>
#include <vector>

namespace orvanta::host {

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
    NumberedItem, ///< "1. " and its indented continuation lines; `number` is the number it shows
                  ///< (the first item's own, one more for each item after it in the same list)
    Preformatted, ///< lines indented by four spaces, shown as they stand; one run, lines split by '\n'
};

struct HelpBlock {
    HelpBlockKind kind = HelpBlockKind::Paragraph;
    int level = 0;  ///< a heading's level
    int number = 0; ///< a numbered item's number
    std::vector<HelpRun> runs{};

    bool operator==(const HelpBlock&) const = default;
};

/// The help as a window shows it: its blocks in the file's order. Every character is text to show;
/// nothing in it is a link, a picture or markup to follow.
using HelpDocument = std::vector<HelpBlock>;

/// Shows the program's help.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    /// Shows the help, in the help window already open or in a new one; false when no window could
    /// be made for it.
    virtual bool show(const HelpDocument& help) = 0;
};

} // namespace orvanta::host
