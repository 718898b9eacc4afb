// A second implementation of the platform the library calls: every call is
// written, in order, to one call log, and the tables are plain rows of text.
// It exists to show that the library builds and runs against any platform
// behind the seam, and to let a test see the order of the calls a real
// platform would observe.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "kw_table.h"

namespace kqrec {

// One column: its metadata and its cells as text (numbers are parsed from
// the text when read through a numeric overload).
struct Column {
    std::string name;
    int type = 15;
    std::string format;
    std::string label_col;
    std::vector<std::string> cells;
};

// The calls made so far, one line each: "T.get(0,1)", "old.GetNumRows", ...
std::vector<std::string>& call_log();

class Table : public KWTABLE {
public:
    Table(std::string name, std::vector<Column> columns)
        : name(std::move(name)), columns(std::move(columns)) {}
    std::string name;
    std::vector<Column> columns;
};

class Snapshot : public KQ_TABLE_COPY {
public:
    Snapshot(std::string name, std::vector<std::vector<std::string>> cells)
        : name(std::move(name)), cells(std::move(cells)) {}
    std::string name;
    std::vector<std::vector<std::string>> cells;  // [column][row]
};

class Master : public KW_MASTER_TABLE {
public:
    std::map<std::string, Table*> tables;
};

}  // namespace kqrec
