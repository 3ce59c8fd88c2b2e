#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "base/OrderedWork.h"

namespace pixmond {
namespace {

// Jobs that finish out of order still hand their results over in order, never run ahead of the window, and use
// only the worker numbers given; after a stop no job starts, and every job started is still taken.
TEST(OrderedWork, ResultsComeInJobOrderWithinTheWindowAndAStopEndsTheRun) {
    for (int stopAt : {-1, 5}) {
        std::atomic<int> taken{0}, started{0}, aheadOfWindow{0}, badWorker{0};
        std::vector<int> order;
        const bool complete = OrderedWork::Run<int>(
            40, 3,
            [&](int job, int worker) {
                ++started;
                if (job > taken + 6) ++aheadOfWindow;
                if (worker < 0 || worker >= 3) ++badWorker;
                std::this_thread::sleep_for(std::chrono::microseconds(300 * ((40 - job) % 4)));
                return job * 10;
            },
            [&](int job, int& result) {
                order.push_back(result / 10);
                taken = job + 1;
                return job != stopAt;
            },
            6);
        EXPECT_EQ(complete, stopAt < 0);
        EXPECT_EQ(aheadOfWindow, 0);
        EXPECT_EQ(badWorker, 0);
        EXPECT_EQ(int(order.size()), started.load());
        for (int i = 0; i < int(order.size()); ++i) EXPECT_EQ(order[size_t(i)], i);
        if (stopAt < 0) EXPECT_EQ(order.size(), 40u);
        else EXPECT_LE(started, stopAt + 1 + 6);
    }
}

TEST(OrderedWork, AFailingJobFailsTheRunInItsTurn) {
    std::vector<int> order;
    EXPECT_THROW(OrderedWork::Run<int>(
                     20, 2,
                     [](int job, int) {
                         if (job == 7) throw std::runtime_error("job 7");
                         return job;
                     },
                     [&](int, int& result) {
                         order.push_back(result);
                         return true;
                     }),
                 std::runtime_error);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
}

}  // namespace
}  // namespace pixmond
