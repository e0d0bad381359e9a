// The row reader of psw.ini and psw.bkp on any bytes: it must never crash, and whatever it reads
// cleanly must be written back by the row writer and read back as the same rows.
#include "Promises.h"
#include "host/linux/IcuCodePage.h"
#include "rules/store/RowFormat.h"

#include <cstdint>
#include <cstring>
#include <variant>

namespace {

constexpr orvanta::fuzz::Promises check{"row reader"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace orvanta;
    static const host::IcuCodePage codePage;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const auto read = store::readRows(bytes, codePage);
    check(read.rows.size() <= static_cast<std::size_t>(store::kMaxRows),
          "more rows than the record array holds");
    if (read.problem) {
        check(read.problem->line >= 1, "a problem without its line");
        return 0;
    }

    const auto written = store::writeRows(read.rows, codePage);
    check(std::holds_alternative<std::string>(written), "rows that read cleanly cannot be written back");
    const auto again = store::readRows(std::get<std::string>(written), codePage);
    check(!again.problem, "rows written back do not read cleanly");
    check(again.rows == read.rows, "rows written back read as other rows");
    return 0;
}
