// Colour and width decisions.
#include "report/terminal.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace kqfmt {

bool colour_wanted(ColourWhen when, bool stdout_is_terminal, const char* term,
                   const char* no_color) {
    if (when != ColourWhen::automatic) return when == ColourWhen::always;
    if (!stdout_is_terminal) return false;
    if (term && std::strcmp(term, "dumb") == 0) return false;
    return no_color == nullptr || *no_color == '\0';
}

bool colour_wanted(ColourWhen when) {
    return colour_wanted(when, ::isatty(STDOUT_FILENO) == 1, std::getenv("TERM"),
                         std::getenv("NO_COLOR"));
}

int grid_width(std::optional<int> requested) {
    if (requested) return *requested;
    if (::isatty(STDOUT_FILENO) != 1) return 0;
    winsize size{};
    if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
    return 0;
}

}  // namespace kqfmt
