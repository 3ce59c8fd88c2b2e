#include "base/KillPoint.h"

#include <signal.h>

#include <atomic>
#include <cstdlib>

namespace pixmond {

void KillPoint() {
    static const long limit = [] {
        const char* value = std::getenv("PIXMOND_TEST_KILL_AT_STEP");
        return value ? std::atol(value) : 0L;
    }();
    if (limit <= 0) return;
    static std::atomic<long> steps{0};
    if (++steps == limit) ::raise(SIGKILL);
}

}  // namespace pixmond
