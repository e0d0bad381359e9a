#pragma once

// The results of the platform services: a value or the reason it could not be had, true on success.

#include <string>
#include <utility>
#include <variant>

namespace orvanta::host {

/// Why a platform service could not do what was asked, worded for the user.
struct Failure {
    enum class Kind {
        NotFound, ///< the file (or a folder on its way) is not there
        Changed,  ///< another program changed the file since it was read; nothing was written
        Other,
    };
    Kind kind = Kind::Other;
    /// The platform's description of the error, in Japanese, ready for the message box.
    std::u16string description;
};

/// The value of a platform call that may fail (a small stand-in for C++23's std::expected).
template <class T> class Expected {
public:
    Expected(T value) : m_state(std::move(value)) {}
    Expected(Failure failure) : m_state(std::move(failure)) {}

    bool ok() const { return std::holds_alternative<T>(m_state); }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return std::get<T>(m_state); }
    T&& value() && { return std::get<T>(std::move(m_state)); }
    const Failure& failure() const { return std::get<Failure>(m_state); }

private:
    std::variant<T, Failure> m_state;
};

} // namespace orvanta::host
