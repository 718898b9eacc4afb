// Several threads format at once with one formatter and one master table,
// each with its own tables and cell lists, all of them logging.
#include <gtest/gtest.h>

#include <thread>

#include "kq_test_tables.h"

TEST(Concurrency, SharedFormatterAndMasterTable) {
    kqtest::World world;
    world.add({"R", {{"id", 15, "", "", "", 0, "label"}, {"label", 15}}, {{"0", "C0"}}});
    world.sys_var("SV_A", "Analyser A");
    kqtest::TableSpec local{
        "L",
        {{"temp", 12, "%.1f", "degC", "degF"},
         {"mode", 9, "Off(0),On(1)"},
         {"comp", 15, "name=R.id,__no_free_edit__"},
         {"var", 15, "%s", "", "", 0, "", "analyser"},
         {"conc", 13, "@mode{[Off]float(%.2f)UNIT=ppm),[On]float(%.1f)UNIT=%)}", "ppm"}},
        {}};
    std::vector<int> rows;
    for (int r = 0; r < 20; ++r) {
        local.rows.push_back({std::to_string(r), std::to_string(r % 2), std::to_string(r % 3),
                              r % 2 ? "SV_A" : "SV_X", std::to_string(r * 1000)});
        rows.push_back(r);
    }
    KQ_FORMAT_DATA formatter(world.master());
    kqtest::LogCapture log;  // debug lines on: every thread logs
    auto format_all = [&] {
        auto live = kqtest::make_live(local);
        auto snap = kqtest::make_snapshot(local);
        std::vector<kq_formatted_col_data_struct> oldCols, newCols;
        for (int c = 0; c < 5; ++c) {
            oldCols.push_back({c, kqtest::cells(rows, "-")});
            newCols.push_back({c, kqtest::cells(rows, "-")});
        }
        formatter.GetFormattedValue(snap.get(), live.get(), oldCols, newCols);
        std::vector<std::string> all;
        for (const auto& c : newCols)
            for (const auto& v : kqtest::values(c.cells)) all.push_back(v);
        return all;
    };
    const auto expected = format_all();
    ASSERT_EQ(expected[20 + 1], "On");
    ASSERT_EQ(expected[80 + 3], "0.3 %");  // 3000 ppm
    std::vector<std::vector<std::string>> results(4);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 25; ++i) results[t] = format_all();
        });
    for (auto& th : threads) th.join();
    for (const auto& r : results) EXPECT_EQ(r, expected);
    EXPECT_FALSE(log.records().empty());
}
