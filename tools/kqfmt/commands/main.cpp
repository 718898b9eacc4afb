// kqfmt: loads a configuration database and prints what the formatter
// library makes of its tables, as a grid or as JSON.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "commands/command_line.h"
#include "commands/explain.h"
#include "commands/explain_column.h"
#include "commands/help_text.h"
#include "commands/huge_pages.h"
#include "commands/lint_command.h"
#include "commands/schema_text.h"
#include "commands/show_diff.h"
#include "input/input_error.h"
#include "report/output.h"
#include "report/progress.h"
#include "text/json_text.h"
#include "text/utf8_text.h"

namespace kqfmt {
namespace {

int run(int argc, char** argv, Output& out) {
    const CommandLine line = parse_command_line(std::vector<std::string>(argv + 1, argv + argc));
    // A large run starts again here, before anything is read.
#ifdef KQFMT_HUGE_PAGE_RESTART
    if (line.command == Command::show || line.command == Command::diff ||
        line.command == Command::lint)
        restart_with_huge_pages(argv, {line.old_db, line.db});
#endif
    progress::enable(!line.no_progress);
    if (line.help) {
        out << help_text(line.command);
        out.flush();
        return 0;
    }
    if (line.version) {
        out << "kqfmt " KQ_VERSION " (kqformat library " KQ_VERSION ")\n";
        out.flush();
        return 0;
    }
    if (line.command == Command::schema) {
        out << schema_text();
        out.flush();
        return 0;
    }
    if (line.command == Command::explain && !line.db.empty()) {
        const nlohmann::ordered_json document = explain_column(line);
        out << (line.json ? to_json_text(document) : explain_text(document));
        out.flush();
        return document.contains("error") ? kExitFormatError : 0;
    }
    if (line.command == Command::explain) {
        g_doing = "explaining the format";
        const nlohmann::ordered_json document =
            explain_format({line.format, line.type, line.date_time});
        out << (line.json ? to_json_text(document) : explain_text(document));
        out.flush();
        return document.contains("error") ? kExitFormatError : 0;
    }

    if (line.command == Command::lint) return lint_command(line, out);
    return show_or_diff(line, out);
}

void report(const std::string& message) {
    progress::clear();
    const std::string text = "kqfmt: " + message_text(message) + "\n";
    std::fwrite(text.data(), 1, text.size(), stderr);
}

}  // namespace
}  // namespace kqfmt

int main(int argc, char** argv) {
    using namespace kqfmt;
    // With standard output closed, a file the tool opens could take its
    // place; refuse before opening anything.
    if (::fcntl(STDOUT_FILENO, F_GETFD) == -1) {
        std::fputs("kqfmt: cannot write to standard output: it is closed\n", stderr);
        return kExitTrouble;
    }
    Output out(STDOUT_FILENO);
    try {
        const int status = run(argc, argv, out);
        progress::clear();
        return status;
    } catch (const InputError& e) {
        report(e.message());
    } catch (const std::bad_alloc&) {
        // No new text is made here: memory has just run out.
        progress::clear();
        std::fputs("kqfmt: out of memory while ", stderr);
        std::fputs(g_doing.c_str(), stderr);
        std::fputs("; ask for fewer tables, columns or rows\n", stderr);
    } catch (const std::exception& e) {
        report(std::string("internal error while ") + g_doing + ": " + e.what());
    }
    return kExitTrouble;
}
