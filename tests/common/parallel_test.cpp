// Running jobs side by side: every index handed out once, every body run, and the exception of
// the lowest body that threw passed on once all have returned.
#include "common/parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

namespace cw {
namespace {

TEST(RunOnThreads, EveryIndexIsTakenOnceWhateverTheThreads) {
    for (const unsigned threads : {1u, 2u, 3u, kMaxWorkThreads}) {
        JobCounter counter(1000);
        std::vector<std::atomic<int>> taken(1000);
        std::vector<int> bodies(threads, 0);
        runOnThreads(threads, [&](unsigned body) {
            ++bodies[body];
            while (const auto i = counter.next()) taken[*i].fetch_add(1);
        });
        for (std::size_t i = 0; i < taken.size(); ++i) ASSERT_EQ(taken[i].load(), 1) << i << " on " << threads;
        EXPECT_EQ(bodies, std::vector<int>(threads, 1)) << threads;
        EXPECT_FALSE(counter.next().has_value());
    }
}

TEST(RunOnThreads, TheLowestBodysExceptionIsThrownAfterAllReturned) {
    for (const unsigned threads : {1u, 2u, 4u}) {
        std::atomic<unsigned> returned{0};
        try {
            runOnThreads(threads, [&](unsigned body) {
                ++returned;
                if (body > 0) throw std::runtime_error("body " + std::to_string(body));
            });
            EXPECT_EQ(threads, 1u) << "nothing thrown on " << threads << " threads";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), "body 1") << threads;
        }
        EXPECT_EQ(returned.load(), threads);
    }
}

TEST(RunSideBySide, RunsBothAndThrowsTheFirstsExceptionFirst) {
    for (const unsigned threads : {1u, 2u}) {
        int first = 0, second = 0;
        runSideBySide(threads, [&] { ++first; }, [&] { ++second; });
        EXPECT_EQ(first, 1);
        EXPECT_EQ(second, 1);
        try {
            runSideBySide(
                threads, [] { throw std::runtime_error("first"); }, [] { throw std::runtime_error("second"); });
            ADD_FAILURE() << "nothing thrown on " << threads << " threads";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), "first");
        }
    }
}

}  // namespace
}  // namespace cw
