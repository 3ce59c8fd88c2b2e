#pragma once
#include <cstddef>
#include <functional>

namespace pixmond {

// Runs job(0) ... job(count - 1) on every core; jobs must not share anything they change. The calling thread
// takes jobs too, and after each one it finishes calls between(done), with the number of jobs finished so far,
// where progress is shown; between returning false starts no further job. False when stopped so.
bool RunOnAllCores(size_t count, const std::function<void(size_t)>& job, const std::function<bool(size_t)>& between);

}  // namespace pixmond
