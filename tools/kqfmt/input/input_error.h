// Bad input or usage: reported as one line on standard error, exit status 2,
// before anything is written to standard output.
#pragma once

#include <stdexcept>
#include <string>

namespace kqfmt {

class InputError : public std::runtime_error {
public:
    explicit InputError(const std::string& message)
        : std::runtime_error(message), message_(message) {}
    // The whole message: unlike what(), not cut at a NUL byte taken from the
    // configuration.
    const std::string& message() const { return message_; }

private:
    std::string message_;
};

}  // namespace kqfmt
