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

}  // namespace

TEST(HostTable, StringReadsFollowTheTypeCode) {
    auto t = kqtest::make_live(mixed());
    const std::vector<std::string> row0 = {"65", "4294967295", "-5", "0.1", "2.5", "hello"};
    const std::vector<std::string> row1 = {"0", "0", "-2147483648", "0", "0", "7"};
    for (int c = 0; c < 6; ++c) {
        std::string v;
        t->get(c, 0, v);
        EXPECT_EQ(v, row0[c]) << "column " << c;
        t->get(c, 1, v);
        EXPECT_EQ(v, row1[c]) << "column " << c;
    }
}

TEST(HostTable, IntegerReadsAre32BitOnEveryHost) {
    auto t = kqtest::make_live(mixed());
    long l = 0;
    unsigned long ul = 0;
    t->get(1, 0, l);  // all bits set, read signed
    EXPECT_EQ(l, -1);
    t->get(1, 0, ul);
    EXPECT_EQ(ul, 4294967295ul);
    t->get(2, 0, ul);  // -5 read unsigned: zero-extended 32 bits
    EXPECT_EQ(ul, 4294967291ul);
    t->get(5, 1, l);  // text "7"
    EXPECT_EQ(l, 7);
    t->get(0, 0, l);  // byte 'A'
    EXPECT_EQ(l, 65);
}

TEST(HostTable, CrossTypeReads) {
    auto data = kqtest::make_data({"T", {{"f", 12}, {"s", 15}}, {{"-3.7", "12abc"}, {"1e10", ""}}});
    KWTABLE t(data);
    long l = 0;
    char ch = 1;
    double d = 0;
    t.get(0, 0, l);  // truncated toward zero
    EXPECT_EQ(l, -3);
    t.get(0, 1, l);  // 1e10 wraps to its low 32 bits
    EXPECT_EQ(l, static_cast<long>(static_cast<int32_t>(static_cast<uint32_t>(10000000000ull))));
    t.get(1, 0, l);
    EXPECT_EQ(l, 12);
    t.get(1, 0, ch);
    EXPECT_EQ(ch, '1');
    t.get(1, 1, ch);
    EXPECT_EQ(ch, 0);
    t.get(1, 0, d);
    EXPECT_EQ(d, 12.0);
}

TEST(HostTable, OutOfRangeReadsAreDefined) {
    auto t = kqtest::make_live(mixed());
    KQ_TABLE_COPY snap(kqtest::make_data(mixed()));
    std::string s = "keep";
    long l = 9;
    float f = 9;
    char ch = 9;
    t->get(0, 2, s);
    EXPECT_EQ(s, "");
    t->get(-1, 0, l);
    EXPECT_EQ(l, 0);
    t->get(6, 0, f);
    EXPECT_EQ(f, 0.0f);
    snap.Get(0ul, 99ul, ch);
    EXPECT_EQ(ch, 0);
    snap.Get(static_cast<unsigned long>(-1), 0ul, s = "keep");
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

TEST(HostTable, StoredFloatsAreSinglePrecision) {
    auto t = kqtest::make_live({"T", {{"f", 12}}, {{"16777217"}}});
    float f = 0;
    t->get(0, 0, f);
    EXPECT_EQ(f, 16777216.0f);
    double d = 0;
    t->get(0, 0, d);
    EXPECT_EQ(d, 16777216.0);
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
    std::string s;
    data.read(0, 0, s);
    EXPECT_EQ(s, "200");
    data.read(1, 0, s);
    EXPECT_EQ(s, "-1");
    data.read(1, 1, s);
    EXPECT_EQ(s, "-2");
    data.read(2, 0, s);
    EXPECT_EQ(s, "1.0");
    data.read(2, 1, s);
    EXPECT_EQ(s, "-12");
    data.store_null(1, 0);
    data.read(1, 0, s);
    EXPECT_EQ(s, "0");
}

TEST(HostMaster, RegistryAndSystemVariables) {
    kqtest::World world;
    KWTABLE* streams = world.add({"STREAMS", {{"name"}}, {}});
    world.sys_var("SV_A", "Analyser A");
    EXPECT_EQ(world.master()->get_class_pointer("STREAMS"), streams);
    EXPECT_EQ(world.master()->get_class_pointer("streams"), nullptr);
    EXPECT_EQ(world.master()->get_class_pointer(""), nullptr);
}
