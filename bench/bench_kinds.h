// The column kinds the benchmarks measure. Each kind builds its tables for a
// number of requested cells and offers two ways to make the same display
// strings: the library's (one GetFormattedValue call) and the floor's (the
// least work conceivable once everything is known: each value printed with
// its already-resolved specifier by snprintf and assigned to a string, or
// looked up in a std::map and assigned). A fixture checks at build time that
// both give byte-identical strings, so the two costs are comparable.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "kq_format_data.h"
#include "kq_host_table.h"
#include "kw_table.h"

namespace kqbench {

// What the floor does for one cell.
enum class FloorKind {
    kPrintDouble,   // snprintf(specifier, double), the unit text after it, assign
    kPrintSeven,    // "%76g": snprintf("%.7g"), read back by strtod; if it
                    // is not the same float, snprintf("%g"); assign
    kPrintLong,     // snprintf(specifier, long), assign
    kPrintText,     // snprintf("%s", text), assign
    kPrintDate,     // snprintf of the broken-down UTC time, assign
    kLookup,        // std::map find, assign the name
    kLookupPerRow,  // the same in the map of the cell's own row
};

struct DoubleCell {
    const char* specifier;
    double value;
    const char* suffix;  // unit text with its leading blank, or ""
};
struct LongCell {
    const char* specifier;
    long value;
};
struct DateCell {
    int year, month, day, hour, minute, second;
};

// One kind at one number of requested cells: the tables, the formatter, the
// caller's column lists, and the floor's inputs.
class Fixture {
public:
    Fixture() = default;
    Fixture(const Fixture&) = delete;
    Fixture& operator=(const Fixture&) = delete;

    // One GetFormattedValue call over the requested cells.
    void run_library();
    // The floor over the same cells, into its own strings.
    void run_floor();

    // Requested cells (on the side the kind requests them).
    int cells() const { return cells_; }
    // Heap allocations of one call on fresh cell records (empty values),
    // measured after a warm-up call.
    double library_allocations() const { return library_allocations_; }
    double floor_allocations() const { return floor_allocations_; }

    // ---- Building (used by the kind definitions) ----------------------------
    kqhost::MasterTable master;
    std::shared_ptr<kqhost::TableData> data;  // the local table's values
    std::shared_ptr<KWTABLE> live;
    std::shared_ptr<KQ_TABLE_COPY> snapshot;  // null: no old view
    int column = 0;
    bool old_side = false;  // request the cells from the snapshot instead

    FloorKind floor_kind = FloorKind::kPrintDouble;
    std::vector<DoubleCell> double_cells;
    std::vector<LongCell> long_cells;
    std::vector<std::string> texts;  // kPrintText: texts; kLookup: keys
    std::vector<DateCell> date_cells;
    std::map<std::string, std::string> names;                   // kLookup
    std::vector<std::map<std::string, std::string>> row_names;  // kLookupPerRow

    // Makes the column lists for `cells` requested rows (0 .. cells-1), runs
    // both sides once, checks that they agree (aborts with a message when
    // not) and counts allocations.
    void finish(int cells);

private:
    void fresh_lists();
    KQ_CELL_LIST& requested();

    int cells_ = 0;
    KQ_FORMAT_DATA formatter_;
    std::vector<kq_formatted_col_data_struct> old_columns_, new_columns_;
    std::vector<std::string> floor_out_;
    double library_allocations_ = 0;
    double floor_allocations_ = 0;
};

struct Kind {
    std::string name;
    // Builds the fixture for `cells` requested cells.
    std::unique_ptr<Fixture> (*make)(int cells, int parameter);
    int parameter;  // remote rows of remote_label, cases of trigger_cases, else 0
};

// Every kind, in report order.
const std::vector<Kind>& kinds();

// The fixture of a kind for a number of cells, built on first use and kept.
Fixture& fixture_for(const Kind& kind, int cells);

}  // namespace kqbench
