// Parsing the kqfmt command line.
#include "command_line.h"

#include "input_error.h"

namespace kqfmt {
namespace {

const char* const kUsage =
    "usage: kqfmt show DB [TABLE...] | kqfmt diff OLD NEW [TABLE...] | kqfmt explain FORMAT "
    "[--type CODE]; see kqfmt --help";

std::optional<Command> command_named(const std::string& word) {
    if (word == "show") return Command::show;
    if (word == "diff") return Command::diff;
    if (word == "explain") return Command::explain;
    return std::nullopt;
}

bool is_help(const std::string& arg) { return arg == "--help" || arg == "-h"; }

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
        if (name == "--debug" || name == "--json" || name == "--date-time") {
            if (equals != std::string::npos && !line.help)
                throw InputError(name + " takes no value");
            (name == "--debug" ? line.debug : name == "--json" ? line.json : line.date_time) = true;
            used.push_back(name);
            continue;
        }
        if (name != "--columns" && name != "--rows" && name != "--initial" && name != "--type") {
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
    if (line.help) return line;

    if (words.empty()) throw InputError(std::string("no command given (") + kUsage + ")");
    if (!line.command)
        throw InputError("unknown command '" + words[0] + "' (expected show, diff or explain)");
    const bool explain = *line.command == Command::explain;
    for (const std::string& name : used) {
        const bool explain_only = name == "--type" || name == "--date-time";
        if (name != "--json" && explain_only != explain)
            throw InputError(name +
                             (explain ? " does not apply to explain" : " applies to explain only"));
    }
    if (explain) {
        if (words.size() != 2)
            throw InputError("explain needs one format string: kqfmt explain FORMAT [--type CODE]");
        line.format = words[1];
        return line;
    }
    std::size_t first_table = 0;
    if (*line.command == Command::show) {
        if (words.size() < 2) throw InputError("show needs a database: kqfmt show DB [TABLE...]");
        line.db = words[1];
        first_table = 2;
    } else {
        if (words.size() < 3)
            throw InputError("diff needs two databases: kqfmt diff OLD NEW [TABLE...]");
        line.old_db = words[1];
        line.db = words[2];
        first_table = 3;
    }
    line.tables.assign(words.begin() + static_cast<std::ptrdiff_t>(first_table), words.end());
    return line;
}

}  // namespace kqfmt
