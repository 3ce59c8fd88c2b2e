// Where the targets that must go through files put them: a memory-backed folder when the machine has one, so that
// the writers' flushes to disk (made for every save) do not bound the run to a few hundred inputs a second.
#pragma once

#include <unistd.h>

#include <string>

namespace fuzzing {

// A path in the scratch folder, unique to this process: "<folder>/fuzz-<pid>-<name>".
inline std::string ScratchPath(const std::string& name) {
    static const std::string folder = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return folder + "/fuzz-" + std::to_string(::getpid()) + "-" + name;
}

}  // namespace fuzzing
