// Host tables: values kept as the target keeps them, every read defined.
#include <gtest/gtest.h>

#include "kq_test_tables.h"

namespace {

// One column per type code, text values stored through them.
kqtest::TableSpec mixed() {
    return {"T",
            {{"b", 1}, {"u", 8}, {"i", 9}, {"f", 12}, {"d", 13}, {"s", 15}},
            {{"A", "-1", "-5", "0.1", "2.5", "hello"}, {"", "", "2147483648"}}};
}

// A cell read as T into a variable that held `start`.
template <class T>
T read(KWTABLE& t, int column, int row, T start = T()) {
    t.get(column, row, start);
    return start;
}

}  // namespace

TEST(HostTable, ReadsFollowTheTypeCode) {
    auto t = kqtest::make_live(mixed());
    EXPECT_EQ(read<std::string>(*t, 0, 0), "65");  // a byte by its code
    EXPECT_EQ(read<std::string>(*t, 1, 0), "4294967295");
    EXPECT_EQ(read<std::string>(*t, 2, 1), "-2147483648");
    // Integers are 32-bit on every host.
    EXPECT_EQ(read<long>(*t, 1, 0), -1);
    EXPECT_EQ(read<unsigned long>(*t, 1, 0), 4294967295ul);
    EXPECT_EQ(read<unsigned long>(*t, 2, 0), 4294967291ul);
    EXPECT_EQ(read<long>(*t, 0, 0), 65);
}

TEST(HostTable, OutOfRangeReadsAndMetadata) {
    auto t = kqtest::make_live(mixed());
    kqhost::TableCopy snap(kqtest::make_data(mixed()));
    EXPECT_EQ(read<std::string>(*t, 0, 2, "keep"), "");
    EXPECT_EQ(read<long>(*t, -1, 0, 9), 0);
    EXPECT_EQ(read<float>(*t, 6, 0, 9), 0.0f);
    char ch = 9;
    snap.Get(0ul, 99ul, ch);
    EXPECT_EQ(ch, 0);
    EXPECT_EQ(t->get_us_format(42), "");
    EXPECT_EQ(t->get_int_type(-1), 0);
    kqtest::TableSpec spec{"T", {{"a", 9}, {"b", 15}, {"a", 12}}, {}};
    spec.columns[1].internal_name = "inner";
    auto m = kqtest::make_live(spec);
    EXPECT_EQ(m->get_column_number("a", true), 0);  // the first of that name
    EXPECT_EQ(m->get_column_number("A", false), -1);
    EXPECT_EQ(m->get_internal_name(0), "a");
    EXPECT_EQ(m->get_internal_name(1), "inner");
    kqtest::World world;
    KWTABLE* streams = world.add({"STREAMS", {{"name"}}, {}});
    EXPECT_EQ(world.master()->get_class_pointer("STREAMS"), streams);
    EXPECT_EQ(world.master()->get_class_pointer("streams"), nullptr);
}
