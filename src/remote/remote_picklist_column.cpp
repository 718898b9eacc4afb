// Columns whose format string names remote pick lists. A scanner walks the
// format string, takes out every remote reference ("TABLE.COLUMN") and hands
// it to the reference parser, which either formats the column itself or adds
// names to one shared map; at the end every cell is looked up in that map.
//
// The markers "__no_free_edit__" and "__FILTER__" and "usage=" filter
// conditions carry meaning for other parts of the system; here they only
// delimit references. The remaining text is never copied: it is the format
// string from a start position that only moves forward, and every step
// either moves it forward or ends the scan, so any text terminates.

#include <string>
#include <utility>

#include "core/formatter.h"
#include "core/log_lines.h"
#include "core/text_search.h"
#include "remote/labels_by_value.h"
#include "remote/remote_reference.h"
#include "remote/row_template.h"

namespace kq {
namespace {

constexpr const char kSegmentEnd[] = "__no_free_edit__";
constexpr Pos kSegmentEndLength = sizeof(kSegmentEnd) - 1;
constexpr const char kFilter[] = "__FILTER__";
constexpr Pos kFilterLength = sizeof(kFilter) - 1;
// "usage=" is a filter condition on the column "usage": its "=" never
// introduces a reference.
constexpr const char kUsageCondition[] = "usage";
constexpr Pos kUsageLength = sizeof(kUsageCondition) - 1;

// Next occurrence of a fixed token, for search positions that never move
// backwards: the answer of the last search is reused while it still lies
// at or after the asked position, so the text is not searched over and over.
class TokenFinder {
public:
    TokenFinder(const std::string& text, const char* token) : text_(text), token_(token) {}

    Pos at_or_after(Pos from) {
        if (!searched_ || (found_ != kNone && found_ < from)) {
            found_ = kq::find_from(text_, token_, from);
            searched_ = true;
        }
        return found_;
    }

private:
    const std::string& text_;
    const char* token_;
    Pos found_ = kNone;
    bool searched_ = false;
};

// Last "=" in [begin, end); kNone when there is none. Bounded on the left so
// that text already left behind is not searched again.
Pos last_equals_in(const std::string& s, Pos begin, Pos end) {
    for (Pos i = end; i > begin; --i) {
        if (s[i - 1] == '=') return i - 1;
    }
    return kNone;
}

class RemoteReferenceScan {
public:
    RemoteReferenceScan(kq::Formatter& formatter, const std::string& format,
                        KQ_TABLE_COPY* oldTable, KWTABLE* newTable, long column,
                        KQ_CELL_LIST& oldCells, KQ_CELL_LIST& newCells, KQ_NAME_MAP& names)
        : fmt_(formatter),
          text_(format),
          old_table_(oldTable),
          new_table_(newTable),
          column_(column),
          old_cells_(oldCells),
          new_cells_(newCells),
          names_(names),
          segment_ends_(format, kSegmentEnd),
          filters_(format, kFilter),
          commas_(format, ","),
          braces_(format, "}"),
          equals_(format, "=") {}

    // Parses every reference of the text. Returns 1 when every parsed
    // reference succeeded, else 0.
    int run() {
        while (begin_ < text_.size()) {
            Pos at = segment_ends_.at_or_after(begin_);
            if (at != kNone) {
                segment_step(at);
                continue;
            }
            bool go_on;
            if ((at = commas_.at_or_after(begin_)) != kNone)
                go_on = comma_step(at);
            else if ((at = braces_.at_or_after(begin_)) != kNone)
                go_on = brace_step(at);
            else
                go_on = equals_step();
            if (!go_on) break;
        }
        return result_;
    }

    // How many references the scan handed on.
    int references() const { return references_; }

private:
    // A "usage=" condition: the five characters before the "=" at `equals`,
    // all inside the text that starts at `begin`.
    bool usage_condition(Pos equals, Pos begin) const {
        return equals >= begin + kUsageLength && kq::preceded_by(text_, equals, kUsageCondition);
    }

    // A reference without "." is not one (a static item, a filter value).
    void parse(Pos from, Pos to) {
        if (to > from) parse(kq::between(text_, from, to));
    }
    void parse(const std::string& reference) {
        if (!kq::contains(reference, '.')) return;
        ++references_;
        RemoteOutcome outcome;
        if (!kq::parse_remote_reference(fmt_, reference, names_, old_table_, new_table_, column_,
                                        old_cells_, new_cells_, options_, outcome))
            result_ = 0;
    }

    // The text before the next "__no_free_edit__" is one segment; the scan
    // goes on after the marker.
    void segment_step(Pos segment_end) {
        const Pos filter = filters_.at_or_after(begin_);
        if (filter != kNone && filter + kFilterLength <= segment_end)
            filter_passes(segment_end);
        else
            reference_of_segment(segment_end);
        begin_ = segment_end + kSegmentEndLength;
    }

    // In a segment with filters, a reference runs from the last "=" before a
    // "__FILTER__" up to it (an opening "(" right before the marker is not
    // part of it); the condition after the marker is never a reference.
    void filter_passes(Pos segment_end) {
        Pos begin = begin_;
        for (;;) {
            const Pos filter = filters_.at_or_after(begin);
            if (filter == kNone || filter + kFilterLength > segment_end) return;
            const Pos equals = last_equals_in(text_, begin, filter + 1);
            if (equals != kNone && usage_condition(equals, begin)) {
                begin = equals + 1;  // step over the condition
                continue;
            }
            if (equals != kNone) {
                // equals < filter, so the byte before the marker is in range.
                parse(equals + 1, text_[filter - 1] == '(' ? filter - 1 : filter);
            }
            begin = filter + 1;
        }
    }

