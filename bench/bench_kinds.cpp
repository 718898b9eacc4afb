#include "bench_kinds.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <utility>

#include "allocation_counter.h"
#include "kq_host_units.h"

namespace kqbench {
namespace {

using kqhost::ColumnDef;
using kqhost::TableData;

constexpr std::size_t kFloorBuffer = 128;

// ---- Table building ---------------------------------------------------------

std::shared_ptr<TableData> table(const std::string& name, const std::vector<ColumnDef>& columns,
                                 int rows) {
    auto data = std::make_shared<TableData>(name);
    for (const auto& c : columns) data->add_column(c);
    data->set_row_count(rows);
    return data;
}

// Registers `data` under its name in the fixture's master table.
void add_remote(Fixture& f, std::shared_ptr<TableData> data) {
    f.master.data().add_table(std::make_shared<kqhost::LiveTable>(std::move(data)));
}

// A fixture whose local table is `data`, column `column`.
std::unique_ptr<Fixture> local(std::shared_ptr<TableData> data, int column, FloorKind floor) {
    auto f = std::make_unique<Fixture>();
    f->data = std::move(data);
    f->live = std::make_shared<kqhost::LiveTable>(f->data);
    f->column = column;
    f->floor_kind = floor;
    return f;
}

// The stored float of a type 12 column, converted between units as the
// platform converts it.
double converted_float(float stored, const char* from, const char* to) {
    DATA_TYPE_UNION u{};
    u.fVal = stored;
    const UNIT_ENUM a = GetUnitEnum(from), b = GetUnitEnum(to);
    if (a != b) ConvertUnits(a, b, DT_FLOAT, &u);
    return static_cast<double>(u.fVal);
}

const char* unit_suffix(const char* unit) {
    static std::map<std::string, std::string> texts;
    auto& text = texts[unit];
    if (text.empty()) text = std::string(" ") + getDisplayUnits(unit);
    return text.c_str();
}

// ---- Numeric kinds ----------------------------------------------------------

// "%.2f", stored in degC, shown in degF.
std::unique_ptr<Fixture> float_units(int cells, int) {
    auto data = table("T", {{"temp", 12, "%.2f", "degC", "degF"}}, cells);
    auto f = local(data, 0, FloorKind::kPrintDouble);
    for (int r = 0; r < cells; ++r) {
        const float stored = -40.0f + static_cast<float>(r % 1000) * 0.173f;
        data->store_real(0, r, stored);
        f->double_cells.push_back(
            {"%.2f", converted_float(stored, "degC", "degF"), unit_suffix("degF")});
    }
    return f;
}

// "%76g" on a float column; a third of the values need all seven digits.
// The floor makes the choice itself, as the library must: print with
// "%.7g", read back, print again with "%g" when the float differs.
std::unique_ptr<Fixture> float_76g(int cells, int) {
    auto data = table("T", {{"ratio", 12, "%76g"}}, cells);
    auto f = local(data, 0, FloorKind::kPrintSeven);
    for (int r = 0; r < cells; ++r) {
        float stored;
        switch (r % 3) {
            case 0: stored = 0.1f * static_cast<float>(r % 50); break;
            case 1: stored = 1.0f / static_cast<float>(r % 7 + 3); break;
            default: stored = 1234.5678f + static_cast<float>(r); break;
        }
        data->store_real(0, r, stored);
        f->double_cells.push_back({"%76g", static_cast<double>(stored), ""});
    }
    return f;
}

std::unique_ptr<Fixture> double_column(int cells, int) {
    auto data = table("T", {{"flow", 13, "%.4f"}}, cells);
    auto f = local(data, 0, FloorKind::kPrintDouble);
    for (int r = 0; r < cells; ++r) {
        const double stored = static_cast<double>(r) * 1.234567 - 5000.0;
        data->store_real(0, r, stored);
        f->double_cells.push_back({"%.4f", stored, ""});
    }
    return f;
}

std::unique_ptr<Fixture> int_column(int cells, int) {
    auto data = table("T", {{"count", 9, "%5ld"}}, cells);
    auto f = local(data, 0, FloorKind::kPrintLong);
    for (int r = 0; r < cells; ++r) {
        const long stored = (static_cast<long>(r) * 7919) % 200000 - 100000;
        data->store_integer(0, r, stored);
        f->long_cells.push_back({"%5ld", stored});
    }
    return f;
}

// The trigger column MODE shared by the trigger kinds: Metric(0), Imperial(1).
const ColumnDef kModeColumn{"MODE", 9, "Metric(0),Imperial(1)"};

// A float column whose case in force names its specifier and display unit.
std::unique_ptr<Fixture> trigger_units(int cells, int) {
    auto data =
        table("T",
              {kModeColumn,
               {"value", 12,
                "@MODE{[Metric]float(%.1f) UNIT=degC),[Imperial]float(%.2f) UNIT=degF)}", "degC"}},
              cells);
    auto f = local(data, 1, FloorKind::kPrintDouble);
    for (int r = 0; r < cells; ++r) {
        const bool imperial = r % 2 == 1;
        const float stored = 15.0f + static_cast<float>(r % 400) * 0.25f;
        data->store_integer(0, r, imperial ? 1 : 0);
        data->store_real(1, r, stored);
        if (imperial)
            f->double_cells.push_back(
                {"%.2f", converted_float(stored, "degC", "degF"), unit_suffix("degF")});
        else
            f->double_cells.push_back({"%.1f", static_cast<double>(stored), unit_suffix("degC")});
    }
    return f;
}

// ---- Pick lists ---------------------------------------------------------------

const char* const kStates[] = {"Off", "On", "Standby", "Fault", "Service", "Calibrating"};

std::unique_ptr<Fixture> static_picklist(int cells, int) {
    auto data = table(
        "T", {{"state", 9, "Off(0),On(1),Standby(2),Fault(3),Service(4),Calibrating(5)"}}, cells);
    auto f = local(data, 0, FloorKind::kLookup);
    for (int i = 0; i < 6; ++i) f->names[std::to_string(i)] = kStates[i];
    for (int r = 0; r < cells; ++r) {
        data->store_integer(0, r, r % 6);
        f->texts.push_back(std::to_string(r % 6));
    }
    return f;
}

// The pick lists of both cases merged: {0 Off, 1 On, 2 Standby, 3 Heating,
// 4 Cooling}.
std::unique_ptr<Fixture> trigger_picklist(int cells, int) {
    auto data =
        table("T",
              {kModeColumn,
               {"state", 9,
                "@MODE{[Metric]Off(0);On(1);Standby(2),[Imperial]Off(0);Heating(3);Cooling(4)}"}},
              cells);
    auto f = local(data, 1, FloorKind::kLookup);
    const char* const names[] = {"Off", "On", "Standby", "Heating", "Cooling"};
    for (int i = 0; i < 5; ++i) f->names[std::to_string(i)] = names[i];
    for (int r = 0; r < cells; ++r) {
        data->store_integer(0, r, r % 2);
        data->store_integer(1, r, r % 5);
        f->texts.push_back(std::to_string(r % 5));
    }
    return f;
}

// A remote table of `rows` rows: key column "id" (100, 101, ...) labelled by
// the column "label".
std::shared_ptr<TableData> labelled_table(const std::string& name, int rows,
                                          const std::string& label_prefix) {
    ColumnDef id{"id", 9};
    id.label_col = "label";
    auto remote = table(name, {id, {"label", 15}}, rows);
    for (int r = 0; r < rows; ++r) {
        remote->store_integer(0, r, 100 + r);
        remote->store_text(1, r, label_prefix + std::to_string(r));
    }
    return remote;
}

// Labels taken from the rows of another table; `rows` remote rows.
std::unique_ptr<Fixture> remote_label(int cells, int rows) {
    auto data = table("T", {{"stream", 9, "Stream=STREAMS.id,__no_free_edit__"}}, cells);
    auto f = local(data, 0, FloorKind::kLookup);
    add_remote(*f, labelled_table("STREAMS", rows, "Stream "));
    for (int r = 0; r < rows; ++r)
        f->names[std::to_string(100 + r)] = "Stream " + std::to_string(r);
    for (int r = 0; r < cells; ++r) {
        data->store_integer(0, r, 100 + r % rows);
        f->texts.push_back(std::to_string(100 + r % rows));
    }
    return f;
}

// One remote table per row ("ROW1", "ROW2", ...), each of four rows. The
// old list drives the row template, so the cells are requested from the
// snapshot.
constexpr int kRowTemplateRows = 4;

std::unique_ptr<Fixture> row_template(int cells, int) {
    auto data = table("T", {{"unit", 9, "Unit=ROW[__ROW_NUM__].id,__no_free_edit__"}}, cells);
    auto f = local(data, 0, FloorKind::kLookupPerRow);
    f->snapshot = std::make_shared<kqhost::TableCopy>(data);
    f->old_side = true;
    for (int r = 0; r < cells; ++r) {
        const std::string prefix = "U" + std::to_string(r + 1) + "-";
        add_remote(*f, labelled_table("ROW" + std::to_string(r + 1), kRowTemplateRows, prefix));
        f->row_names.emplace_back();
        for (int j = 0; j < kRowTemplateRows; ++j)
            f->row_names.back()[std::to_string(100 + j)] = prefix + std::to_string(j);
        const int key = 100 + r % kRowTemplateRows;
        data->store_integer(0, r, key);
        f->texts.push_back(std::to_string(key));
    }
    return f;
}

// Many references in one format: `cells` segments that all name STREAMS.id,
// a remote table of `cells` rows, `cells` requested cells. References,
// remote rows and cells all grow with the size.
std::unique_ptr<Fixture> remote_references(int cells, int) {
    std::string format;
    for (int i = 0; i < cells; ++i)
        format += "Stream" + std::to_string(i) + "=STREAMS.id,__no_free_edit__";
    auto data = table("T", {{"stream", 9, format}}, cells);
    auto f = local(data, 0, FloorKind::kLookup);
    add_remote(*f, labelled_table("STREAMS", cells, "Stream "));
    for (int r = 0; r < cells; ++r)
        f->names[std::to_string(100 + r)] = "Stream " + std::to_string(r);
    for (int r = 0; r < cells; ++r) {
        const int key = 100 + (r * 7) % cells;
        data->store_integer(0, r, key);
        f->texts.push_back(std::to_string(key));
    }
    return f;
}

// The row template over remote columns without labels: every row's
// reference shows the whole column as plain values.
std::unique_ptr<Fixture> row_template_plain(int cells, int) {
    auto data = table("T", {{"unit", 9, "Unit=ROW[__ROW_NUM__].id,__no_free_edit__"}}, cells);
    auto f = local(data, 0, FloorKind::kPrintLong);
    f->snapshot = std::make_shared<kqhost::TableCopy>(data);
    f->old_side = true;
    for (int r = 0; r < cells; ++r) {
        auto remote = table("ROW" + std::to_string(r + 1), {{"id", 9}}, kRowTemplateRows);
        for (int j = 0; j < kRowTemplateRows; ++j) remote->store_integer(0, j, 100 + j);
        add_remote(*f, remote);
        const long key = 100 + r % kRowTemplateRows;
        data->store_integer(0, r, key);
        f->long_cells.push_back({"%ld", key});
    }
    return f;
}

// A trigger column of `cases` cases, K0(0),K1(1),...; the float column's
// format names a specifier and a unit per case (even cases "%.1f" in degC,
// odd ones "%.2f" in degF). Row r is in case r % cases.
std::unique_ptr<Fixture> trigger_cases(int cells, int cases) {
    std::string trigger, format = "@MODE{";
    for (int k = 0; k < cases; ++k) {
        const std::string name = "K" + std::to_string(k);
        trigger += (k ? "," : "") + name + "(" + std::to_string(k) + ")";
        format += (k ? ",[" : "[") + name + "]" +
                  (k % 2 ? "float(%.2f) UNIT=degF)" : "float(%.1f) UNIT=degC)");
    }
    format += "}";
    auto data = table("T", {{"MODE", 9, trigger}, {"value", 12, format, "degC"}}, cells);
    auto f = local(data, 1, FloorKind::kPrintDouble);
    for (int r = 0; r < cells; ++r) {
        const int k = r % cases;
        const float stored = 15.0f + static_cast<float>(r % 400) * 0.25f;
        data->store_integer(0, r, k);
        data->store_real(1, r, stored);
        if (k % 2)
            f->double_cells.push_back(
                {"%.2f", converted_float(stored, "degC", "degF"), unit_suffix("degF")});
        else
            f->double_cells.push_back({"%.1f", static_cast<double>(stored), unit_suffix("degC")});
    }
    return f;
}

// ---- Other kinds ------------------------------------------------------------

std::unique_ptr<Fixture> date_time(int cells, int) {
    ColumnDef def{"stamp", 9, "__DATE_TIME__", "s"};
    def.is_date_time = 1;
    auto data = table("T", {def}, cells);
    auto f = local(data, 0, FloorKind::kPrintDate);
    for (int r = 0; r < cells; ++r) {
        const long seconds = 1700000000L + static_cast<long>(r) * 3607L;
        data->store_integer(0, r, seconds);
        const std::time_t t = seconds;
        std::tm tm{};
        gmtime_r(&t, &tm);
        f->date_cells.push_back(
            {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec});
    }
    return f;
}

std::unique_ptr<Fixture> plain_string(int cells, int) {
    auto data = table("T", {{"name", 15, "%s"}}, cells);
    auto f = local(data, 0, FloorKind::kPrintText);
    for (int r = 0; r < cells; ++r) {
        f->texts.push_back("value " + std::to_string(r));
        data->store_text(0, r, f->texts.back());
    }
    return f;
}

constexpr int kSystemVariables = 50;

std::unique_ptr<Fixture> system_variable(int cells, int) {
    ColumnDef def{"var", 15, "%s"};
    def.component_sel = "SYSVAR";
    auto data = table("T", {def}, cells);
    auto f = local(data, 0, FloorKind::kLookup);
    for (int i = 0; i < kSystemVariables; ++i) {
        const std::string name = "sv_" + std::to_string(i);
        f->names[name] = "Variable " + std::to_string(i);
        f->master.data().define_sys_var(name, f->names[name]);
    }
    for (int r = 0; r < cells; ++r) {
        f->texts.push_back("sv_" + std::to_string(r % kSystemVariables));
        data->store_text(0, r, f->texts.back());
    }
    return f;
}

}  // namespace

// ---- Fixture ----------------------------------------------------------------

KQ_CELL_LIST& Fixture::requested() {
    return old_side ? old_columns_[0].cells : new_columns_[0].cells;
}

void Fixture::fresh_lists() {
    old_columns_.assign(1, kq_formatted_col_data_struct{column, {}});
    new_columns_.assign(1, kq_formatted_col_data_struct{column, {}});
    KQ_CELL_LIST& list = requested();
    list.resize(static_cast<std::size_t>(cells_));
    for (int r = 0; r < cells_; ++r) list[static_cast<std::size_t>(r)].row = r;
    floor_out_.clear();
    floor_out_.resize(static_cast<std::size_t>(cells_));
}

void Fixture::run_library() {
    formatter_.GetFormattedValue(snapshot.get(), live.get(), old_columns_, new_columns_);
}

void Fixture::run_floor() {
    char buf[kFloorBuffer];
    const std::size_t n = floor_out_.size();
    switch (floor_kind) {
        case FloorKind::kPrintDouble:
            for (std::size_t i = 0; i < n; ++i) {
                const DoubleCell& c = double_cells[i];
                const std::size_t len =
                    static_cast<std::size_t>(std::snprintf(buf, sizeof buf, c.specifier, c.value));
                const std::size_t suffix = std::strlen(c.suffix);
                std::memcpy(buf + len, c.suffix, suffix);  // short texts: both fit
                floor_out_[i].assign(buf, len + suffix);
            }
            break;
        case FloorKind::kPrintSeven:
            for (std::size_t i = 0; i < n; ++i) {
                const double value = double_cells[i].value;
                int len = std::snprintf(buf, sizeof buf, "%.7g", value);
                if (static_cast<float>(std::strtod(buf, nullptr)) != static_cast<float>(value))
                    len = std::snprintf(buf, sizeof buf, "%g", value);
                floor_out_[i].assign(buf, static_cast<std::size_t>(len));
            }
            break;
        case FloorKind::kPrintLong:
            for (std::size_t i = 0; i < n; ++i) {
                const int len =
                    std::snprintf(buf, sizeof buf, long_cells[i].specifier, long_cells[i].value);
                floor_out_[i].assign(buf, static_cast<std::size_t>(len));
            }
            break;
        case FloorKind::kPrintText:
            for (std::size_t i = 0; i < n; ++i) {
                const int len = std::snprintf(buf, sizeof buf, "%s", texts[i].c_str());
                floor_out_[i].assign(buf, static_cast<std::size_t>(len));
            }
            break;
        case FloorKind::kPrintDate:
            for (std::size_t i = 0; i < n; ++i) {
                const DateCell& d = date_cells[i];
                const int len = std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d",
                                              d.year, d.month, d.day, d.hour, d.minute, d.second);
                floor_out_[i].assign(buf, static_cast<std::size_t>(len));
            }
            break;
        case FloorKind::kLookup:
            for (std::size_t i = 0; i < n; ++i) floor_out_[i] = names.find(texts[i])->second;
            break;
        case FloorKind::kLookupPerRow:
            for (std::size_t i = 0; i < n; ++i) floor_out_[i] = row_names[i].find(texts[i])->second;
            break;
    }
}

