#include "common/parallel.h"

#include <algorithm>
#include <array>
#include <exception>
#include <system_error>
#include <vector>

// libstdc++ built without a thread layer (MinGW's win32 thread model) declares no std::thread.
#if defined(__GLIBCXX__) && !defined(_GLIBCXX_HAS_GTHREADS)
#define CW_NO_THREADS 1
#else
#define CW_NO_THREADS 0
#include <thread>
#endif

namespace cw {

bool threadsAvailable() { return CW_NO_THREADS == 0; }

unsigned machineThreads() {
#if CW_NO_THREADS
    return 1;
#else
    return std::clamp(std::thread::hardware_concurrency(), 1u, kMaxWorkThreads);
#endif
}

void runOnThreads(unsigned n, const std::function<void(unsigned body)>& body) {
    std::vector<std::exception_ptr> errors(n);
    const auto run = [&](unsigned i) {
        try {
            body(i);
        } catch (...) {
            errors[i] = std::current_exception();
        }
    };
#if CW_NO_THREADS
    for (unsigned i = 0; i < n; ++i) run(i);
#else
    std::vector<std::thread> threads;
    threads.reserve(n);
    // Bodies that got no thread of their own (the system refused one) run here after body(0).
    unsigned firstUnstarted = n;
    for (unsigned i = 1; i < n; ++i) {
        try {
            threads.emplace_back(run, i);
        } catch (const std::system_error&) {
            firstUnstarted = i;
            break;
        }
    }
    if (n > 0) run(0);
    for (unsigned i = firstUnstarted; i < n; ++i) run(i);
    for (std::thread& t : threads) t.join();
#endif
    for (const std::exception_ptr& e : errors)
        if (e) std::rethrow_exception(e);
}

void runSideBySide(unsigned threads, const std::function<void()>& first, const std::function<void()>& second) {
    if (threads < 2 || !threadsAvailable()) {
        first();
        second();
        return;
    }
    // Each thread takes whichever of the two is left, so that a helper thread slow to start
    // leaves both to the caller rather than keeping it waiting.
    JobCounter jobs(2);
    std::array<std::exception_ptr, 2> errors;
    runOnThreads(2, [&](unsigned) {
        while (const auto job = jobs.next()) {
            try {
                *job == 0 ? first() : second();
            } catch (...) {
                errors[*job] = std::current_exception();
            }
        }
    });
    for (const std::exception_ptr& e : errors)
        if (e) std::rethrow_exception(e);
}

}  // namespace cw
