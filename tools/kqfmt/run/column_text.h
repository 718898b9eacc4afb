// The display strings of one requested column of one view, packed: one
// byte buffer and the end of each string in it. A table's cells are held
// this way from the moment a column is formatted until the report is
// written, instead of as the formatter's cell records (a row number and a
// string object each, several times the size of the usual short text).
// Copies share the strings: a column both views show alike is held once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kqfmt {

class ColumnText {
public:
    ColumnText() = default;
    explicit ColumnText(int32_t column) : column_(column) {}

    int32_t column() const { return column_; }
    std::size_t size() const { return lines_ ? lines_->ends.size() : 0; }
    bool empty() const { return size() == 0; }

    // The text of line `line` (< size()); valid until the next change.
    std::string_view operator[](std::size_t line) const {
        const std::size_t begin = line == 0 ? 0 : lines_->ends[line - 1];
        return std::string_view(lines_->bytes).substr(begin, lines_->ends[line] - begin);
    }

    // Adds a line. Throws std::bad_alloc when the column's text would pass
    // 4 GiB, which the offsets cannot hold.
    void push_back(std::string_view text);
    void reserve(std::size_t lines, std::size_t bytes);

private:
    struct Lines {
        std::string bytes;
        std::vector<uint32_t> ends;
    };
    Lines& own();  // the lines, unshared first

    int32_t column_ = 0;
    std::shared_ptr<Lines> lines_;
};

// One formatted cell as the reports read it.
struct CellText {
    int32_t row = 0;
    std::string_view value;
};

}  // namespace kqfmt
