#include "base/ParallelJobs.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace pixmond {

bool RunOnAllCores(size_t count, const std::function<void(size_t)>& job, const std::function<bool(size_t)>& between) {
    std::atomic<size_t> next{0}, done{0};
    std::atomic<bool> stop{false};
    auto take = [&] {
        const size_t i = stop ? count : next++;
        return i < count ? i : count;
    };
    const size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t helpers = std::min(cores, count) > 1 ? std::min(cores, count) - 1 : 0;
    {
        std::vector<std::jthread> threads;
        for (size_t t = 0; t < helpers; ++t)
            threads.emplace_back([&] {
                for (size_t i = take(); i < count; i = take()) {
                    job(i);
                    ++done;
                }
            });
        for (size_t i = take(); i < count; i = take()) {
            job(i);
            ++done;
            if (!between(done)) stop = true;
        }
    }
    // The helpers may have finished the last jobs after the caller's last look.
    if (!stop) between(done);
    return !stop;
}

}  // namespace pixmond
