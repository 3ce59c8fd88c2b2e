#pragma once
#include <algorithm>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace pixmond {

// Independent jobs 0..count-1 done on a small pool of threads, their results taken in job order on the calling
// thread: whatever order the threads finish in, what the results say (messages, progress) comes out as if the
// jobs had run one after another. At most `window` results wait at once, so memory stays bounded however many
// jobs there are. `take` returning false stops the run: no job starts after that, and the ones already started
// are finished and taken in their turn (so nothing they did goes unreported).
class OrderedWork {
public:
    // Worker threads for bulk work on this machine: one per core, at least one, at most eight.
    static int DefaultWorkers() {
        return int(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
    }

    // work(job, worker) runs on worker thread `worker` (0..workers-1), so a caller can keep one reader per worker.
    // True when every result was taken; an exception thrown by a job is thrown again here, in its turn.
    template <class Result>
    static bool Run(int count, int workers, const std::function<Result(int job, int worker)>& work,
                    const std::function<bool(int job, Result& result)>& take, int window = 0) {
        if (count <= 0) return true;
        workers = std::clamp(workers, 1, count);
        if (workers == 1) {
            for (int job = 0; job < count; ++job) {
                Result result = work(job, 0);
                if (!take(job, result)) return false;
            }
            return true;
        }
        if (window < workers) window = 4 * workers;
        return Pool<Result>(count, window, work).Drain(workers, take);
    }

private:
    template <class Result>
    class Pool {
    public:
        Pool(int count, int window, const std::function<Result(int, int)>& work)
            : count_(count), window_(window), work_(work), slots_(size_t(window)), errors_(size_t(window)) {}

        bool Drain(int workers, const std::function<bool(int, Result&)>& take) {
            std::vector<std::thread> threads;
            for (int w = 0; w < workers; ++w) threads.emplace_back([this, w] { Work(w); });
            bool complete = true;
            int started = count_;  // after a stop, the jobs begun before it
            try {
                for (int job = 0; job < started; ++job) {
                    std::optional<Result> result;
                    std::exception_ptr error;
                    bool wake = false;
                    {
                        std::unique_lock lock(mutex_);
                        while (!slots_[Slot(job)].has_value() && !errors_[Slot(job)]) {
                            awaited_ = job;
                            ready_.wait(lock);
                        }
                        awaited_ = -1;
                        result.swap(slots_[Slot(job)]);
                        std::swap(error, errors_[Slot(job)]);
                        taken_ = job + 1;
                        // Waiting workers are woken once half the window is free, not at every slot: each
                        // wake-up then starts several jobs.
                        wake = idle_ > 0 && taken_ + window_ - next_ >= (window_ + 1) / 2;
                    }
                    if (wake) room_.notify_all();
                    if (error) std::rethrow_exception(error);
                    if (!take(job, *result) && complete) {
                        complete = false;
                        std::lock_guard lock(mutex_);
                        stop_ = true;
                        started = next_;
                    }
                }
            } catch (...) {
                Stop(threads);
                throw;
            }
            Stop(threads);
            return complete;
        }

    private:
        size_t Slot(int job) const { return size_t(job % window_); }

        void Work(int worker) {
            while (true) {
                int job;
                {
                    std::unique_lock lock(mutex_);
                    ++idle_;
                    room_.wait(lock, [&] { return stop_ || next_ >= count_ || next_ < taken_ + window_; });
                    --idle_;
                    if (stop_ || next_ >= count_) return;
                    job = next_++;
                }
                std::optional<Result> result;
                std::exception_ptr error;
                try {
                    result.emplace(work_(job, worker));
                } catch (...) {
                    error = std::current_exception();
                }
                bool awaited = false;
                {
                    std::lock_guard lock(mutex_);
                    slots_[Slot(job)] = std::move(result);
                    errors_[Slot(job)] = error;
                    awaited = awaited_ == job;
                }
                // Only the result the taker waits for is worth waking it; jobs are small, wake-ups are not.
                if (awaited) ready_.notify_one();
            }
        }

        void Stop(std::vector<std::thread>& threads) {
            {
                std::lock_guard lock(mutex_);
                stop_ = true;
            }
            room_.notify_all();
            for (std::thread& thread : threads) thread.join();
            threads.clear();
        }

        const int count_;
        const int window_;
        const std::function<Result(int, int)>& work_;
        std::mutex mutex_;
        std::condition_variable ready_;  // a result arrived
        std::condition_variable room_;   // a result was taken: a job further on may start
        int next_ = 0;                   // the next job to start
        int taken_ = 0;                  // results taken so far
        int awaited_ = -1;               // the job whose result the taker waits for, -1 when it does not wait
        int idle_ = 0;                   // workers waiting for room
        bool stop_ = false;
        std::vector<std::optional<Result>> slots_;
        std::vector<std::exception_ptr> errors_;
    };
};

}  // namespace pixmond
