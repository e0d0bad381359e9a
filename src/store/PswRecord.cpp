#include "PswRecord.h"

#include <stdexcept>

namespace orvanta::store {

std::size_t RecordArray::checked(long long slot)
{
    if (slot < 0 || slot > kMaxRows)
        throw std::out_of_range("record array slot out of range");
    return static_cast<std::size_t>(slot);
}

} // namespace orvanta::store
