// Several threads format at once with one formatter and one master table,
// each with its own tables and cell lists, all of them logging.
#include <gtest/gtest.h>

#include <thread>

#include "kq_test_tables.h"

namespace {

using Columns = std::vector<kq_formatted_col_data_struct>;

kqtest::TableSpec local_table() {
    kqtest::TableSpec spec{
        "LOCAL",
        {{"temp", 12, "%.1f", "degC", "degF"},
         {"count", 9, "%5ld"},
         {"mode", 9, "Off(0),On(1)"},
         {"comp", 15, "name=COMPONENTS.id,__no_free_edit__"},
         {"var", 15, "%s"},
         {"bad", 13, "%n"},
         {"when", 9, "__DATE_TIME__(hh:mm)", "min"},
         {"kind", 9, "a(0),b(1)"},
         {"conc", 13, "@kind{[a]float(%.2f)UNIT=ppm),[b]float(%.1f)UNIT=%)}", "ppm"}},
        {}};
    spec.columns[4].component_sel = "analyser";
    for (int r = 0; r < 20; ++r)
        spec.rows.push_back({std::to_string(r), std::to_string(r * 3), std::to_string(r % 3),
                             std::to_string(r % 4), r % 2 ? "SV_A" : "SV_UNKNOWN", "1",
                             std::to_string(r * 61), std::to_string(r % 2),
                             std::to_string(r * 1000)});
    return spec;
}

}  // namespace

TEST(Concurrency, SharedFormatterAndMasterTable) {
    kqtest::World world;
    kqtest::TableSpec components{"COMPONENTS", {{"id", 15}, {"label", 15}}, {}};
    components.columns[0].label_col = "label";
    for (int i = 0; i < 3; ++i)
        components.rows.push_back({std::to_string(i), "C" + std::to_string(i)});
    world.add(components);
    world.sys_var("SV_A", "Analyser A");
    KQ_FORMAT_DATA formatter(world.master());
    kqtest::LogCapture log;  // debug lines on: every thread logs

    // The expected strings come from one formatting run on this thread.
    auto format_all = [&](Columns& newCols) {
        auto spec = local_table();
        auto live = kqtest::make_live(spec);
        auto snap = kqtest::make_snapshot(spec);
        std::vector<int> rows;
        for (int r = 0; r < 21; ++r) rows.push_back(r);
        Columns oldCols;
        for (int c = 0; c < 9; ++c) {
            oldCols.push_back({c, kqtest::cells(rows, "-")});
            newCols.push_back({c, kqtest::cells(rows, "-")});
        }
        formatter.GetFormattedValue(snap.get(), live.get(), oldCols, newCols);
    };
    Columns expected;
    format_all(expected);
    ASSERT_EQ(expected[2].cells[1].value, "On");
    ASSERT_EQ(expected[6].cells[2].value, "02:02");  // 122 minutes
    ASSERT_EQ(expected[8].cells[3].value, "0.3 %");  // 3000 ppm
    log.clear();

    constexpr int kThreads = 4;
    std::vector<Columns> results(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 25; ++i) {
                results[t].clear();
                format_all(results[t]);
            }
        });
    for (auto& th : threads) th.join();
    for (int t = 0; t < kThreads; ++t)
        for (size_t c = 0; c < expected.size(); ++c)
            EXPECT_EQ(kqtest::values(results[t][c].cells), kqtest::values(expected[c].cells))
                << "thread " << t << " column " << c;
    EXPECT_FALSE(log.records().empty());
}
