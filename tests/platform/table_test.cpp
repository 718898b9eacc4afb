// Host tables: values kept as the target keeps them, every read defined.
#include <gtest/gtest.h>

#include <cmath>

#include "kq_test_tables.h"

using kqtest::TableSpec;

namespace {

// One column per type code, one row of text values stored through them.
TableSpec mixed() {
    return {
        "T",
        {{"b", 1}, {"u", 8}, {"i", 9}, {"f", 12}, {"d", 13}, {"s", 15}},
        {{"A", "-1", "-5", "0.1", "2.5", "hello"}, {"", "4294967296", "2147483648", "x", "", "7"}}};
}

// A cell read as T into a variable that held `start`.
template <class T>
T read(KWTABLE& t, int column, int row, T start = T()) {
    t.get(column, row, start);
    return start;
}

}  // namespace

TEST(HostTable, StringReadsFollowTheTypeCode) {
    auto t = kqtest::make_live(mixed());
    const std::vector<std::string> row0 = {"65", "4294967295", "-5", "0.1", "2.5", "hello"};
    const std::vector<std::string> row1 = {"0", "0", "-2147483648", "0", "0", "7"};
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(read<std::string>(*t, c, 0), row0[c]) << "column " << c;
        EXPECT_EQ(read<std::string>(*t, c, 1), row1[c]) << "column " << c;
    }
}

TEST(HostTable, IntegerReadsAre32BitOnEveryHost) {
    auto t = kqtest::make_live(mixed());
    EXPECT_EQ(read<long>(*t, 1, 0), -1);  // all bits set, read signed
    EXPECT_EQ(read<unsigned long>(*t, 1, 0), 4294967295ul);
    EXPECT_EQ(read<unsigned long>(*t, 2, 0), 4294967291ul);  // -5: zero-extended 32 bits
    EXPECT_EQ(read<long>(*t, 5, 1), 7);                      // text "7"
    EXPECT_EQ(read<long>(*t, 0, 0), 65);                     // byte 'A'
}

TEST(HostTable, CrossTypeReads) {
    kqhost::LiveTable t(kqtest::make_data(
        {"T", {{"f", 12}, {"s", 15}}, {{"-3.7", "12abc"}, {"1e10", ""}, {"16777217"}}}));
    EXPECT_EQ(read<long>(t, 0, 0), -3);          // truncated toward zero
    EXPECT_EQ(read<long>(t, 0, 1), 1410065408);  // 1e10 keeps its low 32 bits
    EXPECT_EQ(read<long>(t, 1, 0), 12);
    EXPECT_EQ(read<char>(t, 1, 0, 1), '1');
    EXPECT_EQ(read<char>(t, 1, 1, 1), 0);
    EXPECT_EQ(read<double>(t, 1, 0), 12.0);
    // Stored floats are single precision.
    EXPECT_EQ(read<float>(t, 0, 2), 16777216.0f);
    EXPECT_EQ(read<double>(t, 0, 2), 16777216.0);
}

TEST(HostTable, OutOfRangeReadsAreDefined) {
    auto t = kqtest::make_live(mixed());
    kqhost::TableCopy snap(kqtest::make_data(mixed()));
    EXPECT_EQ(read<std::string>(*t, 0, 2, "keep"), "");
    EXPECT_EQ(read<long>(*t, -1, 0, 9), 0);
    EXPECT_EQ(read<float>(*t, 6, 0, 9), 0.0f);
    char ch = 9;
    snap.Get(0ul, 99ul, ch);
    EXPECT_EQ(ch, 0);
    std::string s = "keep";
    snap.Get(static_cast<unsigned long>(-1), 0ul, s);
    EXPECT_EQ(s, "");
    EXPECT_EQ(t->get_us_format(42), "");
    EXPECT_EQ(t->get_int_type(-1), 0);
    EXPECT_EQ(t->get_is_date_time(6), 0);
}

TEST(HostTable, MetadataDefaultsAndLookup) {
    kqtest::TableSpec spec{"T", {{"a", 9}, {"b", 15}, {"a", 12}}, {}};
    spec.columns[1].internal_name = "inner";
    auto t = kqtest::make_live(spec);
    EXPECT_EQ(t->get_column_number("a", true), 0);  // first of that name
    EXPECT_EQ(t->get_column_number("A", false), -1);
    EXPECT_EQ(t->get_internal_name(0), "a");
    EXPECT_EQ(t->get_internal_name(1), "inner");
    EXPECT_EQ(t->get_label_col(0), "");
    EXPECT_EQ(t->read_table_data(), 0);
    std::string v = "x";
    t->get(std::string("missing"), 0, v);
    EXPECT_EQ(v, "");
}

TEST(HostTable, StoreFromDatabaseClasses) {
    kqhost::TableData data("T");
    data.add_column({"b", 1});
    data.add_column({"i", 9});
    data.add_column({"s", 15});
    data.set_row_count(2);
    data.store_integer(0, 0, 0x1C8);  // low 8 bits
    data.store_integer(1, 0, 0x1FFFFFFFFll);
    data.store_real(1, 1, -2.9);
    data.store_real(2, 0, 1.0);
    data.store_integer(2, 1, -12);
    const auto text = [&data](int column, int row) {
        std::string s;
        data.read(column, row, s);
        return s;
    };
    EXPECT_EQ(text(0, 0), "200");
    EXPECT_EQ(text(1, 0), "-1");
    EXPECT_EQ(text(1, 1), "-2");
    EXPECT_EQ(text(2, 0), "1.0");
    EXPECT_EQ(text(2, 1), "-12");
    data.store_null(1, 0);
    EXPECT_EQ(text(1, 0), "0");
}

TEST(HostMaster, RegistryAndSystemVariables) {
    kqtest::World world;
    KWTABLE* streams = world.add({"STREAMS", {{"name"}}, {}});
    world.sys_var("SV_A", "Analyser A");
    EXPECT_EQ(world.master()->get_class_pointer("STREAMS"), streams);
    EXPECT_EQ(world.master()->get_class_pointer("streams"), nullptr);
    EXPECT_EQ(world.master()->get_class_pointer(""), nullptr);
}
