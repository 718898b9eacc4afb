// Host log: records from many threads at once all reach the sink.
#include <gtest/gtest.h>

#include <thread>

#include "kq_test_tables.h"

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
