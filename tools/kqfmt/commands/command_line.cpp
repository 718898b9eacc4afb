// Parsing the kqfmt command line.
#include "commands/command_line.h"

#include <algorithm>

#include "input/input_error.h"

namespace kqfmt {
namespace {

const char* const kUsage =
    "usage: kqfmt show DB [TABLE...] | kqfmt diff OLD NEW [TABLE...] | kqfmt lint DB [TABLE...] | "
    "kqfmt explain FORMAT [--type CODE] | kqfmt explain DB TABLE COLUMN | kqfmt schema; see kqfmt "
    "--help";

std::optional<Command> command_named(const std::string& word) {
    if (word == "show") return Command::show;
    if (word == "diff") return Command::diff;
    if (word == "lint") return Command::lint;
    if (word == "explain") return Command::explain;
    if (word == "schema") return Command::schema;
    return std::nullopt;
}

bool is_help(const std::string& arg) { return arg == "--help" || arg == "-h"; }

// Flags without a value, and the commands they belong to (names separated
// by blanks, or "*" for every command but schema).
struct Flag {
    const char* name;
    const char* scope;
};
const Flag kFlags[] = {
    {"--debug", "show diff lint"}, {"--json", "*"},       {"--date-time", "explain"},
    {"--exit-code", "diff"},       {"--changed", "diff"}, {"--stat", "diff"},
    {"--strict", "lint"},          {"--version", "*"},    {"--no-progress", "show diff lint"}};
// Options that take a value, with their scope.
const Flag kValued[] = {
    {"--columns", "show diff"}, {"--rows", "show diff"}, {"--initial", "show diff"},
    {"--type", "explain"},      {"--format", "*"},       {"--color", "show diff"},
    {"--width", "show diff"},   {"--context", "diff"},   {"--ignore", "lint"}};

const Flag* find_flag(const Flag* begin, const Flag* end, const std::string& name) {
    for (const Flag* flag = begin; flag != end; ++flag)
        if (name == flag->name) return flag;
    return nullptr;
}

std::optional<OutputFormat> format_named(const std::string& word) {
    if (word == "grid") return OutputFormat::grid;
    if (word == "json") return OutputFormat::json;
    if (word == "csv") return OutputFormat::csv;
    if (word == "tsv") return OutputFormat::tsv;
    if (word == "markdown") return OutputFormat::markdown;
    if (word == "html") return OutputFormat::html;
    return std::nullopt;
}

// True for an argument that reads as an option ("-x", "--x"); a lone "-"
// is an ordinary argument.
bool looks_like_option(const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; }

// A data type code: decimal digits, at most nine of them.
bool parse_type(const std::string& text, int& type) {
    if (text.empty() || text.size() > 9) return false;
    type = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        type = type * 10 + (c - '0');
    }
    return true;
}

}  // namespace

