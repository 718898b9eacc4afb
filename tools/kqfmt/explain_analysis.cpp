// Working out kqfmt explain's document. The formatter's order of tests is
// followed step by step, every verdict taken from the library's predicates;
// what the chosen formatter reads from the format comes from the library's
// resolvers and parsers run on a scratch table, never from a parse of our
// own.
#include "explain_analysis.h"

#include <stdexcept>
#include <utility>

#include "core/add_row_markers.h"
#include "core/text_search.h"
#include "csys_date_time_format.h"
#include "explain_reasons.h"
#include "explain_scratch.h"
#include "kq_format_data.h"
#include "kq_units.h"
#include "kw_table.h"
#include "numeric/specifier_printer.h"

namespace kqfmt {
namespace {

using Json = nlohmann::ordered_json;

const char* type_name(int type) {
    switch (type) {
        case 1: return "one byte";
        case 8: return "unsigned 32-bit integer";
        case 9: return "signed 32-bit integer";
        case 12: return "single-precision float";
        case 13: return "double-precision float";
        case 15: return "string";
        case 4:
        case 5:
        case 6:
        case 7: return "numeric type this library does not read";
        default: return "type this library does not read";
    }
}

// How a stored value becomes the text that pick lists look up.
std::string value_text(int type, bool other_types_fail) {
    switch (type) {
        case 1: return "the byte's code, 0 to 255";
        case 8: return "the 32 bits as a signed decimal, so 4294967295 reads -1";
        case 9: return "signed decimal";
        case 15: return "the stored text";
        default:
            return other_types_fail ? "none: type " + std::to_string(type) +
                                          " has no text here, every cell is looked up as the "
                                          "empty text and an error line is logged"
                                    : "the table's text of the value";
    }
}

Json test(const char* name, bool holds, const std::string& why) {
    return {{"test", name}, {"holds", holds}, {"why", why}};
}

Json pairs_json(const KQ_NAME_MAP& names) {
    Json pairs = Json::array();
    for (const auto& entry : names)
        pairs.push_back({{"value", entry.first}, {"name", entry.second}});
    return pairs;
}

Json references_json(const std::vector<RemoteReference>& references) {
    Json list = Json::array();
    for (const RemoteReference& r : references) {
        Json entry = {{"table", r.table}};
        entry["column"] = r.column_known ? Json(r.column) : Json(nullptr);
        if (r.row >= 0) entry["row"] = r.row;
        list.push_back(std::move(entry));
    }
    return list;
}

const char kRemoteShows[] =
    "each reference decides by its column's metadata: an integer format formats this column "
    "with that format; a label column gives value-to-label names; a system-variable selection "
    "gives display names; otherwise plain values (\"__remoterow__\" in the reference: plain "
    "values also for labelled and system-variable columns)";

enum class Numeric { kFloat, kInt };

class Explainer {
public:
    explicit Explainer(const ExplainRequest& request)
        : req_(request),
          format_(request.format),
          scratch_(request.format, request.type, request.date_time) {}

    Json run() {
        doc_["format"] = format_;
        doc_["type"] = req_.type;
        doc_["type_name"] = type_name(req_.type);
        doc_["date_time_flag"] = req_.date_time;
        doc_["tests"] = Json::array();
        route();
        not_asked();
        if (!notes_.empty()) doc_["notes"] = notes_;
        return std::move(doc_);
    }

private:
    void ran(const char* name, bool holds, const std::string& why) {
        doc_["tests"].push_back(test(name, holds, why));
        asked_.push_back(name);
    }

    void decide(const char* formatter, const char* function) {
        doc_["formatter"] = formatter;
        doc_["function"] = function;
    }

    // An empty format makes the formatters' first-character test raise.
    bool raises_on_empty() {
        if (!format_.empty()) return false;
        try {
            lib_.check_trigger_dependency(format_);
        } catch (const std::out_of_range& e) {
            doc_["error"] = std::string("std::out_of_range: ") + e.what();
            notes_.push_back(
                "the first-character test of the empty format raises std::out_of_range: nothing "
                "is written for this column, and no later column of the call is formatted");
            return true;
        }
        return false;
    }

