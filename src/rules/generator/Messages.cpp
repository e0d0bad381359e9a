// The generator's messages, one wording for each.
#include "Messages.h"

#include "rules/generator/Generator.h"
#include "rules/store/Decimal.h"

namespace orvanta::generator {

std::u16string tooLongMessage()
{
    return u"桁数が大きすぎます。" + store::decimalText(static_cast<long long>(kMaxGeneratedLength)) +
           u" 桁以下で指定して下さい。";
}

} // namespace orvanta::generator
