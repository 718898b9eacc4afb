// Host implementation of table storage. Not part of the target platform:
// tools and tests use it to build the tables the library reads.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "kq_host_packed_texts.h"
#include "kw_table.h"

namespace kqhost {

// Metadata of one column. Defaults are those of a column the configuration
// does not describe.
struct ColumnDef {
    std::string name;
    int type = 15;
    std::string us_format;
    std::string units;
    std::string units_us;
    int is_date_time = 0;
    std::string label_col;
    std::string component_sel;
    std::string internal_name;  // empty: the column's name
};

// Columns with metadata and rows of cells, stored by type code as the
// target stores them (32-bit integers, single and double floats, bytes,
// text). Every read is defined: out-of-range cells read as 0 / "".
//
// Values may come on demand: with a column loader set, a column's values
// are asked for just before the first read of one of its cells, so a tool
// can keep in memory only the columns (and rows) that are read.
class TableData {
public:
    // Stores the values of `column` (every row, or those it chooses) into
    // `table`, then calls table.mark_loaded for them.
    using ColumnLoader = std::function<void(TableData& table, int column)>;

    explicit TableData(std::string name = "");

    const std::string& name() const { return name_; }
    int add_column(const ColumnDef& def);
    int column_count() const { return static_cast<int>(defs_.size()); }
    const ColumnDef* column(int column) const;
    ColumnDef* column(int column);

    int row_count() const { return rows_; }
    void set_row_count(int rows);
    int append_row();

    // Stores a value given in one of the configuration database's storage
    // classes, converted by the column's type code.
    void store_integer(int column, int row, long long value);
    void store_real(int column, int row, double value);
    void store_text(int column, int row, const std::string& value);
    void store_null(int column, int row);

    // Reads. Out-of-range column or row gives 0, the empty string or byte 0.
    void read(int column, int row, std::string& out) const;
    void read(int column, int row, long& out) const;
    void read(int column, int row, unsigned long& out) const;
    void read(int column, int row, char& out) const;
    void read(int column, int row, float& out) const;
    void read(int column, int row, double& out) const;

    // Sets the loader of values not stored yet; every column counts as not
    // loaded until mark_loaded or hold_rows says otherwise.
    void set_column_loader(ColumnLoader loader);
    // Marks every value of `column` as stored.
    void mark_loaded(int column);
    // Says, before they are stored, that only the values of `rows`
    // (ascending, distinct) of `column` will be: the column keeps room for
    // those rows alone, stores to other rows are dropped, and a read of
    // another row asks the loader for the whole column. A large table read
    // for a few rows thus holds a few values, not a slot per row.
    void hold_rows(int column, std::vector<int32_t> rows);
    // Drops the values of every column the loader can bring back, keeping
    // metadata and row count.
    void unload();

    // First column with exactly this name, -1 when none.
    int find_column(const std::string& name) const;

    // A deep copy of the values (and metadata), for a snapshot.
    std::shared_ptr<TableData> clone() const;

private:
    // The values of one column, in the vector its type uses: the 32-bit
    // pattern of a byte (in the low 8 bits), an integer or a float for the
    // type codes 1, 8, 9 and 12 (4 bytes a cell), doubles for 13, packed
    // texts for the others. A numeric vector grows to the row count at its
    // first store.
    // A sparse column holds the values of the rows in `rows` only, slot i
    // for rows[i]; otherwise slot r is row r.
    struct Values {
        std::vector<uint32_t> words;
        std::vector<double> doubles;
        PackedTexts texts;
        std::vector<int32_t> rows;
        bool sparse = false;
    };
    static constexpr size_t kNoSlot = static_cast<size_t>(-1);
    static size_t slot(const Values& v, int row) {
        return v.sparse ? sparse_slot(v, row) : static_cast<size_t>(row);
    }
    static size_t sparse_slot(const Values& v, int row);
    enum class Load : uint8_t { all, some, none };
    // The reads below run once per cell: they are defined here so that the
    // compiler can fold them into each read.
    bool in_range(int column, int row) const {
        return column >= 0 && column < column_count() && row >= 0 && row < rows_;
    }
    // Loads the column through the loader when the cell is not stored yet.
    void ensure(int column, int row) const {
        if (loader_ && loaded_[static_cast<size_t>(column)] != Load::all) load(column, row);
    }
    void load(int column, int row) const;
    // The stored word of a cell of type code 1, 8, 9 or 12, the double of
    // one of type code 13; 0 for a cell not stored.
    uint32_t word(int column, int row) const {
        ensure(column, row);
        const Values& v = values_[static_cast<size_t>(column)];
        const size_t at = slot(v, row);
        return at < v.words.size() ? v.words[at] : 0;
    }
    double wide(int column, int row) const {
        ensure(column, row);
        const Values& v = values_[static_cast<size_t>(column)];
        const size_t at = slot(v, row);
        return at < v.doubles.size() ? v.doubles[at] : 0;
    }
    static float as_float(uint32_t word) {
        float value;
        std::memcpy(&value, &word, sizeof value);
        return value;
    }
    std::string_view text(int column, int row) const;
    // Stores into the slot of a cell; a store to a row a sparse column does
    // not hold is dropped.
    void store_word(int column, int row, uint32_t word);
    void store_double(int column, int row, double value);
    void store_in_text(int column, int row, std::string_view text);
    // Storage representation of a column: the five numeric type codes are
    // kept as numbers, every other code (and a column out of range) as text.
    int stored_type(int column) const {
        if (column < 0 || column >= column_count()) return 15;
        const int type = defs_[static_cast<size_t>(column)].type;
        return type == 1 || type == 8 || type == 9 || type == 12 || type == 13 ? type : 15;
    }

    std::string name_;
    std::vector<ColumnDef> defs_;
    std::vector<Values> values_;  // [column]
    int rows_ = 0;
    ColumnLoader loader_;
    mutable std::vector<Load> loaded_;  // [column], with a loader; Load::some: sparse
};

class LiveTable;

// Registry of live tables by name, plus the system-variable catalog.
class MasterData {
public:
    // Registers a table under its name; an existing table of that name is
    // replaced.
    void add_table(std::shared_ptr<LiveTable> table);
    // Registers a live table over `data` under the data's name.
    void add_table(std::shared_ptr<TableData> data);
    LiveTable* find(const std::string& name) const;
    // The registered names, sorted.
    std::vector<std::string> table_names() const;

    void define_sys_var(const std::string& name, const std::string& display);
    const std::string* sys_var_display(const std::string& name) const;

private:
    // Hashed: a configuration can register many thousands of tables, and
    // every remote reference looks one up by name.
    std::unordered_map<std::string, std::shared_ptr<LiveTable>> tables_;
    std::map<std::string, std::string> sys_vars_;
};

// The platform's table classes on the host: views over TableData.
class LiveTable : public KWTABLE {
public:
    explicit LiveTable(std::shared_ptr<TableData> data) : data_(std::move(data)) {}
    TableData& data() const { return *data_; }

private:
    std::shared_ptr<TableData> data_;
};

class TableCopy : public KQ_TABLE_COPY {
public:
    explicit TableCopy(std::shared_ptr<TableData> data) : data_(std::move(data)) {}
    TableData& data() const { return *data_; }

private:
    std::shared_ptr<TableData> data_;
};

class MasterTable : public KW_MASTER_TABLE {
public:
    MasterTable() : data_(std::make_unique<MasterData>()) {}
    MasterData& data() const { return *data_; }

private:
    std::unique_ptr<MasterData> data_;
};

}  // namespace kqhost
