// Reading the help file: our short guide in Markdown, taken apart into headings, list items and runs
// of text that both windows show.
#include "HelpText.h"

#include "host/Utf8.h"

#include <algorithm>

namespace orvanta::form {

namespace {

using host::HelpBlock;
using host::HelpBlockKind;
using host::HelpRun;
using host::HelpStyle;
using Text = std::u16string_view;

/// The invisible break put into a long stretch of text (ZERO WIDTH SPACE).
constexpr char16_t kBreak = u'\u200B';

bool isAsciiPunctuation(char16_t c)
{
    return (c >= u'!' && c <= u'/') || (c >= u':' && c <= u'@') || (c >= u'[' && c <= u'`') ||
           (c >= u'{' && c <= u'~');
}

std::size_t leadingSpaces(Text line)
{
    const auto first = line.find_first_not_of(u' ');
    return first == Text::npos ? line.size() : first;
}

Text trimmed(Text line)
{
    line.remove_prefix(leadingSpaces(line));
    while (!line.empty() && (line.back() == u' ' || line.back() == u'\t'))
        line.remove_suffix(1);
    return line;
}

/// The largest number a list item shows: nine digits.
constexpr int kMaxItemNumber = 999'999'999;

/// A list item's marker: "- ", or a number followed by ". " with the item's number.
struct Marker {
    std::size_t length = 0;
    std::optional<int> number;
};

std::optional<Marker> listMarker(Text line)
{
    if (line.starts_with(u"- "))
        return Marker{2, std::nullopt};
    std::size_t digits = 0;
    int number = 0;
    while (digits < line.size() && digits < 9 && line[digits] >= u'0' && line[digits] <= u'9')
        number = number * 10 + (line[digits++] - u'0');
    if (digits > 0 && line.substr(digits).starts_with(u". "))
        return Marker{digits + 2, number};
    return std::nullopt;
}

/// Text with backslash escapes taken out.
std::u16string unescaped(Text text)
{
    std::u16string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size() && isAsciiPunctuation(text[i + 1]))
            ++i;
        plain += text[i];
    }
    return plain;
}

void append(std::vector<HelpRun>& runs, std::u16string text, HelpStyle style)
{
    if (text.empty())
        return;
    if (!runs.empty() && runs.back().style == style)
        runs.back().text += text;
    else
        runs.push_back({std::move(text), style});
}

/// The runs of flowing text: **strong** and `code`; a mark without its closing partner stays as it is.
std::vector<HelpRun> inlineRuns(Text text)
{
    std::vector<HelpRun> runs;
    std::size_t plainFrom = 0;
    std::size_t i = 0;
    auto flushPlain = [&](std::size_t to) {
        append(runs, unescaped(text.substr(plainFrom, to - plainFrom)), HelpStyle::Plain);
    };
    while (i < text.size()) {
        if (text[i] == u'\\') {
            i += 2;
            continue;
        }
        const bool strong = text.substr(i).starts_with(u"**");
        const bool code = text[i] == u'`';
        if (!strong && !code) {
            ++i;
            continue;
        }
        const Text mark = strong ? Text(u"**") : Text(u"`");
        const auto close = text.find(mark, i + mark.size());
        if (close == Text::npos || close == i + mark.size()) {
            i += mark.size();
            continue;
        }
        flushPlain(i);
        const auto inner = text.substr(i + mark.size(), close - i - mark.size());
        append(runs, strong ? unescaped(inner) : std::u16string(inner),
               strong ? HelpStyle::Strong : HelpStyle::Code);
        i = close + mark.size();
        plainFrom = i;
    }
    flushPlain(text.size());
    return runs;
}

/// Lines of one paragraph or item joined as the sentence runs on.
void joinLine(std::u16string& flowing, Text line)
{
    if (line.empty())
        return;
    if (!flowing.empty() && !isWideCharacter(flowing.back()) && !isWideCharacter(line.front()))
        flowing += u' ';
    flowing += line;
}

} // namespace

bool isWideCharacter(char16_t c)
{
    return c >= 0x2E80 && !(c >= 0xD800 && c <= 0xDFFF) && !(c >= 0xFF61 && c <= 0xFF9F);
}

