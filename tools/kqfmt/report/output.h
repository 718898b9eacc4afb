// Standard output with every write checked: a full disk, a closed
// descriptor or a closed pipe is an error the tool reports, never a silent
// success.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kqfmt {

class Output {
public:
    // Writes to descriptor `fd`, which the caller keeps open.
    explicit Output(int fd);

    // Appends text; written out whenever enough has gathered. Throws
    // InputError ("cannot write to standard output: CAUSE") when a write
    // fails, and from then on.
    Output& operator<<(std::string_view text);
    Output& operator<<(char c);
    Output& operator<<(long long number);
    // Lets `append(std::string&)` write straight into the gathered text,
    // for text that is escaped as it is copied.
    template <class Append>
    Output& append_with(Append&& append) {
        append(buffer_);
        if (buffer_.size() >= kBufferBytes) write_out();
        return *this;
    }

    // Writes everything gathered so far; throws as above. Called at the end
    // of each table and before the tool exits.
    void flush();

private:
    static constexpr std::size_t kBufferBytes = 1 << 16;
    void write_out();

    int fd_;
    std::string buffer_;
    int error_ = 0;  // errno of the first failed write
};

}  // namespace kqfmt
