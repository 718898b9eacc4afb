// Escaping of configuration bytes for JSON and for the terminal.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "text/json_text.h"
#include "text/utf8_text.h"

namespace {

std::string json_string(const std::string& bytes) {
    std::string out;
    kqfmt::append_json_string(out, bytes);
    return out;
}

TEST(JsonString, EscapesExactlyWhatJsonAndUtf8Require) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"plain", "\"plain\""},
        {"a\"b\\c/", "\"a\\\"b\\\\c/\""},
        {"\n\t\r\b\f", "\"\\n\\t\\r\\b\\f\""},
        {std::string("\x01\x1f\x7f", 3), "\"\\u0001\\u001f\x7f\""},
        {std::string("a\0b", 3), "\"a\\u0000b\""},
        {"\xC2\xB0"
         "C \xE2\x86\x92 \xF0\x9F\x98\x80",
         "\"\xC2\xB0"
         "C \xE2\x86\x92 \xF0\x9F\x98\x80\""},
        {"A\xFF"
         "B",
         "\"A\\u00ffB\""},                   // never UTF-8
        {"\xE2\x82", "\"\\u00e2\\u0082\""},  // truncated
        {"\xE2\x82"
         "A",
         "\"\\u00e2\\u0082A\""},
        {"\xC0\xAF", "\"\\u00c0\\u00af\""},                        // overlong
        {"\xE0\x80\xAF", "\"\\u00e0\\u0080\\u00af\""},             // overlong
        {"\xED\xA0\x80", "\"\\u00ed\\u00a0\\u0080\""},             // surrogate
        {"\xF4\x90\x80\x80", "\"\\u00f4\\u0090\\u0080\\u0080\""},  // past U+10FFFF
        {"\x80", "\"\\u0080\""},                                   // lone continuation
    };
    for (const auto& [bytes, expected] : cases) {
        const std::string text = json_string(bytes);
        EXPECT_EQ(text, expected);
        EXPECT_FALSE(nlohmann::json::parse(text, nullptr, false).is_discarded()) << text;
    }
}

TEST(JsonString, WellFormedTextReadsBackUnchanged) {
    for (const std::string bytes : {"x\"\\\n\x01",
                                    "\xC2\xB0"
                                    "F",
                                    "\xEF\xBF\xBF", "\xF4\x8F\xBF\xBF"})
        EXPECT_EQ(nlohmann::json::parse(json_string(bytes)).get<std::string>(), bytes);
}

TEST(JsonDocument, KeysAndValuesOfAnyBytesGiveValidJson) {
    nlohmann::ordered_json doc = {{"k\xFF", "v\xFE"}, {"list", {1, "x", nullptr, true}}};
    const std::string text = kqfmt::to_json_text(doc);
    const nlohmann::json back = nlohmann::json::parse(text);
    EXPECT_EQ(back.at("k\xC3\xBF"), "v\xC3\xBE");  // \u00ff and \u00fe
    EXPECT_EQ(back.at("list").dump(), "[1,\"x\",null,true]");
}

TEST(PrintableText, KeepsUtf8AndDefusesControls) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"25 \xC2\xB0"
         "C",
         "25 \xC2\xB0"
         "C"},
        {"\x1b[31mred", "\\x1b[31mred"},
        {"\xC2\x9B"
         "1m",
         "\\u009b1m"},  // C1 control sequence introducer
        {"a\\b", "a\\x5cb"},
        {"\xFF\n", "\\xff\\x0a"},
    };
    for (const auto& [bytes, expected] : cases) {
        EXPECT_EQ(kqfmt::printable_text(bytes), expected);
        // Messages keep a backslash and escape the rest alike.
        EXPECT_EQ(kqfmt::message_text(bytes), bytes == "a\\b" ? bytes : expected);
    }
    EXPECT_EQ(kqfmt::display_width(kqfmt::printable_text("\xC2\xB0"
                                                         "C\xFF")),
              6u);
}

// plain_text and printable_width agree with printable_text for any byte at
// any place (eight bytes are looked at together, the rest one by one).
TEST(PrintableText, PlainCheckAndWidthAgreeWithTheEscapedText) {
    for (int byte = 0; byte < 256; ++byte) {
        for (std::size_t at = 0; at < 17; ++at) {
            std::string text(17, 'a');
            text[at] = static_cast<char>(byte);
            const std::string shown = kqfmt::printable_text(text);
            EXPECT_EQ(kqfmt::plain_text(text), shown == text && kqfmt::display_width(shown) == 17)
                << byte << " at " << at;
            EXPECT_EQ(kqfmt::printable_width(text), kqfmt::display_width(shown));
        }
    }
    EXPECT_EQ(kqfmt::printable_width("\xC2\xB0"
                                     "C \xE4\xB8\xAD"),
              5u);  // "°C 中"
}

}  // namespace
