// Resolving the printf specifier a numeric column's format gives for a row.
// The floating-point and integer columns share one algorithm; they differ
// in the keyword, the conversion letters of the bare forms and whether the
// "__DEBUG_WRITABLE__" marker is cut from a bare specifier.
#pragma once

#include <string>

#include "core/formatter.h"

namespace kq {

struct SpecifierSyntax {
    const char* keyword;      // "float(" / "int(" form
    char bare_letter;         // conversion letter of the first bare form
    char fallback_letter;     // tried only when the format has no bare_letter at all
    bool cut_debug_writable;  // cut the first bare form before "__DEBUG_WRITABLE__"
};

constexpr SpecifierSyntax kFloatSyntax{"float", 'g', 'f', true};
constexpr SpecifierSyntax kIntSyntax{"int", 'd', 'u', false};

// Deepest remote format reference followed: the column's own format is
// level 0, so a chain may borrow at most this many times.
constexpr int kMaxRemoteDepth = 8;

// Stores the specifier of `format` for `row` in `specifier` and returns 1,
// or returns 0 and leaves `specifier` as it was. `table` is the live table
// (trigger values, remote references); `depth` is the level of `format`.
// An empty format (also one reached through a remote reference) raises
// std::out_of_range.
int resolve_specifier(kq::Formatter& formatter, const SpecifierSyntax& syntax,
                      const std::string& format, KWTABLE* table, long row, std::string& specifier,
                      int depth);

// The same for a trigger-dependency `format` whose case in force for `row`
// is already known (`caseName`, empty when none is). Sets `remote` when the
// answer needed a remote format reference: such an answer depends on other
// tables, and asking for it again repeats their look-ups; any other answer
// depends only on the format and the case name.
int resolve_specifier_for_case(kq::Formatter& formatter, const SpecifierSyntax& syntax,
                               const std::string& format, const std::string& caseName,
                               KWTABLE* table, long row, std::string& specifier, bool& remote);
// The same when the first occurrence of the case name in `format` is known:
// `caseAt` (npos when the name does not occur).
int resolve_specifier_at_case(kq::Formatter& formatter, const SpecifierSyntax& syntax,
                              const std::string& format, std::string::size_type caseAt,
                              KWTABLE* table, long row, std::string& specifier, bool& remote);

}  // namespace kq