namespace {

/// Marks that never begin a line of Japanese: closing brackets and quotes, 「。」「、」 and the other
/// stops, the small kana, the long-vowel and repeat marks, and their ASCII twins.
constexpr Text kNeverFirst = u"、。，．・：；？！゛゜ヽヾゝゞ々〻ー‐゠–〜～…‥）」』】〕〉》］｝〙〗｠〟’”»"
                             u"ぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶ"
                             u")]},.:;!?%";
/// Marks that never end a line: opening brackets and quotes.
constexpr Text kNeverLast = u"（「『【〔〈《［｛〘〖｟〝‘“«([{";
/// The marks inside a word at which a window would break a line unless told not to.
constexpr Text kBreaksInWord = u"/\\$+%-|:,;!?()[]{}\"'";

bool isSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

/// A space or an invisible mark: no character a line may break before or after of its own accord.
bool isBlankOrMark(char16_t c)
{
    return c == u' ' || c == u'\n' || c == u'\t' || c == u'\u00A0' || c == kBreak || c == kWordJoiner;
}

/// A place where both windows break a line by themselves: a space, the end of an indented line, or
/// an invisible break.
bool breaksLine(char16_t c)
{
    return c == u' ' || c == u'\n' || c == kBreak;
}

/// Whether a window would break a word of Latin letters between the two: at a mark such as "/", "\"
/// or "%" inside it.
bool needsJoiner(char16_t before, char16_t after)
{
    if (isBlankOrMark(before) || isBlankOrMark(after) || isWideCharacter(before) || isWideCharacter(after) ||
        isSurrogate(before) || isSurrogate(after))
        return false;
    return kBreaksInWord.find(before) != Text::npos || kBreaksInWord.find(after) != Text::npos;
}

/// The runs of one block with their places to break marked: a word joiner inside a word where a
/// window would break it, and an invisible break after every kLongestUnbroken characters that stand
/// together without a place to break; where one run ends and the next begins is no such place. A
/// character beyond the basic plane (two UTF-16 units) is never split.
void markBreaks(std::vector<HelpRun>& runs)
{
    std::size_t unbroken = 0;
    char16_t before = u'\n';
    for (auto& run : runs) {
        std::u16string text;
        text.reserve(run.text.size() + run.text.size() / kLongestUnbroken);
        for (const char16_t c : run.text) {
            const bool secondHalf = c >= 0xDC00 && c <= 0xDFFF;
            if (breaksLine(c)) {
                unbroken = 0;
            } else if (lineMayBreak(before, c)) {
                unbroken = 1;
            } else if (unbroken >= kLongestUnbroken && !secondHalf) {
                text += kBreak;
                unbroken = 1;
            } else {
                if (needsJoiner(before, c))
                    text += kWordJoiner;
                ++unbroken;
            }
            text += c;
            before = c;
        }
        run.text = std::move(text);
    }
}

/// Which system a line such as "<!-- windows -->" starts a section for, or ends one ("<!-- /linux -->").
struct SectionMark {
    bool ends = false;
    HelpSystem system = HelpSystem::Windows;
};

std::optional<SectionMark> sectionMark(Text content)
{
    constexpr Text open = u"<!-- ";
    constexpr Text close = u" -->";
    if (content.size() < open.size() + close.size() || !content.starts_with(open) ||
        !content.ends_with(close))
        return std::nullopt;
    Text name = content.substr(open.size(), content.size() - open.size() - close.size());
    const bool ends = name.starts_with(u'/');
    if (ends)
        name.remove_prefix(1);
    if (name == u"windows")
        return SectionMark{ends, HelpSystem::Windows};
    if (name == u"linux")
        return SectionMark{ends, HelpSystem::Linux};
    return std::nullopt;
}

// The help file's text: UTF-8, with or without a byte-order mark, and no NUL byte.
std::optional<std::u16string> helpText(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    if (bytes.find('\0') != std::string_view::npos)
        return std::nullopt;
    return host::fromUtf8Strict(bytes);
}

// The level of a heading line ("# …" to "###### …"), 0 for any other line.
int headingLevel(Text content)
{
    std::size_t hashes = 0;
    while (hashes < content.size() && content[hashes] == u'#')
        ++hashes;
    if (hashes == 0 || hashes > 6 || (hashes < content.size() && content[hashes] != u' '))
        return 0;
    return static_cast<int>(hashes);
}

/// `block`, its text `gathered` set as its kind wants it, at the end of `blocks`.
void appendBlock(host::HelpDocument& blocks, HelpBlock block, std::u16string& gathered)
{
    if (block.kind == HelpBlockKind::Preformatted) {
        while (gathered.ends_with(u'\n'))
            gathered.pop_back();
        block.runs = {{gathered, HelpStyle::Code}};
    } else {
        block.runs = inlineRuns(gathered);
    }
    markBreaks(block.runs);
    // An item of a numbered list shows the number after the item before it, whatever the file gives:
    // the first item's number starts the list.
    if (block.kind == HelpBlockKind::NumberedItem && !blocks.empty() &&
        blocks.back().kind == HelpBlockKind::NumberedItem)
        block.number = blocks.back().number + (blocks.back().number < kMaxItemNumber ? 1 : 0);
    blocks.push_back(std::move(block));
}

/// The line of `text` that begins at `start`, without its line end; `start` moves on to the next.
Text nextLine(Text text, std::size_t& start)
{
    auto end = text.find(u'\n', start);
    if (end == Text::npos)
        end = text.size();
    Text line = text.substr(start, end - start);
    start = end + 1;
    if (line.ends_with(u'\r'))
        line.remove_suffix(1);
    return line;
}

/// What a block is before its text is set: its kind, a heading's level, an item's number.
struct BlockHead {
    HelpBlockKind kind = HelpBlockKind::Paragraph;
    int level = 0;
    int number = 0;
};

/// The block that a heading or list item mark opens, and the text after the mark.
std::optional<std::pair<BlockHead, Text>> markedBlock(Text content)
{
    if (const int level = headingLevel(content); level > 0)
        return std::pair{BlockHead{HelpBlockKind::Heading, level},
                         trimmed(content.substr(static_cast<std::size_t>(level)))};
    if (const auto marker = listMarker(content))
        return std::pair{BlockHead{marker->number ? HelpBlockKind::NumberedItem : HelpBlockKind::BulletItem,
                                   0, marker->number.value_or(0)},
                         trimmed(content.substr(marker->length))};
    return std::nullopt;
}

// Gathers the file's blocks one line at a time, skipping the sections of the other system.
class BlockReader {
public:
    explicit BlockReader(HelpSystem system) : m_system(system) {}