    void route() {
        const int type = req_.type;
        if (type == 12 || type == 13) {
            ran("numeric type", true,
                "type " + std::to_string(type) + " always goes to the floating-point formatter");
            numeric(Numeric::kFloat);
            return;
        }
        if (type == 8 || type == 9) {
            ran("numeric type", true,
                "type " + std::to_string(type) + ": the numeric tests come first");
            const bool is_int = lib_.check_if_int(format_) != 0;
            ran("check_if_int", is_int, why_int(format_));
            if (is_int) return numeric(Numeric::kInt);
            const bool is_date_time =
                lib_.check_if_date_time(scratch_.live(), scratch_.column(), format_) != 0;
            ran("check_if_date_time", is_date_time, why_date_time(format_, req_.date_time));
            if (is_date_time) return date_time();
            const bool is_float = lib_.check_if_float(format_) != 0;
            ran("check_if_float", is_float, why_float(format_));
            if (is_float) return numeric(Numeric::kFloat);
        } else {
            ran("numeric type", false, "type " + std::to_string(type) + " takes the general path");
        }
        general();
    }

    void general() {
        if (raises_on_empty()) {
            ran("check_trigger_dependency", false, "the format is empty");
            decide("error", "GetFormattedValue");
            return;
        }
        const bool trigger = lib_.check_trigger_dependency(format_) != 0;
        ran("check_trigger_dependency", trigger, why_trigger_dependency(format_));
        if (trigger) return trigger_dependency();
        const bool is_static = lib_.check_if_static_picklist(format_) != 0;
        ran("check_if_static_picklist", is_static, why_static_picklist(format_));
        if (is_static) return static_pick_list();
        const bool remote = lib_.check_if_remote_picklist(format_) != 0;
        ran("check_if_remote_picklist", remote, remote_why(format_));
        if (remote) return remote_pick_list();
        const bool string = lib_.check_if_string_format(format_) != 0;
        ran("check_if_string_format", string, why_string_format(format_));
        if (string) return string_column();
        decide("none", "");
        doc_["shows"] = "nothing is written: every cell keeps the value it was given";
        unread_units_note();
    }

    std::string remote_why(const std::string& text) {
        return why_remote_picklist(text, lib_.check_if_float(text) != 0,
                                   lib_.check_if_int(text) != 0);
    }

    // The classification tests the formatter did not come to, for reference.
    void not_asked() {
        Json list = Json::array();
        auto add = [&](const char* name, auto verdict, auto why) {
            for (const std::string& done : asked_)
                if (done == name) return;
            list.push_back(test(name, verdict(), why()));
        };
        add(
            "check_if_int", [&] { return lib_.check_if_int(format_) != 0; },
            [&] { return why_int(format_); });
        add(
            "check_if_float", [&] { return lib_.check_if_float(format_) != 0; },
            [&] { return why_float(format_); });
        if (!format_.empty())
            add(
                "check_trigger_dependency",
                [&] { return lib_.check_trigger_dependency(format_) != 0; },
                [&] { return why_trigger_dependency(format_); });
        add(
            "check_if_static_picklist", [&] { return lib_.check_if_static_picklist(format_) != 0; },
            [&] { return why_static_picklist(format_); });
        add(
            "check_if_remote_picklist", [&] { return lib_.check_if_remote_picklist(format_) != 0; },
            [&] { return remote_why(format_); });
        add(
            "check_if_string_format", [&] { return lib_.check_if_string_format(format_) != 0; },
            [&] { return why_string_format(format_); });
        doc_["not_asked"] = std::move(list);
    }

    // ---- numeric columns ------------------------------------------------

