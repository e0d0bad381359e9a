#include "Module2.h"

#include <memory>
#include <unicode/translit.h>
#include <unicode/unistr.h>

namespace orvanta::backup {

namespace {

/// The mark is half-width while the shell's names carry full-width katakana ("インチ") and may carry
/// full-width letters and brackets, so a name is folded to half-width before it is compared.
constexpr std::u16string_view kFloppyMark = u"ｲﾝﾁ FD (";

const icu::Transliterator* halfwidthFold()
{
    static const std::unique_ptr<icu::Transliterator> fold = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> created(
            icu::Transliterator::createInstance("Fullwidth-Halfwidth", UTRANS_FORWARD, status));
        if (U_FAILURE(status))
            created.reset();
        return created;
    }();
    return fold.get();
}

std::u16string toHalfwidth(std::u16string_view text)
{
    const auto* fold = halfwidthFold();
    if (!fold)
        return std::u16string(text); // without ICU's data only a half-width name still matches
    icu::UnicodeString folded(text.data(), static_cast<int32_t>(text.size()));
    fold->transliterate(folded);
    return std::u16string(folded.getBuffer(), static_cast<std::size_t>(folded.length()));
}

} // namespace

std::u16string GetDriveDisplayName(const platform::Drives& drives, std::string_view rootPath)
{
    auto name = drives.displayName(rootPath);
    if (const auto nul = name.find(u'\0'); nul != std::u16string::npos)
        name.resize(nul);
    return name;
}

std::u16string FindFloppyDrives(const platform::Drives& drives)
{
    std::u16string letters;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string rootPath{letter, ':', '\\'};
        if (drives.GetDriveTypeA(rootPath) != platform::DRIVE_REMOVABLE)
            continue;
        if (toHalfwidth(GetDriveDisplayName(drives, rootPath)).find(kFloppyMark) != std::u16string::npos)
            letters += static_cast<char16_t>(letter);
    }
    return letters;
}

std::u16string backupDrivePrefix(const platform::Drives& drives)
{
    // With two floppy drives the first one takes the backup: the first version joined every letter
    // ("A:B:"), which names no path at all.
    const auto letters = FindFloppyDrives(drives);
    if (letters.empty())
        return {};
    return std::u16string{letters.front(), u':'};
}

} // namespace orvanta::backup
