// Code page 932 through ICU, mapped as Japanese Windows maps it, strictly.
#include "host/linux/IcuCodePage.h"

#include <array>
#include <memory>
#include <optional>
#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/utf16.h>

namespace orvanta::host {
namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// A converter that stops at the first unmappable or illegal sequence instead of substituting.
Converter openStrict()
{
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open("windows-31j", &status));
    if (U_FAILURE(status))
        return {};
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    if (U_FAILURE(status))
        return {};
    return converter;
}

// ICU reads windows-31j through IBM's 943 table, which exchanges three control characters
// (0x1A, 0x1C, 0x7F) compared with Windows, where every byte 0x00-0x7F is the code point of the same
// value. The two tables below undo that at the boundary. They are taken from ICU itself rather than
// written down, so an ICU that agrees with Windows leaves them as the identity. Only control bytes
// are touched: they never occur as the second byte of a double-byte character, so exchanging them
// in a byte string cannot change another character.
struct ControlBytes {
    std::array<unsigned char, 0x80> toIcu{};   // Windows byte -> the byte ICU reads as that code point
    std::array<unsigned char, 0x80> fromIcu{}; // byte ICU wrote -> the Windows byte for that code point
};

bool isControl(unsigned char byte)
{
    return byte < 0x20 || byte == 0x7F;
}

ControlBytes makeControlBytes()
{
    ControlBytes table;
    for (unsigned i = 0; i < 0x80; ++i) {
        table.toIcu[i] = static_cast<unsigned char>(i);
        table.fromIcu[i] = static_cast<unsigned char>(i);
    }
    Converter converter = openStrict();
    if (!converter)
        return table;
    for (unsigned byte = 0; byte < 0x80; ++byte) {
        if (!isControl(static_cast<unsigned char>(byte)))
            continue;
        const char in = static_cast<char>(byte);
        UChar out[2] = {};
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length = ucnv_toUChars(converter.get(), out, 2, &in, 1, &status);
        if (U_SUCCESS(status) && length == 1 && out[0] < 0x80 &&
            isControl(static_cast<unsigned char>(out[0]))) {
            table.toIcu[out[0]] = static_cast<unsigned char>(byte);
            table.fromIcu[byte] = static_cast<unsigned char>(out[0]);
        }
    }
    return table;
}

const ControlBytes& controlBytes()
{
    static const ControlBytes table = makeControlBytes();
    return table;
}

// Bytes as ICU wrote them -> bytes as Windows writes them.
void toWindowsBytes(std::string& bytes)
{
    for (char& byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        if (value < 0x80)
            byte = static_cast<char>(controlBytes().fromIcu[value]);
    }
}

// Characters ICU's stop callback skips instead of reporting: it treats every default-ignorable code
// point as something a converter may drop. A password or a title must never lose a character silently,
// so these are rejected before the conversion. The ranges beyond the Unicode property are the ones
// ICU's own list adds (unassigned code points reserved as ignorable).
bool isInvisible(char32_t c)
{
    return u_hasBinaryProperty(static_cast<UChar32>(c), UCHAR_DEFAULT_IGNORABLE_CODE_POINT) ||
           (c >= 0xFFF0 && c <= 0xFFF8) || (c >= 0xE0000 && c <= 0xE0FFF);
}

// The first code point of `text` that the strict converter stops on, or that does not come back
// unchanged. Used only after the whole-string conversion has already failed or not round-tripped.
std::optional<CodePageError> firstUnmappable(UConverter* converter, std::u16string_view text);

std::optional<CodePageError> firstUnpairedOrInvisible(std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const char16_t unit = text[i];
        char32_t c = unit;
        std::size_t length = 1;
        if (U16_IS_LEAD(unit) && i + 1 < text.size() && U16_IS_TRAIL(text[i + 1])) {
            c = static_cast<char32_t>(U16_GET_SUPPLEMENTARY(unit, text[i + 1]));
            length = 2;
        } else if (U16_IS_SURROGATE(unit)) {
            return CodePageError{i, c};
        }
        if (isInvisible(c))
            return CodePageError{i, c};
        i += length;
    }
    return std::nullopt;
}

} // namespace