    void numeric(Numeric kind) {
        if (kind == Numeric::kFloat)
            decide("float", "extractFormatDataForFloatData");
        else
            decide("integer", "extractFormatDataForIntData");
        if (raises_on_empty()) return;
        const bool trigger = lib_.check_trigger_dependency(format_) != 0;
        const bool unit_per_case =
            trigger && lib_.check_if_units_in_trigger_dependency_column(format_) != 0;
        if (!trigger) {
            std::string specifier;
            int resolved = 0;
            resolve(kind, scratch_.no_case_row(), specifier, resolved);
            doc_["specifier"] = specifier_json(kind, specifier, resolved);
            doc_["units"] =
                "display unit from the column's metadata (units_us), values converted from its "
                "stored unit (units)";
            unread_units_note();
        } else {
            doc_["units"] = unit_per_case
                                ? "display unit named per case with \"UNIT=\"; a row whose case "
                                  "names none keeps the previous row's unit (no unit before the "
                                  "first); values converted from the column's stored unit"
                                : "display unit from the column's metadata (units_us), values "
                                  "converted from its stored unit (units)";
            Json trigger_doc = {{"column", trigger_column()}, {"cases", Json::array()}};
            for (const ScratchCase& c : scratch_.cases())
                trigger_doc["cases"].push_back(
                    numeric_case(kind, c.name, c.row, c.in_force, unit_per_case));
            trigger_doc["no_case"] =
                numeric_case(kind, "", scratch_.no_case_row(), true, unit_per_case);
            doc_["trigger"] = std::move(trigger_doc);
        }
        if (kq::contains(format_, "__VAL_DEPENDENT__") || kq::contains(format_, '|'))
            notes_.push_back(
                "the text after \"__VAL_DEPENDENT__\" or \"|\" is not read by numeric columns");
    }

    // The library's resolver for `row`; records a table it tried to borrow
    // a format from, or the error it raised.
    Json resolve(Numeric kind, int row, std::string& specifier, int& resolved) {
        Json extra = Json::object();
        LogProbe probe;
        try {
            resolved =
                kind == Numeric::kFloat
                    ? lib_.getFormatSpecifierForFloatVal(format_, scratch_.live(), row, specifier)
                    : lib_.getFormatSpecifierForIntVal(format_, scratch_.live(), row, specifier);
        } catch (const std::out_of_range& e) {
            extra["error"] = std::string("std::out_of_range: ") + e.what();
        }
        const std::vector<std::string> tables =
            probe.after_prefix("Cannot get class pointer for table named: ");
        if (!resolved && !tables.empty()) extra["borrows_from_table"] = tables.front();
        return extra;
    }

    Json numeric_case(Numeric kind, const std::string& name, int row, bool in_force,
                      bool unit_per_case) {
        Json c;
        c["case"] = name.empty() && row == scratch_.no_case_row() ? Json(nullptr) : Json(name);
        c["in_force"] = in_force;
        if (!in_force) return c;
        std::string specifier;
        int resolved = 0;
        Json extra = resolve(kind, row, specifier, resolved);
        c["specifier"] = specifier_json(kind, specifier, resolved);
        for (auto& item : extra.items()) c[item.key()] = item.value();
        if (unit_per_case) {
            UNIT_ENUM unit = static_cast<UNIT_ENUM>(-1);  // not a unit: tells "none named"
            std::string unit_text, work;
            lib_.getUsUnitFromtFormatString(format_, scratch_.live(), row, &unit, unit_text, work);
            c["unit"] =
                unit == static_cast<UNIT_ENUM>(-1) ? Json(nullptr) : unit_json(unit, unit_text);
        }
        return c;
    }

    Json unit_json(UNIT_ENUM unit, const std::string& name) {
        std::string suffix;
        lib_.appendUnitsStringIfAny(unit, name, suffix);
        return {{"name", name}, {"id", static_cast<int>(unit)}, {"suffix", suffix}};
    }

