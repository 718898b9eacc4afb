// Fuzz target: GetFormattedValue over tables, metadata, system variables and
// requests all taken from the input (encoding in world_decoder.h). Besides
// the sanitizers it checks what every call must keep: the result is 1; the
// column and cell records keep their number, order, column numbers and rows
// (only the values may change); and the formatter keeps nothing from one
// call to the next, so a second call on fresh copies of the lists writes
// the same values and ends the same way.
//
// The one error a call may raise is the std::out_of_range of asking an empty
// format string for its first character; any other exception, and that type
// raised by anything else, is a finding.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "kq_format_data.h"
#include "kq_host_log.h"
#include "world_decoder.h"

namespace {

using Columns = std::vector<kq_formatted_col_data_struct>;

struct Shape {
    int32_t column;
    std::vector<int32_t> rows;
};

std::vector<Shape> shape_of(const Columns& columns) {
    std::vector<Shape> shape;
    for (const auto& column : columns) {
        Shape s{column.column, {}};
        for (const auto& cell : column.cells) s.rows.push_back(cell.row);
        shape.push_back(std::move(s));
    }
    return shape;
}

bool same_shape(const std::vector<Shape>& a, const std::vector<Shape>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].column != b[i].column || a[i].rows != b[i].rows) return false;
    return true;
}

// Values of two lists of the same shape.
bool same_values(const Columns& a, const Columns& b) {
    for (std::size_t i = 0; i < a.size(); ++i)
        for (std::size_t j = 0; j < a[i].cells.size(); ++j)
            if (a[i].cells[j].value != b[i].cells[j].value) return false;
    return true;
}

// The message libstdc++ gives std::string::at(0) on an empty string.
bool is_first_char_of_empty_string(const std::out_of_range& e) {
    static const char kAtZeroOfEmpty[] =
        "basic_string::at: __n (which is 0) >= this->size() (which is 0)";
    return std::strncmp(e.what(), kAtZeroOfEmpty, sizeof kAtZeroOfEmpty - 1) == 0;
}

// One call; true when it raised the error of an empty format string.
bool format(KQ_FORMAT_DATA& formatter, kqfuzz::World& world, Columns& oldColumns,
            Columns& newColumns) {
    try {
        if (formatter.GetFormattedValue(world.snapshot.get(), world.local.get(), oldColumns,
                                        newColumns) != 1)
            std::abort();
    } catch (const std::out_of_range& e) {
        if (!is_first_char_of_empty_string(e)) throw;
        return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Log records are formatted (the printf work is exercised) and dropped.
    kqhost::set_log_sink([](const kqhost::LogRecord&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::unique_ptr<kqfuzz::World> world = kqfuzz::decode_world(data, size);
    DebugLevel = world->debug ? 1 : 0;

    const std::vector<Shape> old_before = shape_of(world->old_columns);
    const std::vector<Shape> new_before = shape_of(world->new_columns);
    Columns old_again = world->old_columns;
    Columns new_again = world->new_columns;

    KQ_FORMAT_DATA formatter(&world->master);
    const bool raised = format(formatter, *world, world->old_columns, world->new_columns);
    if (!same_shape(old_before, shape_of(world->old_columns))) std::abort();
    if (!same_shape(new_before, shape_of(world->new_columns))) std::abort();

    if (format(formatter, *world, old_again, new_again) != raised) std::abort();
    if (!same_values(old_again, world->old_columns)) std::abort();
    if (!same_values(new_again, world->new_columns)) std::abort();
    return 0;
}
