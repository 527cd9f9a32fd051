// The libFuzzer entry of a fuzz program: it runs the one target linked with it.
#include "FuzzTargets.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Fonts and pictures need a GUI application; a fuzzer never shows a window.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tolvane-fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    if (tolvane::fuzz::Targets().size() != 1) {
        std::fprintf(stderr, "a fuzz program links exactly one target\n");
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tolvane::fuzz::Targets().front().run(data, size);
    return 0;
}