    Json specifier_json(Numeric kind, const std::string& specifier, int resolved) {
        Json s;
        if (!resolved) {
            s["text"] = nullptr;
            return s;
        }
        s["text"] = specifier;
        const bool pseudo = specifier == "%76g" || specifier == "%86g";
        if (kind == Numeric::kFloat && pseudo && req_.type == 12) {
            // Decoded per value by the library; three values show the rule.
            Json decoded = Json::array();
            for (float value : {0.1f, 1.0f / 3.0f, 123.456f}) {
                std::string real = specifier;
                lib_.DecodeForFloat86(value, real);
                lib_.DecodeForFloat76(value, real);
                std::string text;
                kq::print_with_specifier(real, kq::PrintValue::of_double(value), text);
                decoded.push_back(
                    {{"value", static_cast<double>(value)}, {"specifier", real}, {"text", text}});
            }
            s["decoded"] = std::move(decoded);
            return s;
        }
        if (pseudo && kind == Numeric::kFloat)
            notes_.push_back(specifier +
                             " is decoded only for single-precision float columns; here it is an "
                             "ordinary specifier with a field width");
        kq::ParsedSpecifier parsed;
        parsed.set(specifier);
        s["usable"] = parsed.usable();
        kq::PrintValue sample = kq::PrintValue::of_double(1234.5678);
        std::string shown = "1234.5678";
        if (kind == Numeric::kInt) {
            sample =
                req_.type == 8 ? kq::PrintValue::of_unsigned(42u) : kq::PrintValue::of_signed(-42);
            shown = req_.type == 8 ? "42" : "-42";
        } else if (req_.type != 13) {
            sample = kq::PrintValue::of_double(static_cast<double>(1234.5678f));
        }
        std::string text;
        kq::print_with_specifier(specifier, sample, text);
        s["sample"] = {{"value", shown}, {"text", text}};
        return s;
    }

    // ---- date/time columns ------------------------------------------------

    void date_time() {
        decide("date_time", "extractFormattedDateTimeVal");
        std::string time_format;
        lib_.getTimeFormat(format_, time_format);
        const bool flagged = scratch_.live()->get_is_date_time(scratch_.column()) != 0;
        KW_MASTER_TABLE master;
        CSysDateTimeFormat platform;
        platform.SetMasterClassPointer(master);
        Json t;
        t["renders"] = flagged ? "GetDateTime" : "GetTime";
        std::string text;
        long seconds = 0;
        if (flagged) {
            seconds = 1000000000;
            platform.GetDateTime(seconds, text);
        } else {
            t["time_format"] = time_format;
            seconds = 3725;
            platform.GetTime(seconds, text, 0, time_format);
        }
        t["sample"] = {{"seconds", seconds}, {"text", text}};
        doc_["time"] = std::move(t);
        doc_["units"] = "values converted from the column's stored unit (units) to seconds";
    }

    // ---- pick lists, remote references, strings ------------------------

    void static_pick_list() {
        decide("static_pick_list", "extractFormatDataFromStaticPickList");
        std::string cleaned = format_;
        kq::remove_add_row_markers(cleaned);
        std::string list;
        lib_.extractStaticPickListString(cleaned, list);
        KQ_NAME_MAP names;
        lib_.populatePrettyValFromStaticPickList(list, names);
        Json p;
        if (cleaned != format_) p["cleaned_format"] = cleaned;
        p["text"] = list;
        p["pairs"] = pairs_json(names);
        p["value_text"] = value_text(req_.type, false);
        const bool fallback = lib_.check_if_remote_picklist(list) != 0;
        p["unnamed_values"] =
            fallback ? "looked up in the remote pick list the text names" : "keep the cell's value";
        doc_["pick_list"] = std::move(p);
        if (fallback) doc_["remote"] = remote_json(list);
        unread_units_note();
    }

    void remote_pick_list() {
        decide("remote_pick_list", "extractFormatDataFromRemotePicklistString");
        doc_["remote"] = remote_json(format_);
        unread_units_note();
    }

    Json remote_json(const std::string& text) {
        return {{"references", references_json(remote_references(text, req_.type))},
                {"shows", kRemoteShows},
                {"unnamed_values",
                 "an old cell whose value has no name shows a single blank, a new cell keeps its "
                 "value"}};
    }