CommandLine parse_command_line(const std::vector<std::string>& args) {
    CommandLine line;
    std::vector<std::string> words;  // positional arguments, in order
    std::vector<std::string> used;   // options given, by name

    // --help wins over everything else on the line, also over mistakes.
    for (const std::string& arg : args) {
        if (arg == "--") break;
        if (is_help(arg)) line.help = true;
    }

    bool options_done = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (options_done || !looks_like_option(arg)) {
            words.push_back(arg);
            continue;
        }
        if (arg == "--") {
            options_done = true;
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        if (is_help(name) && equals == std::string::npos) continue;
        if (find_flag(std::begin(kFlags), std::end(kFlags), name)) {
            if (equals != std::string::npos && !line.help)
                throw InputError(name + " takes no value");
            bool& flag = name == "--debug"         ? line.debug
                         : name == "--date-time"   ? line.date_time
                         : name == "--exit-code"   ? line.exit_code
                         : name == "--changed"     ? line.changed
                         : name == "--stat"        ? line.stat
                         : name == "--strict"      ? line.strict
                         : name == "--version"     ? line.version
                         : name == "--no-progress" ? line.no_progress
                                                   : line.json;
            flag = true;
            if (name == "--json") line.output = OutputFormat::json;
            used.push_back(name);
            continue;
        }
        if (!find_flag(std::begin(kValued), std::end(kValued), name)) {
            if (line.help) continue;
            throw InputError("unknown option '" + name + "' (" + kUsage + ")");
        }
        std::string value;
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            if (line.help) continue;
            throw InputError(name + " needs a value");
        }
        if (line.help) continue;
        used.push_back(name);
        if (name == "--type") {
            if (!parse_type(value, line.type))
                throw InputError("--type: expected a data type code (digits), got '" + value + "'");
        } else if (name == "--initial") {
            line.initial = value;
        } else if (name == "--ignore") {
            // Comma-separated rule names; lint checks that each is a rule.
            line.ignore.clear();
            for (std::size_t at = 0; at <= value.size();) {
                const std::size_t comma = std::min(value.find(',', at), value.size());
                if (comma > at) line.ignore.push_back(value.substr(at, comma - at));
                at = comma + 1;
            }
        } else if (name == "--format") {
            const std::optional<OutputFormat> format = format_named(value);
            if (!format)
                throw InputError(
                    "--format: expected grid, json, csv, tsv, markdown or html, got '" + value +
                    "'");
            line.output = *format;
            line.json = *format == OutputFormat::json;
        } else if (name == "--color") {
            if (value == "auto")
                line.colour = ColourWhen::automatic;
            else if (value == "always")
                line.colour = ColourWhen::always;
            else if (value == "never")
                line.colour = ColourWhen::never;
            else
                throw InputError("--color: expected auto, always or never, got '" + value + "'");
        } else if (name == "--width") {
            int width = 0;
            if (!parse_type(value, width) || width < 20)
                throw InputError("--width: expected a number of columns, at least 20, got '" +
                                 value + "'");
            line.width = width;
        } else if (name == "--context") {
            int context = 0;
            if (!parse_type(value, context))
                throw InputError("--context: expected a number of rows, got '" + value + "'");
            line.context = context;
        } else if (name == "--rows") {
            RowList rows = parse_row_list(value);
            if (!rows.error.empty()) throw InputError("--rows: " + rows.error);
            line.rows = std::move(rows.rows);
        } else {
            ColumnList columns = parse_column_list(value);
            if (!columns.error.empty()) throw InputError("--columns: " + columns.error);
            line.columns = std::move(columns.items);
        }
    }

    if (!words.empty()) line.command = command_named(words[0]);
    if (line.help || line.version) return line;

    if (words.empty()) throw InputError(std::string("no command given (") + kUsage + ")");
    if (!line.command)
        throw InputError("unknown command '" + words[0] +
                         "' (expected show, diff, lint, explain or schema)");
    const Command command = *line.command;
    for (const std::string& name : used) {
        const Flag* flag = find_flag(std::begin(kFlags), std::end(kFlags), name);
        if (!flag) flag = find_flag(std::begin(kValued), std::end(kValued), name);
        const std::string scope = flag->scope;
        const bool fits =
            command != Command::schema &&
            (scope == "*" || (" " + scope + " ").find(" " + words[0] + " ") != std::string::npos);
        if (!fits)
            throw InputError(name + " does not apply to " + words[0] +
                             (scope == "*" ? "" : " (" + scope + " only)"));
    }
    if ((command == Command::explain || command == Command::lint) &&
        line.output != OutputFormat::grid && line.output != OutputFormat::json)
        throw InputError(words[0] + " prints text or JSON (--format grid or json)");
    if (command == Command::show && line.output == OutputFormat::html)
        throw InputError("--format html writes the review page of diff");
    if (line.stat && line.output != OutputFormat::grid)
        throw InputError(
            "--stat prints summary lines; the JSON of diff carries them as \"summary\"");
    if (line.context && line.output != OutputFormat::grid && line.output != OutputFormat::html)
        throw InputError("--context applies to the grid and to --format html");
    if (command == Command::schema) {
        if (words.size() != 1) throw InputError("schema takes no arguments: kqfmt schema");
        return line;
    }
    const bool explain = command == Command::explain;
    if (explain) {
        if (words.size() == 4) {
            for (const std::string& name : used)
                if (name == "--type" || name == "--date-time")
                    throw InputError(
                        name + " is for explain FORMAT; a column's type and flag come from DB");
            line.db = words[1];
            line.tables = {words[2]};
            line.column = words[3];
            return line;
        }
        if (words.size() != 2)
            throw InputError(
                "explain needs one format string or a column: kqfmt explain FORMAT [--type CODE] "
                "| kqfmt explain DB TABLE COLUMN");
        line.format = words[1];
        return line;
    }
    std::size_t first_table = 0;
    if (*line.command == Command::show || *line.command == Command::lint) {
        if (words.size() < 2)
            throw InputError(words[0] + " needs a database: kqfmt " + words[0] + " DB [TABLE...]");
        line.db = words[1];
        first_table = 2;
    } else {
        if (words.size() < 3)
            throw InputError("diff needs two databases: kqfmt diff OLD NEW [TABLE...]");
        line.old_db = words[1];
        line.db = words[2];
        first_table = 3;
        if (line.old_db == "-" && line.db == "-")
            throw InputError("diff can read only one of OLD and NEW from standard input ('-')");
    }
    line.tables.assign(words.begin() + static_cast<std::ptrdiff_t>(first_table), words.end());
    return line;
}

}  // namespace kqfmt
