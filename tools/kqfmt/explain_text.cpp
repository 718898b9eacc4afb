// Rendering an explanation for people.
#include "explain_text.h"

#include <sstream>

#include "utf8_text.h"

namespace kqfmt {
namespace {

using Json = nlohmann::ordered_json;

std::string q(const Json& text) {
    if (text.is_null()) return "none";
    return "\"" + printable_text(text.get<std::string>()) + "\"";
}

const char* yes_no(const Json& holds) { return holds.get<bool>() ? "yes" : "no "; }

void tests(std::ostream& out, const Json& list, const char* indent) {
    std::size_t width = 0;
    for (const Json& t : list) width = std::max(width, t["test"].get<std::string>().size());
    for (const Json& t : list) {
        const std::string name = t["test"];
        out << indent << name << std::string(width - name.size() + 2, ' ') << yes_no(t["holds"])
            << "  " << printable_text(t["why"].get<std::string>()) << '\n';
    }
}

void label(std::ostream& out, const char* name, const std::string& text) {
    std::string padded = name;
    padded.resize(12, ' ');
    out << padded << text << '\n';
}

std::string specifier(const Json& s) {
    if (s["text"].is_null())
        return "none: the row keeps the previous row's specifier (the empty text before any)";
    std::string text = q(s["text"]);
    if (s.contains("decoded")) {
        text += ", decoded per value:";
        for (const Json& d : s["decoded"]) {
            std::ostringstream value;
            value << d["value"].get<double>();
            text +=
                " " + value.str() + " with " + q(d["specifier"]) + " shows " + q(d["text"]) + ";";
        }
        text.pop_back();
        return text;
    }
    if (!s["usable"].get<bool>())
        return text + ": not one float or integer conversion, every value prints as the empty text";
    return text + ": " + s["sample"]["value"].get<std::string>() + " prints as " +
           q(s["sample"]["text"]);
}

std::string unit(const Json& u) {
    if (u.is_null()) return "none named (keeps the previous row's unit)";
    std::string text = "UNIT=" + printable_text(u["name"].get<std::string>());
    if (u["id"].get<int>() == 2) return text + " (no unit: no conversion, no unit text)";
    return text + " (unit " + std::to_string(u["id"].get<int>()) + ", appends " + q(u["suffix"]) +
           ")";
}

void references(std::ostream& out, const Json& remote) {
    const Json& list = remote["references"];
    if (list.empty()) out << "  the scanner takes no reference\n";
    for (const Json& r : list) {
        std::string text = printable_text(r["table"].get<std::string>()) + ".";
        text += r["column"].is_null() ? "?" : printable_text(r["column"].get<std::string>());
        out << "  " << text;
        if (r.contains("row"))
            out << "   (row template: for local row " << r["row"].get<int>() << ")";
        out << '\n';
    }
    out << "  " << remote["shows"].get<std::string>() << "; "
        << remote["unnamed_values"].get<std::string>() << '\n';
}

}  // namespace

std::string explain_text(const Json& doc) {
    std::ostringstream out;
    label(out, "format", q(doc["format"]));
    std::string type =
        std::to_string(doc["type"].get<int>()) + " (" + doc["type_name"].get<std::string>() + ")";
    if (doc["date_time_flag"].get<bool>()) type += ", flagged date/time";
    label(out, "type", type);
    std::string formatter = doc["formatter"];
    if (!doc["function"].get<std::string>().empty())
        formatter += " (" + doc["function"].get<std::string>() + ")";
    label(out, "formatter", formatter);
    if (doc.contains("error")) label(out, "error", doc["error"].get<std::string>());

    out << "\ntests, in the formatter's order:\n";
    tests(out, doc["tests"], "  ");

    if (doc.contains("specifier")) {
        out << '\n';
        label(out, "specifier", specifier(doc["specifier"]));
    }
    if (doc.contains("trigger")) {
        const Json& t = doc["trigger"];
        out << "\ntrigger column " << q(t["column"]) << '\n';
        if (t.contains("tests")) {
            out << "  its formatter's tests:\n";
            tests(out, t["tests"], "    ");
            out << "  family: " << t["family"].get<std::string>() << '\n';
        }
        for (const Json& c : t["cases"]) {
            if (c.is_string()) {
                out << "  case [" << printable_text(c.get<std::string>()) << "]\n";
                continue;
            }
            const std::string name =
                c["case"].is_null() ? "no case in force"
                                    : "case [" + printable_text(c["case"].get<std::string>()) + "]";
            out << "  " << name << '\n';
            if (!c["in_force"].get<bool>()) {
                out << "    cannot be put in force in a scratch table\n";
                continue;
            }
            out << "    specifier " << specifier(c["specifier"]) << '\n';
            if (c.contains("borrows_from_table"))
                out << "    borrows the format of a column of table " << q(c["borrows_from_table"])
                    << " (not known here)\n";
            if (c.contains("error")) out << "    raises " << c["error"].get<std::string>() << '\n';
            if (c.contains("unit")) out << "    unit      " << unit(c["unit"]) << '\n';
        }
        if (t.contains("no_case")) {
            const Json& c = t["no_case"];
            out << "  no case in force\n    specifier " << specifier(c["specifier"]) << '\n';
            if (c.contains("borrows_from_table"))
                out << "    borrows the format of a column of table " << q(c["borrows_from_table"])
                    << " (not known here)\n";
            if (c.contains("error")) out << "    raises " << c["error"].get<std::string>() << '\n';
            if (c.contains("unit")) out << "    unit      " << unit(c["unit"]) << '\n';
        }
    }
    if (doc.contains("units")) {
        if (!doc.contains("trigger") && !doc.contains("specifier")) out << '\n';
        label(out, "units", doc["units"].get<std::string>());
    }
    if (doc.contains("time")) {
        const Json& t = doc["time"];
        std::string text = t["renders"].get<std::string>();
        if (t.contains("time_format"))
            text += " with the time format " + q(t["time_format"]) +
                    (t["time_format"].get<std::string>().empty() ? " (HH:MM:SS)" : "");
        text += ": " + std::to_string(t["sample"]["seconds"].get<long>()) + " s shows " +
                q(t["sample"]["text"]);
        label(out, "time", text);
    }
    if (doc.contains("pick_list")) {
        const Json& p = doc["pick_list"];
        out << '\n';
        if (p.contains("cleaned_format")) label(out, "cleaned", q(p["cleaned_format"]));
        if (p.contains("text")) label(out, "pick list", q(p["text"]));
        out << "pairs (value -> name), looked up by " << p["value_text"].get<std::string>()
            << ":\n";
        if (p["pairs"].empty()) out << "  none\n";
        for (const Json& pair : p["pairs"])
            out << "  " << q(pair["value"]) << " -> " << q(pair["name"]) << '\n';
        if (p.contains("clear_read_only_cases") && p["clear_read_only_cases"].get<int>() > 0)
            out << "  (" << p["clear_read_only_cases"].get<int>()
                << " case(s) marked __CLEAR_READ_ONLY__ add no names)\n";
        out << "values without a name: " << p["unnamed_values"].get<std::string>() << '\n';
    }
    if (doc.contains("remote")) {
        out << "\nremote references, in the scanner's order:\n";
        references(out, doc["remote"]);
    }
    if (doc.contains("shows")) {
        out << '\n';
        label(out, "shows", doc["shows"].get<std::string>());
    }

    out << "\nnot asked (for reference):\n";
    tests(out, doc["not_asked"], "  ");
    if (doc.contains("notes")) {
        out << "\nnotes:\n";
        for (const Json& note : doc["notes"]) out << "  - " << note.get<std::string>() << '\n';
    }
    return out.str();
}

}  // namespace kqfmt
