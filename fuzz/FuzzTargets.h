#pragma once

// Fuzz targets: functions that take any bytes a user's file could hold and must neither
// crash, hang nor break a promise of the program (checked with FuzzCheck). Each is built
// into a libFuzzer program of its own (TOLVANE_FUZZ=ON) and replayed by the test suite on
// the inputs kept in fuzz/crashers/<name>/ and fuzz/seeds/<name>/.
//
//   TOLVANE_FUZZ_TARGET(options_file) {
//       ReadOptionsFile(QByteArray(reinterpret_cast<const char*>(data), int(size)));
//   }
//
// in fuzz/targets/options_file.cpp is all a new target takes.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tolvane::fuzz {

using TargetFunction = void (*)(const uint8_t* data, size_t size);

struct Target {
    const char* name;
    TargetFunction run;
};

// Every target linked into the program.
std::vector<Target>& Targets();

struct Registration {
    Registration(const char* name, TargetFunction run);
};

// A broken promise: reported with `what` and the program stops, so the fuzzer keeps the
// input and a test that replays it fails.
void FuzzCheck(bool holds, const char* what);

// The folder of the program's sources, for fixtures the targets draw on.
const char* SourceDir();

} // namespace tolvane::fuzz

#define TOLVANE_FUZZ_TARGET(name)                                                                  \
    static void FuzzTarget_##name(const uint8_t* data, size_t size);                               \
    static const ::tolvane::fuzz::Registration kFuzzRegistration_##name(#name, FuzzTarget_##name); \
    static void FuzzTarget_##name([[maybe_unused]] const uint8_t* data,                            \
                                  [[maybe_unused]] size_t size)