CodePage::Encoded IcuCodePage::encode(std::u16string_view text) const
{
    // Unpaired surrogates and invisible characters first: ICU would report the former with a less
    // useful position and skip the latter.
    if (auto error = firstUnpairedOrInvisible(text))
        return *error;

    Converter converter = openStrict();
    if (!converter)
        return CodePageError{0, text.empty() ? U'\0' : static_cast<char32_t>(text[0])};
    // A character of code page 932 takes at most two bytes and comes from one UTF-16 unit.
    std::string out(text.size() * 2 + 2, '\0');
    const UChar* source = text.data();
    const UChar* const sourceEnd = text.data() + text.size();
    char* target = out.data();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_fromUnicode(converter.get(), &target, out.data() + out.size(), &source, sourceEnd, nullptr, true,
                     &status);
    if (U_FAILURE(status)) {
        UChar invalid[4] = {};
        int8_t invalidLength = 4;
        UErrorCode ignored = U_ZERO_ERROR;
        ucnv_getInvalidUChars(converter.get(), invalid, &invalidLength, &ignored);
        const auto consumed = static_cast<std::size_t>(source - text.data());
        if (U_SUCCESS(ignored) && invalidLength > 0 && static_cast<std::size_t>(invalidLength) <= consumed) {
            UChar32 c = 0;
            int32_t index = 0;
            U16_NEXT(invalid, index, invalidLength, c);
            return CodePageError{consumed - static_cast<std::size_t>(invalidLength),
                                 static_cast<char32_t>(c)};
        }
        ucnv_reset(converter.get());
        if (auto error = firstUnmappable(converter.get(), text))
            return *error;
        return CodePageError{0, text.empty() ? U'\0' : static_cast<char32_t>(text[0])};
    }
    out.resize(static_cast<std::size_t>(target - out.data()));
    toWindowsBytes(out);

    // A last guard against any mapping that does not come back as it went in (a fallback mapping
    // ICU applies on its own): the bytes must read back as exactly the text.
    const Decoded back = decode(out);
    if (const auto* decoded = std::get_if<std::u16string>(&back); decoded == nullptr || *decoded != text) {
        ucnv_reset(converter.get());
        if (auto error = firstUnmappable(converter.get(), text))
            return *error;
    }
    return out;
}

CodePage::Decoded IcuCodePage::decode(std::string_view bytes) const
{
    std::string icuBytes(bytes);
    for (char& byte : icuBytes) {
        const auto value = static_cast<unsigned char>(byte);
        if (value < 0x80)
            byte = static_cast<char>(controlBytes().toIcu[value]);
    }
    Converter converter = openStrict();
    if (!converter)
        return CodePageError{0, 0};
    // Every character of code page 932 is one byte or two and one UTF-16 unit.
    std::u16string out(bytes.size() + 1, u'\0');
    const char* source = icuBytes.data();
    const char* const sourceEnd = icuBytes.data() + icuBytes.size();
    UChar* target = out.data();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_toUnicode(converter.get(), &target, out.data() + out.size(), &source, sourceEnd, nullptr, true,
                   &status);
    if (U_FAILURE(status)) {
        char invalid[8] = {};
        int8_t invalidLength = 8;
        UErrorCode ignored = U_ZERO_ERROR;
        ucnv_getInvalidChars(converter.get(), invalid, &invalidLength, &ignored);
        const auto consumed = static_cast<std::size_t>(source - icuBytes.data());
        std::size_t position = consumed;
        if (U_SUCCESS(ignored) && invalidLength > 0 && static_cast<std::size_t>(invalidLength) <= consumed)
            position = consumed - static_cast<std::size_t>(invalidLength);
        return CodePageError{position, 0};
    }
    out.resize(static_cast<std::size_t>(target - out.data()));
    return out;
}

namespace {

std::optional<CodePageError> firstUnmappable(UConverter* converter, std::u16string_view text)
{
    const IcuCodePage codePage;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = U16_IS_LEAD(text[i]) && i + 1 < text.size() && U16_IS_TRAIL(text[i + 1]) ? 2 : 1;
        const std::u16string_view one = text.substr(i, length);
        char out[8] = {};
        UErrorCode status = U_ZERO_ERROR;
        ucnv_reset(converter);
        const int32_t written = ucnv_fromUChars(converter, out, sizeof out, one.data(),
                                                static_cast<int32_t>(one.size()), &status);
        bool ok = U_SUCCESS(status) && written > 0;
        if (ok) {
            std::string bytes(out, static_cast<std::size_t>(written));
            toWindowsBytes(bytes);
            const CodePage::Decoded back = codePage.decode(bytes);
            const auto* decoded = std::get_if<std::u16string>(&back);
            ok = decoded != nullptr && *decoded == one;
        }
        if (!ok) {
            char32_t c = one[0];
            if (length == 2)
                c = static_cast<char32_t>(U16_GET_SUPPLEMENTARY(one[0], one[1]));
            return CodePageError{i, c};
        }
        i += length;
    }
    return std::nullopt;
}

} // namespace

} // namespace orvanta::host
