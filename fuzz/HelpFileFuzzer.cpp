// F1 on any ORVANTA.HLP: the help file of the folder the program was started in is anyone's input. The
// window must never crash, and either show the help or say it cannot. What it shows is the file's text:
// every character but the few marks of headings, lists, emphasis and escapes shows as often as the file
// has it, so a link, a picture or a tag is text and nothing is fetched; the help never grows beyond the
// file's text, its invisible breaks and its word joiners, and no stretch of it runs on without a place
// to break.
#include "FuzzWindow.h"
#include "Promises.h"
#include "form/HelpText.h"
#include "form/Messages.h"
#include "host/Utf8.h"

#include <algorithm>
#include <cstdint>
#include <map>

namespace {

using namespace orvanta;

constexpr orvanta::fuzz::Promises check{"help file"};

constexpr char16_t kBreak = u'\u200B';
constexpr char16_t kJoiner = form::kWordJoiner;

/// The characters the reader may take as marks or drop at a line's ends.
bool isMark(char16_t c)
{
    return c == u'#' || c == u'*' || c == u'`' || c == u'\\' || c == u'-' || c == u'.' ||
           (c >= u'0' && c <= u'9') || c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == kBreak ||
           c == kJoiner;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::FuzzWindow machine;
    auto& window = machine.window;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    machine.files.files[window.helpFile()] = bytes;
    const auto filesBefore = machine.files.files;
    machine.fixed.shownHelp = {{host::HelpBlockKind::Heading}};
    window.Txtmassage.setText(u"");

    window.helpKey();

    check(machine.files.files == filesBefore, "F1 changed a file");
    const auto& message = window.Txtmassage.text();
    std::string_view text = bytes;
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    const auto decoded =
        text.find('\0') == std::string_view::npos ? host::fromUtf8Strict(text) : std::nullopt;
    if (!decoded) {
        check(message == form::helpUnreadableMessage(window.helpFile()),
              "a file that is no help text was not refused");
        return 0;
    }
    check(message.empty(), "a help text was refused");
    const auto& help = machine.fixed.shownHelp;
    check(help == form::readHelpFile(bytes), "the window shows other than the file reads as");

    std::map<char16_t, long> count;
    for (const char16_t c : *decoded)
        if (!isMark(c))
            ++count[c];
    std::size_t lines = 1;
    for (const char16_t c : *decoded)
        lines += c == u'\n' ? 1 : 0;
    check(help.size() <= lines, "more blocks than lines");
    std::size_t shown = 0;
    std::size_t breaks = 0;
    std::size_t joiners = 0;
    const host::HelpBlock* previous = nullptr;
    for (const auto& block : help) {
        if (block.kind == host::HelpBlockKind::NumberedItem && previous &&
            previous->kind == host::HelpBlockKind::NumberedItem)
            check(block.number == std::min(previous->number + 1, 999'999'999), "an item does not count on");
        std::size_t unbroken = 0;
        char16_t before = u'\n';
        for (const auto& run : block.runs) {
            check(!run.text.empty(), "an empty run");
            for (const char16_t c : run.text) {
                if (c == kBreak)
                    ++breaks;
                else if (c == kJoiner)
                    ++joiners;
                else
                    ++shown;
                if (!isMark(c))
                    --count[c];
                if (c == kJoiner)
                    continue;
                const bool blank = c == u' ' || c == u'\n' || c == kBreak;
                unbroken = blank ? 0 : form::lineMayBreak(before, c) ? 1 : unbroken + 1;
                before = c;
                // The two halves of a character beyond the basic plane stay together.
                check(unbroken <= form::kLongestUnbroken + 1, "a stretch runs on without a place to break");
            }
        }
        previous = &block;
    }
    check(shown <= decoded->size(), "more text than the file holds");
    const auto breaksInFile = static_cast<std::size_t>(std::count(decoded->begin(), decoded->end(), kBreak));
    check(breaks <= breaksInFile + shown / form::kLongestUnbroken,
          "more invisible breaks than the text needs");
    const auto joinersInFile =
        static_cast<std::size_t>(std::count(decoded->begin(), decoded->end(), kJoiner));
    check(joiners <= joinersInFile + shown, "more word joiners than the words need");
    for (const auto& [c, left] : count)
        check(left == 0, "a character of the file is lost, or one was added");
    return 0;
}
