// Bad input or usage: reported as one line on standard error, exit status 2,
// before anything is written to standard output.
#pragma once

#include <stdexcept>

namespace kqfmt {

class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace kqfmt
