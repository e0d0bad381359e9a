// The Windows services the window brings: the clipboard's secret marks and the help window.
#include "form/HelpText.h"
#include "view/win32/Win32Clipboard.h"
#include "view/win32/Win32HelpViewer.h"

#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <richedit.h>
#include <vector>

namespace orvanta::test {
namespace {

using view_win32::Win32Clipboard;
using view_win32::Win32HelpViewer;

/// The DWORD a registered clipboard format holds; nothing when the format is not there.
std::optional<DWORD> formatValue(const wchar_t* name)
{
    const UINT format = RegisterClipboardFormatW(name);
    if (!IsClipboardFormatAvailable(format) || !OpenClipboard(nullptr))
        return std::nullopt;
    std::optional<DWORD> value;
    if (HANDLE data = GetClipboardData(format)) {
        if (GlobalSize(data) >= sizeof(DWORD)) {
            value = *static_cast<const DWORD*>(GlobalLock(data));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return value;
}

TEST(Win32ClipboardTest, MarksAPasswordAsKeptOutOfHistoryAndCloud)
{
    Win32Clipboard clipboard;
    clipboard.setText(u"Xy9!パス");

    EXPECT_EQ(clipboard.text(), u"Xy9!パス");
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_TRUE(formatValue(Win32Clipboard::kExcludeFromMonitors).has_value());
    EXPECT_TRUE(formatValue(Win32Clipboard::kViewerIgnore).has_value());
    EXPECT_EQ(formatValue(Win32Clipboard::kHistory), std::optional<DWORD>(0));
    EXPECT_EQ(formatValue(Win32Clipboard::kCloud), std::optional<DWORD>(0));

    clipboard.clear();
    EXPECT_EQ(clipboard.text(), u"");
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_FALSE(formatValue(Win32Clipboard::kHistory).has_value());
    EXPECT_FALSE(clipboard.holdsOwnCopy());
}

/// Another program's plain copy of `text`, made without a window of its own.
void copyWithoutWindow(const std::u16string& text)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
    std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(char16_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

TEST(Win32ClipboardTest, ReadsWhatAnotherProgramCopiedWithoutTheMarks)
{
    Win32Clipboard clipboard;
    clipboard.setText(u"secret");
    copyWithoutWindow(u"メモ");
    EXPECT_EQ(clipboard.text(), u"メモ");
}

// Reading the clipboard leaves the copy this program put there its own; the same text put there anew,
// by another window or by a program without one, is not, nor is anything after a clear.
TEST(Win32ClipboardTest, KnowsItsOwnCopyFromTheSameTextCopiedAnew)
{
    Win32Clipboard clipboard, other;
    for (const auto& anew : std::vector<std::function<void()>>{
             [&] { other.setText(u"pw1"); }, [] { copyWithoutWindow(u"pw1"); }, [&] { clipboard.clear(); }}) {
        clipboard.setText(u"pw1");
        EXPECT_EQ(other.text(), u"pw1");
        EXPECT_TRUE(formatValue(Win32Clipboard::kHistory).has_value());
        EXPECT_TRUE(clipboard.holdsOwnCopy());
        anew();
        EXPECT_FALSE(clipboard.holdsOwnCopy());
    }
}

TEST(Win32HelpViewerTest, ShowsTheGuideAsRichTextAndEscapeClosesIt)
{
    Win32HelpViewer viewer(GetModuleHandleW(nullptr));

    ASSERT_TRUE(
        viewer.show(*form::readHelpFile("# Orvanta の使い方\n\n**F1** キーで\nヘルプ\n\n1. 選ぶ\n- 見る\n")));
    ASSERT_NE(viewer.window(), nullptr);
    EXPECT_TRUE(IsWindowVisible(viewer.window()));
    // Wine's box holds a hidden space wherever a line of Japanese may break.
    EXPECT_EQ(view_win32::windowText(viewer.textBox()),
              u"Orvanta の 使 い 方\r\nF1 キー で ヘ ル プ\r\n選 ぶ\r\n見 る");
    EXPECT_NE(GetWindowLongPtrW(viewer.textBox(), GWL_STYLE) & ES_READONLY, 0);
    // The heading and the strong text are bold, the paragraph is not.
    auto boldAt = [&](int position) {
        SendMessageW(viewer.textBox(), EM_SETSEL, position, position + 1);
        CHARFORMAT2W format{};
        format.cbSize = sizeof format;
        SendMessageW(viewer.textBox(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        return (format.dwEffects & CFE_BOLD) != 0;
    };
    EXPECT_TRUE(boldAt(0));
    EXPECT_TRUE(boldAt(16));
    EXPECT_FALSE(boldAt(20));

    // Escape closes it, and it only hides; F1 brings the same window back with the help as it is now.
    HWND first = viewer.window();
    SendMessageW(viewer.textBox(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(IsWindowVisible(first));
    ASSERT_TRUE(viewer.show(*form::readHelpFile("changed")));
    EXPECT_EQ(viewer.window(), first);
    EXPECT_EQ(view_win32::windowText(viewer.textBox()), u"changed");
}

// Wine's box takes time with the square of the length of a run of one format, and of the number of
// bullets it marks itself: a long run is cut at a space (in a colour no blank shows), and the bullets
// after the first 500 are written out.
TEST(Win32HelpViewerTest, RichTextKeepsRunsShortAndWritesOutBulletsBeyondTheFirst)
{
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "word ";
    text += "\n\n";
    for (int i = 0; i < 501; ++i)
        text += "- a\n";
    const auto rtf = Win32HelpViewer::richText(*form::readHelpFile(text), u"IPAPGothic", true);
    EXPECT_NE(rtf.find("word word{\\cf1  }word"), std::string::npos);
    EXPECT_NE(rtf.find("{\\*\\pn\\pnlvlblt\\pnindent320}\\fi-320\\li560\\sa60 a\\par"), std::string::npos);
    EXPECT_EQ(rtf.find("\\u8226?"), rtf.rfind("\\u8226?"));
    EXPECT_NE(rtf.find("\\u8226?\\u160?\\u160?a\\par\n}"), std::string::npos);
}

// The text is set in the design's face, named in the Japanese code page. Wine's box is told where
// Japanese may break (a hidden space), and nowhere inside a file name; the box of Windows needs no telling.
TEST(Win32HelpViewerTest, RichTextNamesTheFaceAndMarksWhereJapaneseMayBreak)
{
    const auto help = *form::readHelpFile("ます。psw.ini.bak");
    const auto wine = Win32HelpViewer::richText(help, u"ＭＳ Ｐゴシック", true);
    EXPECT_NE(wine.find("\\fcharset128 \\'82\\'6c\\'82\\'72\\'20\\'82\\'6f\\'83\\'53"), std::string::npos);
    EXPECT_NE(wine.find("\\u12414?{\\v  }\\u12377?\\u12290?{\\v  }psw.ini.bak\\par"), std::string::npos);
    EXPECT_EQ(Win32HelpViewer::richText(help, u"ＭＳ Ｐゴシック", false).find("\\v "), std::string::npos);
}

} // namespace
} // namespace orvanta::test
