// Help texts.
#include "commands/help_text.h"

namespace kqfmt {
namespace {

const char* const kOptions =
    "Options (anywhere on the line; --name=VALUE works too):\n"
    "  --columns LIST  columns by name or 0-based number, comma-separated\n"
    "                  (an item of digits only is a number); default: all\n"
    "  --rows LIST     row numbers and inclusive ranges, e.g. 0,3,5-9; the same\n"
    "                  rows are asked from both views, also rows past a view's\n"
    "                  row count; default: every row of each view\n"
    "  --initial TEXT  value every cell holds before formatting; default empty\n"
    "  --debug         turn on the library's debug lines (DebugLevel 1)\n"
    "  --no-progress   no progress line on standard error (shown only when it is a\n"
    "                  terminal and the output is not, after about a second)\n"
    "  --format F      grid (default), json, csv, tsv or markdown; diff also html\n"
    "                  (a self-contained review page: kqfmt diff OLD NEW --format\n"
    "                  html > review.html)\n"
    "  --json          short for --format json\n"
    "  --color=WHEN    auto (default: only on a terminal, TERM not dumb, NO_COLOR\n"
    "                  unset), always or never\n"
    "  --width N       grid width (default: the terminal's, else unlimited);\n"
    "                  wider cells are cut with \xE2\x80\xA6\n"
    "  --exit-code     diff: exit 1 when any cell, row or table differs, a cell is\n"
    "                  shown differently or a definition or catalog entry changed\n"
    "  --changed       diff: only the rows (in the grid also the columns) that differ\n"
    "                  and the tables with any change\n"
    "  --stat          diff: one summary line per table and a total\n"
    "  --context N     diff: only changed rows and N rows around each (grid and\n"
    "                  html; a review page of a large table keeps 3 by itself)\n"
    "  --strict        lint: warnings count like errors for the exit status\n"
    "  --ignore RULES  lint: comma-separated rule names not to report\n"
    "  --version       the version of kqfmt and of the library\n"
    "  -h, --help      show help (kqfmt show --help, kqfmt diff --help)\n";

const char* const kDatabases =
    "A database is an SQLite file, or an SQL script (name ending in .sql) that\n"
    "is run into an in-memory database; \"-\" reads either from standard input.\n"
    "A file must be a whole SQLite database (it is checked first and opened\n"
    "read-only); a script is text of at most 256 MiB.\n"
    "kqfmt schema prints the tables a configuration database starts with.\n";

const char* const kExit =
    "Exit status: 0 success; 1 differences found (diff --exit-code) or errors\n"
    "found (lint; with --strict also warnings); 2 bad input\n"
    "or usage, a failed write to standard output or lack of memory (one line on\n"
    "standard error, nothing on standard output); 3 a table's formatting raised\n"
    "an error (its cells show what was written before it; other tables are\n"
    "still formatted; explain: the format raised one).\n";

}  // namespace

std::string help_text(std::optional<Command> command) {
    std::string text;
    if (!command) {
        text =
            "kqfmt - show the display strings the formatter library makes of the\n"
            "tables of a configuration database\n"
            "\n"
            "Usage:\n"
            "  kqfmt show DB [TABLE...]        old and live view both from DB\n"
            "  kqfmt diff OLD NEW [TABLE...]   old view from OLD, live view from NEW\n"
            "  kqfmt lint DB [TABLE...]        configuration problems, one per line\n"
            "  kqfmt explain FORMAT [--type CODE] [--date-time]\n"
            "                                  how a column with this format is shown\n"
            "  kqfmt explain DB TABLE COLUMN   how a column of DB is shown, and why\n"
            "  kqfmt schema                    CREATE statements of an empty configuration\n"
            "                                  database (kqfmt schema | sqlite3 my.db)\n"
            "\n"
            "Without TABLE names every configuration table is shown, in name order.\n\n";
        text += kDatabases;
        text += "\n";
        text += kOptions;
        text += "\n";
        text += kExit;
        return text;
    }
    if (*command == Command::schema)
        return "Usage: kqfmt schema\n"
               "\n"
               "Prints the CREATE statements of the catalog tables of an empty configuration\n"
               "database (kq_columns, kq_units, kq_sysvars, kq_lint_ignore), so that\n"
               "  kqfmt schema | sqlite3 my.db\n"
               "starts one; add your own tables and describe their columns in kq_columns.\n";
    if (*command == Command::explain) {
        return "Usage: kqfmt explain FORMAT [--type CODE] [--date-time] [--json]\n"
               "       kqfmt explain DB TABLE COLUMN [--json]\n"
               "\n"
               "Tells which formatter the library hands a column with this format string\n"
               "and data type code (default 15, string) and why: every test it makes, in\n"
               "its order, with the positions of the texts that decided it. Then what that\n"
               "formatter reads from the format: the printf specifier (per case for a\n"
               "trigger dependency, with the unit each case names after \"UNIT=\"), the\n"
               "time format, the pick list's value-to-name pairs, or the remote references\n"
               "the scanner takes. Everything is worked out by the library's own tests and\n"
               "parsers on a scratch table; remote tables are not available, so only their\n"
               "names are shown.\n"
               "\n"
               "With DB TABLE COLUMN the column of the real configuration is formatted the\n"
               "same way: the tests and what was read (remote tables, trigger values, per\n"
               "case specifiers and units), then the first rows' stored values with what\n"
               "the old and the live view show, and the column's lint findings.\n"
               "\n"
               "  --type CODE   the column's data type code: 1 byte, 8 unsigned and 9 signed\n"
               "                32-bit integer, 12 float, 13 double, 15 string\n"
               "  --date-time   the table flags the column as date/time\n"
               "  --json        print one JSON object instead of text\n"
               "\n"
               "A format that begins with \"-\" follows \"--\": kqfmt explain -- -FORMAT\n"
               "\n"
               "Examples:\n"
               "  kqfmt explain '%d of N'\n"
               "  kqfmt explain '@MODE{[Off]float(%.1f)UNIT=degC),[On]float(%.3f)UNIT=K)}' --type "
               "12\n"
               "  kqfmt explain 'Off(0),On(1)' --type 9\n"
               "  kqfmt explain examples/analyser.sql STREAMS valve\n";
    }
    if (*command == Command::lint)
        return "Usage: kqfmt lint DB [TABLE...] [--strict] [--ignore RULES] [--debug] [--json]\n"
               "\n"
               "Formats every row of every configured column of DB through the library's\n"
               "trace and reports what would go wrong on the plant's screen, one finding\n"
               "a line:\n"
               "  TABLE.COLUMN: error|warning: [row N] message [rule]\n"
               "then a summary line. Findings: a format no formatter accepts; a specifier\n"
               "the library refuses or a numeric format without one; remote references to\n"
               "tables, columns or label columns that do not exist, and per-row references\n"
               "to rows that do not; pick lists with empty or conflicting entries, and\n"
               "stored values without a display name; units the unit table does not know\n"
               "or cannot convert, units on columns that do not use them; system variables\n"
               "without a display name; and the traps the library formats without a word:\n"
               "trigger columns that do not exist or have no pick list, case names the\n"
               "trigger's list lacks, label columns and component selections that are\n"
               "never read, conversions between units of different quantities, date/time\n"
               "flags the format overrides, formats that cannot print the column's type,\n"
               "remote pick lists that read no reference. Then every record the library\n"
               "logs meanwhile (with --debug also its debug lines). The same fault on\n"
               "several rows is one finding with the first row and a count.\n"
               "docs/lint-rules.md lists the rules; the table kq_lint_ignore(table_name,\n"
               "column_name, rule) silences a rule on a column (NULL column: the table;\n"
               "NULL rule: all).\n"
               "\n"
               "  --strict        warnings count like errors for the exit status\n"
               "  --ignore RULES  comma-separated rule names not to report\n"
               "  --debug         the library's debug lines become findings too\n"
               "  --json          a JSON list of {table, column, severity, row, more_rows,\n"
               "                  message, rule}\n"
               "\n"
               "Exit status: 0 no errors (warnings alone: 0); 1 errors found (with\n"
               "--strict also warnings); 2 bad input or usage.\n"
               "\n"
               "Example:\n"
               "  kqfmt lint examples/analyser_broken.sql\n";
    if (*command == Command::show) {
        text =
            "Usage: kqfmt show DB [TABLE...] [options]\n"
            "\n"
            "Formats the tables of DB, reading both the old and the live view from\n"
            "DB. A cell shown as \"old \xE2\x86\x92 new\" is one the library formats\n"
            "differently for the two views. Log lines go to standard error.\n\n";
        text += kDatabases;
        text +=
            "\n"
            "Example:\n"
            "  kqfmt show examples/analyser.sql STREAMS --columns name,temperature --rows 0-2\n"
            "  kqfmt show examples/analyser.sql VALVES --json --debug\n";
    } else {
        text =
            "Usage: kqfmt diff OLD NEW [TABLE...] [options]\n"
            "\n"
            "Formats the tables of NEW with their previous values from OLD. Metadata,\n"
            "remote tables, units and system variables all come from NEW; the old\n"
            "view of a table is the table of the same name in OLD, its columns\n"
            "matched by position (no rows when OLD lacks the table). A changed cell\n"
            "shows \"old \xE2\x86\x92 new\", a row only the live view has \"+ new\", a row\n"
            "only the old view has \"- old\". OLD is also formatted by itself, as show\n"
            "would: a cell with the same value that it showed otherwise reads\n"
            "\"before \xE2\x87\x92 new\"; changed definitions are listed under the table's\n"
            "title, changed catalog entries on top, and a table only in OLD is shown\n"
            "as removed.\n\n";
        text += kDatabases;
        text +=
            "\n"
            "Example:\n"
            "  kqfmt diff examples/analyser_previous.sql examples/analyser.sql STREAMS VALVES\n"
            "  kqfmt diff examples/analyser_previous.sql examples/analyser.sql --format html "
            "> review.html\n"
            "\n"
            "The review page (--format html) is one HTML file with nothing to fetch and no\n"
            "script: what lint finds in NEW, then per table the cells changed and rows\n"
            "added and removed, and the grid with changed cells marked old \xE2\x86\x92 new. Its\n"
            "\"Show only changed rows\" box (or \"#changed\" at the end of its address)\n"
            "hides the rest; it prints as it shows.\n";
    }
    text += "\n";
    text += kOptions;
    text += "\n";
    text += kExit;
    return text;
}

}  // namespace kqfmt
