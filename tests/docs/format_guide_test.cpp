// The examples of the format-string guide, run through the formatter: every
// row of every "Format | Type | Stored | Context | Shown" table in
// docs/format-strings.md is one column with one stored value, formatted in
// the example world the guide describes, and must show what the row says.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "kq_format_trace.h"
#include "kq_test_tables.h"

namespace {

using kqtest::ColumnDef;
using kqtest::TableSpec;

const char kHeader[] = "| Format | Type | Stored | Context | Shown |";
const char kUntouched[] = "?";  // what every cell holds before the call

struct Example {
    int line = 0;
    std::string format, stored, context, shown;
    int type = 0;
};

std::string trim(const std::string& s) {
    const auto begin = s.find_first_not_of(' ');
    if (begin == std::string::npos) return "";
    return s.substr(begin, s.find_last_not_of(' ') + 1 - begin);
}

// The cells of a table row; "\|" is a "|" inside a cell.
std::vector<std::string> split_row(const std::string& line) {
    std::vector<std::string> cells;
    std::string cell;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == '|') {
            cell += '|';
            ++i;
        } else if (line[i] == '|') {
            cells.push_back(cell);
            cell.clear();
        } else {
            cell += line[i];
        }
    }
    // Drop what stands before the first and after the last "|".
    if (!cells.empty()) cells.erase(cells.begin());
    return cells;
}

// A value cell: the text between backquotes, or *(empty)*.
bool value_of(const std::string& cell, std::string& value) {
    const std::string t = trim(cell);
    if (t == "*(empty)*") {
        value.clear();
        return true;
    }
    if (t.size() < 2 || t.front() != '`' || t.back() != '`') return false;
    value = t.substr(1, t.size() - 2);
    return true;
}

std::vector<Example> read_examples() {
    std::ifstream in(KQ_FORMAT_GUIDE);
    EXPECT_TRUE(in.good()) << "cannot read " << KQ_FORMAT_GUIDE;
    std::vector<Example> examples;
    std::string line;
    bool in_table = false;
    for (int number = 1; std::getline(in, line); ++number) {
        if (trim(line) == kHeader) {
            in_table = true;
            std::getline(in, line);  // the |---| line
            ++number;
            continue;
        }
        if (!in_table) continue;
        if (line.empty() || line[0] != '|') {
            in_table = false;
            continue;
        }
        const std::vector<std::string> cells = split_row(line);
        Example e;
        e.line = number;
        if (cells.size() != 5 || !value_of(cells[0], e.format) || !value_of(cells[2], e.stored) ||
            !value_of(cells[4], e.shown)) {
            ADD_FAILURE() << "guide line " << number << " is not an example row: " << line;
            continue;
        }
        e.type = std::stoi(trim(cells[1]));
        e.context = trim(cells[3]);
        examples.push_back(e);
    }
    return examples;
}

// The fixed world the guide's examples live in.
class ExampleWorld {
public:
    ExampleWorld() {
        auto labelled = [](const char* name) {
            ColumnDef key{name, 9, "%s"};
            key.label_col = "label";
            return key;
        };
        const ColumnDef label{"label", 15, "%s"}, usage{"usage", 15, "%s"};
        world_.add({"VALVES",
                    {labelled("number"), label, usage},
                    {{"10", "Sample inlet A", "stream"},
                     {"20", "Sample inlet B", "stream"},
                     {"30", "Calibration gas", "validation"}}});
        world_.add({"VALVE_CONFIG",
                    {labelled("number"), label, usage},
                    {{"1", "Stream 1", "analyzr05"},
                     {"2", "Drain", "drain"},
                     {"3", "Stream 2", "analyzr12"}}});
        world_.add({"VALVE_GROUP1",
                    {labelled("number"), label},
                    {{"1", "Group 1 inlet"}, {"2", "Group 1 outlet"}}});
        world_.add({"VALVE_GROUP2",
                    {labelled("number"), label},
                    {{"1", "Group 2 inlet"}, {"2", "Group 2 outlet"}}});
        ColumnDef name{"name", 15, "%s"};
        name.component_sel = "AI";
        world_.add({"SIGNALS",
                    {name, {"comment", 15, "%s"}},
                    {{"AI_01", "first input"}, {"AI_02", "second input"}}});
        world_.add({"LIMITS", {{"count", 9, "%04d"}, {"high", 13, "%.3f"}}, {{"5", "99.5"}}});
        world_.sys_var("AI_01", "Inlet pressure");
        world_.sys_var("AI_02", "Column temperature");
    }

