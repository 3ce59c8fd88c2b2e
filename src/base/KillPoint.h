#pragma once

namespace pixmond {

// A hook for crash tests (scripts/crash-test.sh). With PIXMOND_TEST_KILL_AT_STEP=n in the environment, the n-th
// call kills the process with SIGKILL, the way a crash or a killed program ends it. Every step that changes files
// on disk calls it (each block written, each flush, each link and rename), so a script can stop the program
// between any two of them. Without the variable a call costs one comparison.
void KillPoint();

}  // namespace pixmond
