// Checked writes to standard output.
#include "report/output.h"

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

#include "input/input_error.h"

namespace kqfmt {

Output::Output(int fd) : fd_(fd) { buffer_.reserve(kBufferBytes); }

Output& Output::operator<<(std::string_view text) {
    buffer_.append(text.data(), text.size());
    if (buffer_.size() >= kBufferBytes) write_out();
    return *this;
}

Output& Output::operator<<(char c) {
    buffer_ += c;
    if (buffer_.size() >= kBufferBytes) write_out();
    return *this;
}

Output& Output::operator<<(long long number) {
    char text[24];
    return *this << std::string_view(
               text, static_cast<std::size_t>(std::to_chars(text, text + sizeof text, number).ptr -
                                              text));
}

void Output::flush() { write_out(); }

void Output::write_out() {
    std::size_t done = 0;
    while (error_ == 0 && done < buffer_.size()) {
        const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (n < 0 && errno != EINTR)
            error_ = errno;
        else if (n == 0)
            error_ = EIO;
    }
    buffer_.clear();
    if (error_ != 0)
        throw InputError(std::string("cannot write to standard output: ") + std::strerror(error_));
}

}  // namespace kqfmt
