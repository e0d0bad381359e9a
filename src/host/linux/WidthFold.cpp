// Folding full-width text to half-width through ICU.
#include "host/WidthFold.h"

#include <memory>
#include <unicode/translit.h>
#include <unicode/unistr.h>

namespace orvanta::host {
namespace {

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

} // namespace

std::u16string toHalfwidth(std::u16string_view text)
{
    const auto* fold = halfwidthFold();
    if (!fold)
        return std::u16string(text); // without ICU's data only a half-width name still matches
    icu::UnicodeString folded(text.data(), static_cast<int32_t>(text.size()));
    fold->transliterate(folded);
    return std::u16string(folded.getBuffer(), static_cast<std::size_t>(folded.length()));
}

} // namespace orvanta::host