    // A segment without filters: the reference follows its last "=" and
    // stops before the segment's last character, the separator written in
    // front of "__no_free_edit__". A reference holding the row marker is
    // resolved row by row. A last "=" that belongs to a "usage=" condition
    // yields nothing.
    void reference_of_segment(Pos segment_end) {
        const Pos equals = last_equals_in(text_, begin_, segment_end);
        if (equals == kNone || usage_condition(equals, begin_)) return;
        if (segment_end - 1 <= equals + 1) return;  // nothing between "=" and the separator
        std::string reference = kq::between(text_, equals + 1, segment_end - 1);
        if (!kq::contains(reference, '.')) return;
        const Pos marker = kq::find_from(reference, kq::kRowNumberMarker);
        if (marker == kNone) {
            parse(reference);
            return;
        }
        ++references_;
        // The row-by-row form of getFormattedDataForRow, keeping its result.
        // It empties the map, so the columns read into it so far are gone.
        labelled_read_.clear();
        if (!kq::format_rows_from_template(fmt_, new_table_, old_table_, column_, names_, reference,
                                           static_cast<unsigned int>(marker), old_cells_,
                                           new_cells_))
            result_ = 0;
    }

    // Outside segments, an item ends at ","; its reference follows the
    // item's last "=". Returns true: the scan goes on.
    bool comma_step(Pos comma) {
        const Pos equals = last_equals_in(text_, begin_, comma);
        if (equals != kNone && usage_condition(equals, begin_)) {
            begin_ = equals + 1;
            return true;
        }
        if (equals != kNone) parse(equals + 1, comma);
        begin_ = comma + 1;
        return true;
    }

    // With neither segments nor commas left, a reference may stand between a
    // case's "]" and the closing "}". An "=" at or after the byte before the
    // "}" ends the scan unless it belongs to a "usage=" condition. Returns
    // false when the scan ends.
    bool brace_step(Pos brace) {
        if (brace != begin_) {
            const Pos equals = equals_.at_or_after(brace - 1);
            if (equals != kNone) {
                if (!usage_condition(equals, begin_)) return false;
                begin_ = equals + 1;
                return true;
            }
        }
        const Pos close = kq::find_from(text_, ']', begin_);
        if (close != kNone && kq::find_from(text_, '.', begin_) != kNone)
            parse(close + 1, close < brace ? brace : text_.size());
        return false;
    }

    // Last resort: the reference follows the first "=" and runs to a
    // following "__FILTER__" (the scan then resumes after the "=") or to the
    // end. Returns false when the scan ends.
    bool equals_step() {
        const Pos equals = equals_.at_or_after(begin_);
        if (equals == kNone) return false;
        if (usage_condition(equals, begin_)) {
            begin_ = equals + 1;
            return true;
        }
        const Pos filter = filters_.at_or_after(equals + 1);
        if (filter == kNone) {
            parse(equals + 1, text_.size());
            return false;
        }
        parse(equals + 1, filter);
        begin_ = equals + 1;
        return true;
    }

    kq::Formatter& fmt_;
    const std::string& text_;
    KQ_TABLE_COPY* old_table_;
    KWTABLE* new_table_;
    long column_;
    KQ_CELL_LIST& old_cells_;
    KQ_CELL_LIST& new_cells_;
    KQ_NAME_MAP& names_;

    // Each finder is asked at positions that never decrease.
    TokenFinder segment_ends_;
    TokenFinder filters_;
    TokenFinder commas_;
    TokenFinder braces_;
    TokenFinder equals_;

    // Labelled remote columns already read into names_: many references to
    // one column read its rows once.
    LabelledColumnsRead labelled_read_;
    RemoteReferenceOptions options_{&labelled_read_, false};

    Pos begin_ = 0;  // start of the text not yet scanned
    int result_ = 1;
    int references_ = 0;
};

}  // namespace
}  // namespace kq

// Returns 1 when every reference parsed and, if any names were collected,
// every requested cell found one; 0 otherwise.
int kq::Formatter::extractFormatDataFromRemotePicklistString(
    std::string format, KQ_TABLE_COPY* oldTable, KWTABLE* newTable, long column,
    KQ_CELL_LIST& oldCells, KQ_CELL_LIST& newCells, KQ_NAME_MAP& names) {
    KQ_DEBUG_LINE("Extracting pretty names from remote pick list string: %s", format.c_str());
    kq::RemoteReferenceScan scan(*this, format, oldTable, newTable, column, oldCells, newCells,
                                 names);
    int result = scan.run();
    if (scan.references() == 0) note("no remote reference", -1, [&] { return format; });
    // An empty map means the references formatted the column themselves.
    if (!names.empty()) {
        if (!getPrettyValFromMap(oldTable, column, names, oldCells)) result = 0;
        // Integer cells of the live table are looked up by value.
        const int type = newTable->get_int_type(static_cast<int>(column));
        if (kq::LabelsByValue::applies(type) &&
            newCells.size() >= kq::LabelsByValue::kMinimumCells) {
            if (!kq::LabelsByValue(*this, newTable, column, type, names).name_cells(newCells))
                result = 0;
        } else if (!getPrettyValFromMap(newTable, column, names, newCells)) {
            result = 0;
        }
    }
    return result;
}

int kq::Formatter::extractFormatDataFromRemotePicklistString(std::string format,
                                                             KQ_TABLE_COPY* oldTable,
                                                             KWTABLE* newTable, long column,
                                                             KQ_CELL_LIST& oldCells,
                                                             KQ_CELL_LIST& newCells) {
    KQ_NAME_MAP names;
    return extractFormatDataFromRemotePicklistString(std::move(format), oldTable, newTable, column,
                                                     oldCells, newCells, names) != 0
               ? 1
               : 0;
}
