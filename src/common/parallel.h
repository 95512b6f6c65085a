#pragma once
// Running a few jobs at the same time: the one place where the core starts threads.
//
// runOnThreads(n, body) runs body(0) .. body(n - 1) side by side, body(0) on the calling thread,
// and returns once every one has returned. Where the standard library has no threads (the
// Windows cross build's MinGW with the win32 thread model has no std::thread), or n is 1, the
// bodies run one after another on the calling thread, in order 0, 1, .., n - 1. The bodies must
// therefore not wait for each other. A body that throws does not stop the others; once all have
// returned, the exception of the lowest-numbered body that threw is thrown again.
//
// Work split by index goes through a JobCounter, from which every body takes the next index
// until none is left: each index is handed out once, whatever the number of threads.
#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>

namespace cw {

// Whether this build of the program can start threads at all.
bool threadsAvailable();

// The most threads the core starts for one piece of work.
inline constexpr unsigned kMaxWorkThreads = 8;

// The machine's cores, 1..kMaxWorkThreads; 1 where threads are not available.
unsigned machineThreads();

void runOnThreads(unsigned n, const std::function<void(unsigned body)>& body);

// first and second at the same time when threads is 2 or more (each on whichever thread is free
// first), else first and then second (not run when first threw). Once both have returned, the
// exception of first is thrown again before that of second.
void runSideBySide(unsigned threads, const std::function<void()>& first, const std::function<void()>& second);

// Hands out 0 .. count - 1, each once, to whichever thread asks first.
class JobCounter {
public:
    explicit JobCounter(std::size_t count) : count_(count) {}
    std::optional<std::size_t> next() {
        const std::size_t index = next_.fetch_add(1, std::memory_order_relaxed);
        if (index >= count_) return std::nullopt;
        return index;
    }

private:
    std::size_t count_;
    std::atomic<std::size_t> next_{0};
};

}  // namespace cw
