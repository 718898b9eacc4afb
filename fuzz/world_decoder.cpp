#include "world_decoder.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace kqfuzz {
namespace {

using kqhost::ColumnDef;
using kqhost::TableData;

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

// A decimal number, clamped to [lo, hi]; `fallback` when the text holds none.
long long number(std::string_view text, long long lo, long long hi, long long fallback) {
    const std::string s(text);
    char* end = nullptr;
    const long long value = std::strtoll(s.c_str(), &end, 10);
    if (end == s.c_str()) return fallback;
    return std::clamp(value, lo, hi);
}

std::string field(const std::vector<std::string_view>& fields, std::size_t i) {
    return i < fields.size() ? std::string(fields[i]) : std::string();
}

KQ_CELL_LIST cells_of(std::string_view rows, const std::string& initial) {
    KQ_CELL_LIST cells;
    if (rows.empty()) return cells;
    for (std::string_view item : split(rows, ',')) {
        if (cells.size() == kMaxCellsPerRequest) break;
        // Rows are never negative (a caller's promise); anything up to the
        // largest 32-bit row may be asked for, far past every row count.
        const auto row = static_cast<int32_t>(number(item, 0, INT32_MAX, 0));
        cells.push_back({row, initial});
    }
    return cells;
}

struct Request {
    char sides;  // 'Q' both, 'A' old only, 'B' new only
    int32_t column;
    std::string rows;
};

}  // namespace

std::unique_ptr<World> decode_world(const uint8_t* data, std::size_t size) {
    auto world = std::make_unique<World>();
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    std::vector<std::shared_ptr<TableData>> tables;
    std::shared_ptr<TableData> local;
    int snapshot_rows = -1;                                // -1: as many as the local table
    std::vector<std::vector<std::string>> snapshot_cells;  // row, column, value
    std::vector<Request> requests;
    std::string initial;
    bool no_snapshot = false;

    for (std::string_view line : split(text, '\n')) {
        if (line.empty()) continue;
        const char kind = line[0];
        const std::vector<std::string_view> f = split(line.substr(1), '\t');
        TableData* current = tables.empty() ? nullptr : tables.back().get();
        switch (kind) {
            case 'T':
                if (tables.size() < kMaxTables)
                    tables.push_back(std::make_shared<TableData>(field(f, 0)));
                break;
            case 'C': {
                if (current == nullptr || current->column_count() >= int(kMaxColumns)) break;
                ColumnDef def;
                def.name = field(f, 0);
                def.type = static_cast<int>(number(field(f, 1), INT32_MIN, INT32_MAX, 15));
                def.us_format = field(f, 2);
                def.units = field(f, 3);
                def.units_us = field(f, 4);
                def.is_date_time = static_cast<int>(number(field(f, 5), INT32_MIN, INT32_MAX, 0));
                def.label_col = field(f, 6);
                def.component_sel = field(f, 7);
                def.internal_name = field(f, 8);
                current->add_column(def);
                break;
            }
            case 'R': {
                if (current == nullptr || current->row_count() >= kMaxRows) break;
                const int row = current->append_row();
                for (std::size_t c = 0; c < f.size() && c < kMaxColumns; ++c)
                    current->store_text(static_cast<int>(c), row, std::string(f[c]));
                break;
            }
            case 'O': snapshot_rows = static_cast<int>(number(field(f, 0), 0, kMaxRows, 0)); break;
            case 'P': snapshot_cells.push_back({field(f, 0), field(f, 1), field(f, 2)}); break;
            case 'V': world->master.data().define_sys_var(field(f, 0), field(f, 1)); break;
            case 'Q':
            case 'A':
            case 'B':
                if (requests.size() < kMaxRequests)
                    requests.push_back(
                        {kind, static_cast<int32_t>(number(field(f, 0), INT32_MIN, INT32_MAX, 0)),
                         field(f, 1)});
                break;
            case 'I': initial = std::string(line.substr(1)); break;
            case 'D': world->debug = true; break;
            case 'Z': no_snapshot = true; break;
            default: break;
        }
    }

    if (tables.empty()) tables.push_back(std::make_shared<TableData>("LOCAL"));
    local = tables.front();
    // Registered in order: a later table of the same name replaces an
    // earlier one in the master, as the host's registry does.
    for (const auto& table : tables) {
        auto live = std::make_shared<kqhost::LiveTable>(table);
        if (table == local) world->local = live;
        world->master.data().add_table(std::move(live));
    }

    if (!no_snapshot) {
        std::shared_ptr<TableData> old = local->clone();
        if (snapshot_rows >= 0) old->set_row_count(snapshot_rows);
        for (const auto& cell : snapshot_cells)
            old->store_text(static_cast<int>(number(cell[1], -1, kMaxColumns, -1)),
                            static_cast<int>(number(cell[0], -1, kMaxRows, -1)), cell[2]);
        world->snapshot = std::make_shared<kqhost::TableCopy>(std::move(old));
    }

    for (const Request& request : requests) {
        KQ_CELL_LIST cells = cells_of(request.rows, initial);
        if (request.sides != 'B')
            world->old_columns.push_back({request.column, no_snapshot ? KQ_CELL_LIST() : cells});
        if (request.sides != 'A') world->new_columns.push_back({request.column, cells});
    }
    return world;
}

}  // namespace kqfuzz
