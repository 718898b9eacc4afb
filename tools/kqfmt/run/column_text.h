// The display strings of one requested column of one view, packed: one
// byte buffer and the end of each string in it. A table's cells are held
// this way from the moment a column is formatted until the report is
// written, instead of as the formatter's cell records (a row number and a
// string object each, several times the size of the usual short text).
// Copies share the strings: a column both views show alike is held once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "text/utf8_text.h"

namespace kqfmt {

class ColumnText {
public:
    ColumnText() = default;
    explicit ColumnText(int32_t column) : column_(column) {}

    int32_t column() const { return column_; }
    std::size_t size() const { return lines_ ? lines_->ends.size() : 0; }
    bool empty() const { return size() == 0; }

    // Whether `other` is a copy of this column, holding the same lines.
    bool shares(const ColumnText& other) const { return lines_ == other.lines_; }
    // Whether every line shows on a terminal as it is (plain_text), one
    // display column a byte; the longest line's length.
    bool plain() const { return !lines_ || lines_->plain; }
    std::size_t longest() const { return lines_ ? lines_->longest : 0; }

    // The text of line `line` (< size()); valid until the next change.
    std::string_view operator[](std::size_t line) const {
        const std::size_t begin = line == 0 ? 0 : lines_->ends[line - 1];
        return std::string_view(lines_->bytes).substr(begin, lines_->ends[line] - begin);
    }

    // Adds a line. Throws std::bad_alloc when the column's text would pass
    // 4 GiB, which the offsets cannot hold.
    void push_back(std::string_view text);
    // Adds `count` lines, line i being text(i) (a string_view): sized in
    // one pass, copied in a second. Throws as push_back.
    template <class Text>
    void append(std::size_t count, Text&& text);

private:
    struct Lines {
        std::string bytes;
        std::vector<uint32_t> ends;
        bool plain = true;
        std::size_t longest = 0;
    };
    Lines& own();  // the lines, unshared first

    int32_t column_ = 0;
    std::shared_ptr<Lines> lines_;
};

template <class Text>
void ColumnText::append(std::size_t count, Text&& text) {
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < count; ++i) bytes += std::string_view(text(i)).size();
    Lines& lines = own();
    std::size_t end = lines.bytes.size();
    if (bytes > UINT32_MAX - end) throw std::bad_alloc();
    lines.bytes.resize(end + bytes);
    lines.ends.reserve(lines.ends.size() + count);
    const std::size_t first = end;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view line(text(i));
        if (!line.empty()) std::memcpy(&lines.bytes[end], line.data(), line.size());
        end += line.size();
        lines.ends.push_back(static_cast<uint32_t>(end));
        if (line.size() > lines.longest) lines.longest = line.size();
    }
    lines.plain = lines.plain && plain_text(std::string_view(lines.bytes).substr(first));
}

// One formatted cell as the reports read it.
struct CellText {
    int32_t row = 0;
    std::string_view value;
};

}  // namespace kqfmt
