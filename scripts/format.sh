#!/usr/bin/env bash
# Formats the project's own C++ sources with clang-format (style: .clang-format).
#
#   scripts/format.sh           reformat in place
#   scripts/format.sh --check   change nothing; list the files that would
#                               change and exit 1 if there are any
#   scripts/format.sh --list    print the files covered
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

mapfile -t files < <(find include platform src tools tests bench fuzz \
    -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' \) \
    2>/dev/null | LC_ALL=C sort)
if ((${#files[@]} == 0)); then
    echo "format: no sources found" >&2
    exit 1
fi

case "${1:-}" in
    "")
        clang-format -i "${files[@]}"
        echo "format: ${#files[@]} files formatted"
        ;;
    --list)
        printf '%s\n' "${files[@]}"
        ;;
    --check)
        bad=()
        for f in "${files[@]}"; do
            clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
        done
        if ((${#bad[@]} == 0)); then
            echo "format: OK (${#files[@]} files)"
            exit 0
        fi
        echo "format: ${#bad[@]} of ${#files[@]} files need clang-format (run scripts/format.sh):"
        printf '  %s\n' "${bad[@]}"
        # The first differences, to show what is meant.
        clang-format --dry-run "${bad[@]}" 2>&1 | head -40
        exit 1
        ;;
    *)
        echo "usage: $0 [--check|--list]" >&2
        exit 2
        ;;
esac