void Fixture::finish(int cells) {
    cells_ = cells;
    formatter_.Set_master_table_pointer(&master);

    // Warm-up on fresh records: one-time platform set-up (the unit catalog)
    // falls here.
    fresh_lists();
    run_library();
    run_floor();

    // The library and the floor must agree byte for byte.
    const KQ_CELL_LIST& list = requested();
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].value != floor_out_[i]) {
            std::fprintf(stderr, "kq_bench: row %d: library \"%s\", floor \"%s\"\n", list[i].row,
                         list[i].value.c_str(), floor_out_[i].c_str());
            std::abort();
        }
    }

    fresh_lists();
    std::size_t before = allocation_count();
    run_library();
    library_allocations_ = static_cast<double>(allocation_count() - before);
    before = allocation_count();
    run_floor();
    floor_allocations_ = static_cast<double>(allocation_count() - before);
}

const std::vector<Kind>& kinds() {
    static const std::vector<Kind> all = {
        {"float_units", float_units, 0},
        {"float_76g", float_76g, 0},
        {"double", double_column, 0},
        {"int_5ld", int_column, 0},
        {"trigger_units", trigger_units, 0},
        {"static_picklist", static_picklist, 0},
        {"trigger_picklist", trigger_picklist, 0},
        {"remote_label_10", remote_label, 10},
        {"remote_label_100", remote_label, 100},
        {"remote_label_1000", remote_label, 1000},
        {"row_template", row_template, 0},
        {"row_template_plain", row_template_plain, 0},
        {"remote_references", remote_references, 0},
        {"trigger_cases_2000", trigger_cases, 2000},
        {"date_time", date_time, 0},
        {"plain_string", plain_string, 0},
        {"system_variable", system_variable, 0},
    };
    return all;
}

Fixture& fixture_for(const Kind& kind, int cells) {
    static std::map<std::pair<std::string, int>, std::unique_ptr<Fixture>> built;
    auto& slot = built[{kind.name, cells}];
    if (!slot) {
        slot = kind.make(cells, kind.parameter);
        slot->finish(cells);
    }
    return *slot;
}

}  // namespace kqbench
