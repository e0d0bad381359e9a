// The hive file on any bytes: reading it must never crash, and the window must start over it with
// either a key of its own (two digits) or the fixed key, and say which, or say that the product ID
// could not be read when the hive's ProductId line is damaged.
#include "FuzzWindow.h"
#include "Promises.h"
#include "form/Messages.h"
#include "host/linux/imitate_windows/RegistryHive.h"
#include "rules/cipher/Messages.h"

#include <cstdint>

namespace {

using namespace orvanta;

constexpr orvanta::fuzz::Promises check{"hive"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // No machine identifier: the product ID comes from the hive or not at all.
    auto hive = host::RegistryHive::parse(bytes);
    (void)hive.valueCount();

    fuzz::FuzzWindow machine({}, &hive);
    const auto& message = machine.window.Txtmassage.text();
    const auto& key = machine.window.X.shown;
    if (const auto problem = hive.problem()) {
        check(message == form::keyProblemMessage(problem->what, key),
              "a damaged product ID not told with the key in force");
        return 0;
    }
    if (message == cipher::fixedKeyMessage(u"00")) {
        check(key == u"00", "the fixed key message without the fixed key");
        return 0;
    }
    check(message == cipher::keyMessage(key), "an unexpected start-up message");
    check(!key.empty() && key.size() <= 2, "a key of the machine's own that is not one or two digits");
    for (char16_t c : key)
        check(c >= u'0' && c <= u'9', "a key of the machine's own that is not digits");
    return 0;
}