    // Formats the example's cell; false (with a failure) for a context the
    // guide does not define.
    bool shown(const Example& e, std::string& text) {
        ColumnDef column{"value", e.type, e.format};
        std::string mode = "0";
        int row = 0;
        bool old_view = false;
        std::stringstream items(e.context);
        for (std::string item; std::getline(items, item, ',');) {
            item = trim(item);
            const std::string key = item.substr(0, item.find('='));
            const std::string value =
                item.find('=') == std::string::npos ? "" : item.substr(item.find('=') + 1);
            if (key == "MODE") {
                mode = value;
            } else if (key == "units" && value.find(':') != std::string::npos) {
                column.units = value.substr(0, value.find(':'));
                column.units_us = value.substr(value.find(':') + 1);
            } else if (item == "flagged") {
                column.is_date_time = 1;
            } else if (key == "selection") {
                column.component_sel = value;
            } else if (item == "valve_do") {
                column.internal_name = "valve_do";
            } else if (key == "row") {
                row = std::stoi(value);
            } else if (item == "old") {
                old_view = true;
            } else if (!item.empty()) {
                ADD_FAILURE() << "unknown context item '" << item << "'";
                return false;
            }
        }
        TableSpec local{"LOCAL", {{"MODE", 9, "Off(0),On(1),Service(2)"}, column}, {}};
        local.rows.assign(static_cast<std::size_t>(row) + 1, {"0", ""});
        local.rows[static_cast<std::size_t>(row)] = {mode, e.stored};
        const auto live = kqtest::make_live(local);
        const auto snapshot = kqtest::make_snapshot(local);
        std::vector<kq_formatted_col_data_struct> old_columns{
            {1, kqtest::cells({row}, kUntouched)}};
        std::vector<kq_formatted_col_data_struct> new_columns{
            {1, kqtest::cells({row}, kUntouched)}};
        auto traced_old = old_columns, traced_new = new_columns;
        KQ_FORMAT_DATA formatter(world_.master());
        formatter.GetFormattedValue(snapshot.get(), live.get(), old_columns, new_columns);
        text = (old_view ? old_columns : new_columns)[0].cells[0].value;
        // The traced run (kqfmt explain's) shows the same and records the
        // tests it made.
        KQ_FORMAT_TRACE trace;
        KQ_TraceFormattedValue(world_.master(), snapshot.get(), live.get(), traced_old, traced_new,
                               trace);
        EXPECT_EQ((old_view ? traced_old : traced_new)[0].cells[0].value, text) << e.line;
        EXPECT_FALSE(trace.steps.empty()) << e.line;
        EXPECT_EQ(trace.formatter.empty(), trace.kind == KQ_COLUMN_KIND::NONE) << e.line;
        return true;
    }

private:
    kqtest::World world_;
};

TEST(FormatGuide, EveryExampleShowsWhatTheGuideSays) {
    const std::vector<Example> examples = read_examples();
    // The guide has a table in every section; a parse that finds few rows
    // has lost them, not passed them.
    EXPECT_GE(examples.size(), 120u);
    kqtest::LogCapture quiet(false);  // failed conversions log error lines
    ExampleWorld world;
    for (const Example& e : examples) {
        std::string text;
        if (!world.shown(e, text)) continue;
        EXPECT_EQ(text, e.shown) << "guide line " << e.line << ": format '" << e.format
                                 << "', type " << e.type << ", stored '" << e.stored
                                 << "', context '" << e.context << "'";
    }
}

}  // namespace
