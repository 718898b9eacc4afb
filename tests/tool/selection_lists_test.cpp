// The --rows and --columns list parsers.
#include "text/selection_lists.h"

#include <gtest/gtest.h>

namespace {

using kqfmt::parse_column_list;
using kqfmt::parse_row_list;

TEST(RowList, AcceptsNumbersAndInclusiveRangesInTheOrderWritten) {
    const std::vector<std::pair<std::string, std::vector<int32_t>>> cases = {
        {"0", {0}},         {"3,1", {3, 1}},
        {"2-4", {2, 3, 4}}, {"5-5,0,5", {5, 0, 5}},
        {"007", {7}},       {"2147483646-2147483647", {2147483646, 2147483647}},
    };
    for (const auto& [text, rows] : cases) {
        const kqfmt::RowList list = parse_row_list(text);
        EXPECT_EQ(list.error, "") << text;
        EXPECT_EQ(list.rows, rows) << text;
    }
}

TEST(RowList, RefusesMalformedListsWithAReasonAndNoRows) {
    for (const char* text : {"", ",", "1,", ",1", "-1", "1-", "-", "1--2", "a", "1 ", " 1", "+1",
                             "4-2", "2147483648", "0-2147483648", "1-2-3", "0x10"}) {
        const kqfmt::RowList list = parse_row_list(text);
        EXPECT_NE(list.error, "") << text;
        EXPECT_TRUE(list.rows.empty()) << text;
    }
    // The reason is one line even when the item is not.
    EXPECT_EQ(parse_row_list("1\n2").error.find('\n'), std::string::npos);
}

TEST(RowList, BoundsTheNumberOfRows) {
    const std::string limit = std::to_string(kqfmt::kMaxRequestedRows);
    EXPECT_EQ(parse_row_list("1-" + limit).rows.size(), kqfmt::kMaxRequestedRows);
    EXPECT_NE(parse_row_list("0-" + limit).error, "");
    EXPECT_NE(parse_row_list("0-2147483647").error, "");
    EXPECT_NE(parse_row_list("5,1-" + limit).error, "");
}

TEST(ColumnList, DigitsAreNumbersEverythingElseIsAName) {
    const kqfmt::ColumnList list = parse_column_list("name,2,007,1a, x,-1");
    ASSERT_EQ(list.error, "");
    ASSERT_EQ(list.items.size(), 6u);
    const std::vector<std::pair<bool, std::string>> expected = {
        {false, "name"}, {true, "2"}, {true, "7"}, {false, "1a"}, {false, " x"}, {false, "-1"}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const kqfmt::ColumnItem& item = list.items[i];
        EXPECT_EQ(item.is_number, expected[i].first) << i;
        EXPECT_EQ(item.is_number ? std::to_string(item.number) : item.name, expected[i].second);
    }
}

TEST(ColumnList, RefusesEmptyItemsAndHugeNumbers) {
    for (const char* text : {"", ",", "a,", ",a", "a,,b", "2147483648", "99999999999999999999"}) {
        const kqfmt::ColumnList list = parse_column_list(text);
        EXPECT_NE(list.error, "") << text;
        EXPECT_TRUE(list.items.empty()) << text;
    }
}

}  // namespace
