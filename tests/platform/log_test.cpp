// Host log: records reach the installed sink intact, also from many threads.
#include <gtest/gtest.h>

#include <thread>

#include "kq_test_tables.h"

TEST(HostLog, RecordsCarryEverything) {
    kqtest::LogCapture log;
    DebugLog(static_cast<ERR_SEVERITY_ENUM>(3), static_cast<ERR_NUM_ENUM>(0), "kq_format_data", 41,
             "value %d of %s", 7, "x");
    SysLog(static_cast<ERR_SEVERITY_ENUM>(2), static_cast<ERR_NUM_ENUM>(2), "kq_format_data", 42,
           "plain");
    ASSERT_EQ(log.records().size(), 2u);
    const auto& d = log.records()[0];
    EXPECT_FALSE(d.sys);
    EXPECT_EQ(d.severity, 3);
    EXPECT_EQ(d.line, 41ul);
    EXPECT_EQ(d.file, "kq_format_data");
    EXPECT_EQ(d.message, "value 7 of x");
    EXPECT_TRUE(log.records()[1].sys);
    EXPECT_EQ(log.records()[1].number, 2);
    EXPECT_EQ(log.records()[1].message, "plain");
}

TEST(HostLog, ConcurrentLoggingLosesNothing) {
    kqtest::LogCapture log;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < 200; ++i)
                SysLog(static_cast<ERR_SEVERITY_ENUM>(0), static_cast<ERR_NUM_ENUM>(0), "f",
                       static_cast<unsigned long>(t), "%d", i);
        });
    for (auto& th : threads) th.join();
    EXPECT_EQ(log.records().size(), 800u);
}