    std::string string_shows() const {
        const int t = req_.type;
        const std::string plain =
            t == 1 || t == 8 || t == 9 || t == 15
                ? "the stored value as text: " + value_text(t, true)
                : "nothing readable: type " + std::to_string(t) +
                      " has no plain text, every cell becomes empty and an error line is logged";
        return plain +
               "; a column with a component selection in its metadata shows the "
               "system-variable display name of the stored name instead (stored \"__NULL__\", "
               "\"none\" and empty values keep the cell's value)";
    }

    void string_column() {
        decide("string", "extractFormatDataFromOldAndNewTable or getPrettyValFromSystemVar");
        doc_["shows"] = string_shows();
        unread_units_note();
    }

    void trigger_dependency() {
        decide("trigger_dependency", "extractFormatDataFromTriggerDependencies");
        Json t;
        t["column"] = trigger_column();
        Json cases = Json::array();
        for (const ScratchCase& c : scratch_.cases()) cases.push_back(c.name);
        t["cases"] = std::move(cases);
        Json tests = Json::array();
        const bool is_static = lib_.check_if_static_picklist(format_) != 0;
        tests.push_back(test("check_if_static_picklist", is_static, why_static_picklist(format_)));
        if (is_static) {
            t["tests"] = std::move(tests);
            t["family"] = "static_pick_list";
            t["function"] = "extractFormatDataFromStaticPickListAvailableInTrigDep";
            KQ_NAME_MAP names;
            std::size_t clear = 0;
            {
                LogProbe probe;
                lib_.populatePrettyValFromTriggerDependencies(scratch_.live(), format_, names);
                clear = probe.after_prefix("__CLEAR_READ_ONLY__ found for column:").size();
            }
            Json p;
            p["pairs"] = pairs_json(names);
            p["clear_read_only_cases"] = clear;
            p["value_text"] = value_text(req_.type, true);
            const bool fallback = lib_.check_if_remote_picklist(format_) != 0;
            p["unnamed_values"] = fallback ? "looked up in the remote pick list the format names"
                                           : "keep the cell's value";
            doc_["trigger"] = std::move(t);
            doc_["pick_list"] = std::move(p);
            if (fallback) doc_["remote"] = remote_json(format_);
            return;
        }
        const bool remote = lib_.check_if_remote_picklist(format_) != 0;
        tests.push_back(test("check_if_remote_picklist", remote, remote_why(format_)));
        if (remote) {
            t["tests"] = std::move(tests);
            t["family"] = "remote_pick_list";
            t["function"] = "extractFormatDataFromRemotePicklistString";
            doc_["trigger"] = std::move(t);
            doc_["remote"] = remote_json(format_);
            return;
        }
        const bool string = lib_.check_if_string_format(format_) != 0;
        tests.push_back(test("check_if_string_format", string, why_string_format(format_)));
        t["tests"] = std::move(tests);
        if (string) {
            t["family"] = "string";
            t["function"] = "extractFormatDataFromOldAndNewTable or getPrettyValFromSystemVar";
            doc_["shows"] = string_shows();
        } else {
            t["family"] = "none";
            doc_["shows"] = "nothing is written: every cell keeps the value it was given";
        }
        doc_["trigger"] = std::move(t);
        unread_units_note();
    }

    // The trigger column's name, null when the format has no "{".
    Json trigger_column() const {
        return scratch_.has_trigger() ? Json(scratch_.trigger_column()) : Json(nullptr);
    }

    void unread_units_note() {
        if (kq::contains(format_, "UNIT="))
            notes_.push_back(
                "\"UNIT=\" is read only for numeric columns whose format starts with \"@\"");
    }

    const ExplainRequest& req_;
    const std::string format_;
    KQ_FORMAT_DATA lib_;
    ScratchTable scratch_;
    Json doc_;
    Json notes_ = Json::array();
    std::vector<std::string> asked_;
};

}  // namespace

nlohmann::ordered_json explain_format(const ExplainRequest& request) {
    return Explainer(request).run();
}

}  // namespace kqfmt
