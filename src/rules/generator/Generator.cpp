// Making a password from the system's secure random source, each character equally likely.
#include "Generator.h"

namespace orvanta::generator {

std::u16string generatePassword(std::size_t length, host::RandomSource& random)
{
    std::u16string password;
    password.reserve(length);
    for (std::size_t count = 0; count < length; ++count)
        password += kGeneratorAlphabet[random.below(kGeneratorAlphabet.size())];
    return password;
}

} // namespace orvanta::generator