    void read(Text line)
    {
        const auto indent = leadingSpaces(line);
        if (const auto mark = indent < 4 ? sectionMark(trimmed(line)) : std::nullopt) {
            close();
            m_section = mark->ends ? std::nullopt : std::optional(mark->system);
            return;
        }
        if (m_section && *m_section != m_system)
            return;
        if (indent == line.size()) {
            // A blank line ends a block; within preformatted lines it is one of them.
            if (preformatted())
                m_gathered += u'\n';
            else
                close();
            return;
        }
        if (indent >= 4 && (!m_open || preformatted())) {
            if (!m_open)
                m_open = BlockHead{HelpBlockKind::Preformatted};
            m_gathered += line.substr(4);
            m_gathered += u'\n';
            return;
        }
        if (preformatted())
            close();
        readText(trimmed(line), indent);
    }

    host::HelpDocument finish()
    {
        close();
        return std::move(m_blocks);
    }

private:
    bool preformatted() const { return m_open && m_open->kind == HelpBlockKind::Preformatted; }

    void readText(Text content, std::size_t indent)
    {
        if (auto marked = indent < 4 ? markedBlock(content) : std::nullopt) {
            close();
            m_open = marked->first;
            joinLine(m_gathered, marked->second);
            if (m_open->kind == HelpBlockKind::Heading)
                close();
            return;
        }
        if (!m_open)
            m_open = BlockHead{HelpBlockKind::Paragraph};
        joinLine(m_gathered, content);
    }

    void close()
    {
        if (m_open)
            appendBlock(m_blocks, HelpBlock{m_open->kind, m_open->level, m_open->number}, m_gathered);
        m_open.reset();
        m_gathered.clear();
    }

    HelpSystem m_system;
    host::HelpDocument m_blocks;
    // The system of the section being read; none outside a section.
    std::optional<HelpSystem> m_section;
    // The block being gathered: its kind and its text so far (flowing text, or preformatted lines).
    std::optional<BlockHead> m_open;
    std::u16string m_gathered;
};

} // namespace

std::optional<host::HelpDocument> readHelpFile(std::string_view bytes, HelpSystem system)
{
    const auto decoded = helpText(bytes);
    if (!decoded)
        return std::nullopt;
    BlockReader reader(system);
    const Text text = *decoded;
    for (std::size_t start = 0; start <= text.size();)
        reader.read(nextLine(text, start));
    return reader.finish();
}

bool lineMayBreak(char16_t before, char16_t after)
{
    // A character beyond the basic plane, in Japanese text a rare kanji, counts as a wide one; its two
    // halves stay together.
    const auto wide = [](char16_t c) { return isWideCharacter(c) || isSurrogate(c); };
    if (isBlankOrMark(before) || isBlankOrMark(after) || (before >= 0xD800 && before <= 0xDBFF))
        return false;
    if (!wide(before) && !wide(after))
        return false;
    return kNeverFirst.find(after) == Text::npos && kNeverLast.find(before) == Text::npos;
}

} // namespace orvanta::form
