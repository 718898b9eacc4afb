// The small world kqfmt explain runs the library's own operations in: a
// scratch table holding the explained column (and, for a trigger
// dependency, a trigger column whose values put each case in force), and a
// probe that collects the library's debug lines, which name the tables and
// columns it looks for.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "kq_format_data.h"
#include "kq_log.h"

class KWTABLE;
class KQ_TABLE_COPY;
class KW_MASTER_TABLE;

namespace kqfmt {

// One case of a trigger dependency and the scratch row in which the
// trigger column holds its value.
struct ScratchCase {
    std::string name;       // as written between "[" and "]"
    int row = 0;            // row whose trigger value stands for this case
    bool in_force = false;  // the library finds this case in force at `row`
};

// A table "EXPLAIN" with the explained column and, when the format names
// a trigger column ("@NAME{"), that column too. The trigger column is a
// string column whose format gives every case its own value; row k holds
// the value of case k and one further row a value no case has.
class ScratchTable {
public:
    ScratchTable(const std::string& format, int type, bool date_time);

    KWTABLE* live() { return live_.get(); }
    KQ_TABLE_COPY* snapshot() { return snapshot_.get(); }
    long column() const { return column_; }

    bool has_trigger() const { return has_trigger_; }
    const std::string& trigger_column() const { return trigger_name_; }
    const std::vector<ScratchCase>& cases() const { return cases_; }
    int no_case_row() const { return no_case_row_; }  // a row with no case in force

private:
    std::shared_ptr<KWTABLE> live_;
    std::shared_ptr<KQ_TABLE_COPY> snapshot_;
    long column_ = 0;
    bool has_trigger_ = false;
    std::string trigger_name_;
    std::vector<ScratchCase> cases_;
    int no_case_row_ = 0;
};

// Collects the messages of every log record while alive, with DebugLevel
// set; restores the sink and DebugLevel afterwards.
class LogProbe {
public:
    LogProbe();
    ~LogProbe();
    LogProbe(const LogProbe&) = delete;
    LogProbe& operator=(const LogProbe&) = delete;

    const std::vector<std::string>& messages() const { return *messages_; }
    // The rest of every message that starts with `prefix`, in order.
    std::vector<std::string> after_prefix(const std::string& prefix) const;

private:
    std::shared_ptr<std::vector<std::string>> messages_;
    kqhost::LogSink previous_;
    unsigned char previous_level_;
};

// A remote reference as the library's remote pick list scanner hands it
// on: the table name and, when the library names it, the column.
struct RemoteReference {
    std::string table;
    std::string column;
    bool column_known = false;
    int row = -1;  // row template: the local row this reference serves; -1 otherwise
};

// Runs the library's remote pick list scanner on `text` for a column of
// `type` (two requested rows, 0 and 1, on both sides) in worlds where the
// tables it asks for exist without columns, and returns the references it
// took, in order.
std::vector<RemoteReference> remote_references(const std::string& text, int type);

}  // namespace kqfmt
