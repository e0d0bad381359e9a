#pragma once

// Rows of psw.ini as a test writes them down, and the bytes of a psw.ini that holds them.

#include "rules/store/PswRecord.h"
#include "support/SystemCodePage.h"

#include <functional>
#include <gtest/gtest.h>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace orvanta::test {

/// A row as a test writes it down: an entry's password and e-mail address in plain text, until
/// rowsFile stores them. A rule without a window takes them as they stand.
using PlainRow = store::PswRecord;

inline PlainRow header(std::u16string destination, std::u16string count, std::u16string password = u" ")
{
    return {std::u16string(store::kHeaderMark), std::move(destination), std::move(password), std::move(count),
            u" "};
}

inline PlainRow entry(std::u16string destination, std::u16string id, std::u16string password,
                      std::u16string mail = u"")
{
    return {std::move(destination), std::move(id), std::move(password), u" ", std::move(mail)};
}

/// Text in Shift_JIS, as the program's files hold it.
inline std::string sjis(std::u16string_view text)
{
    SystemCodePage codePage;
    auto bytes = codePage.encode(text);
    EXPECT_TRUE(std::holds_alternative<std::string>(bytes)) << "test text outside Shift_JIS";
    return std::holds_alternative<std::string>(bytes) ? std::get<std::string>(bytes) : std::string();
}

using StoreText = std::function<std::u16string(std::u16string_view)>;

/// The bytes of a psw.ini holding `rows`: every field in double quotes, CR LF, an entry's password
/// and address through `password` and `mail` (a key's codes, or the text as it stands).
inline std::string rowsFile(std::span<const PlainRow> rows, const StoreText& password, const StoreText& mail)
{
    std::u16string text;
    for (const auto& row : rows) {
        const bool stored = !row.isHeader();
        text += u"\"" + row.owner + u"\",\"" + row.name + u"\",\"" +
                (stored ? password(row.password) : row.password) + u"\",\"" + row.count + u"\",\"" +
                (stored ? mail(row.mail) : row.mail) + u"\"\r\n";
    }
    return sjis(text);
}

} // namespace orvanta::test
