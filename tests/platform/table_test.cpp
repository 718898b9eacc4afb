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

// A table read for a few rows holds just those; a read of another row
// brings in the whole column through the loader, once.
TEST(HostTable, HeldRowsAndTheLoader) {
    for (int type : {9, 15}) {
        kqhost::TableData data("T");
        data.add_column({"v", type});
        data.set_row_count(1000);
        int loads = 0;
        data.set_column_loader([&loads](kqhost::TableData& t, int column) {
            ++loads;
            for (int row = 0; row < t.row_count(); ++row) t.store_integer(column, row, row * 2);
            t.mark_loaded(column);
        });
        data.hold_rows(0, {3, 998});
        for (int row : {3, 5, 998}) data.store_integer(0, row, -row);  // row 5 is not held
        std::string text;
        data.read(0, 998, text);
        EXPECT_EQ(text, "-998") << type;
        data.read(0, 3, text);
        EXPECT_EQ(text, "-3") << type;
        EXPECT_EQ(loads, 0) << type;
        long value = 0;
        data.read(0, 5, value);
        EXPECT_EQ(value, 10) << type;
        data.read(0, 999, value);
        EXPECT_EQ(value, 1998) << type;
        EXPECT_EQ(loads, 1) << type;
        data.set_row_count(4);  // cut: the rows past the count are gone
        data.read(0, 998, value);
        EXPECT_EQ(value, 0) << type;
    }
}

// Texts are packed as a loader stores them, row after row; a cell stored
// again or out of order, a NULL over a value and a cut of the rows read back
// as stored.
TEST(HostTable, TextsStoredInAnyOrder) {
    kqhost::TableData data("T");
    data.add_column({"s", 15});
    data.add_column({"d", 13});
    data.set_row_count(6);
    const auto texts = [&data] {
        std::vector<std::string> all(6);
        for (int row = 0; row < 6; ++row) data.read(0, row, all[static_cast<size_t>(row)]);
        return all;
    };
    data.store_text(0, 0, "zero");
    data.store_text(0, 3, "three");  // rows 1 and 2 passed over
    data.store_text(0, 1, "one");    // before the last one stored
    data.store_text(0, 0, "ZERO");   // again
    data.store_null(0, 3);
    data.store_integer(0, 4, 44);
    data.store_real(1, 2, 2.5);
    EXPECT_EQ(texts(), (std::vector<std::string>{"ZERO", "one", "", "", "44", ""}));
    double d = 9;
    data.read(1, 2, d);
    EXPECT_EQ(d, 2.5);
    data.set_row_count(2);
    data.set_row_count(6);
    data.store_text(0, 5, "five");
    EXPECT_EQ(texts(), (std::vector<std::string>{"ZERO", "one", "", "", "", "five"}));
}
