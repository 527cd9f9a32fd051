#include "FuzzTargets.h"

#include <cstdio>
#include <cstdlib>

namespace tolvane::fuzz {

std::vector<Target>& Targets() {
    static std::vector<Target> targets;
    return targets;
}

Registration::Registration(const char* name, TargetFunction run) {
    Targets().push_back({name, run});
}

void FuzzCheck(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

const char* SourceDir() {
    return TOLVANE_SOURCE_DIR;
}

} // namespace tolvane::fuzz
