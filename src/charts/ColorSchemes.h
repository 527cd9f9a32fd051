#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace tolvane {

enum class SchemeKind { Sequential, Diverging };

// A ColorBrewer colour scheme: its colours for 3 up to its most classes.
struct ColorScheme {
    const char* name;
    SchemeKind kind;
    bool colorBlindSafe;
    std::vector<std::vector<uint32_t>> sets; // sets[k] holds k + 3 colours, 0xRRGGBB
};

// The sequential schemes first, then the diverging ones.
const std::vector<ColorScheme>& ColorSchemes();
const ColorScheme* FindColorScheme(const QString& name);

// The colours of `classes` classes in platform order (red in the low byte): the scheme's
// own set where it has one; for more classes, even steps along its largest set; for two,
// the ends of its smallest.
std::vector<int32_t> SchemeColors(const ColorScheme& scheme, int classes);

} // namespace tolvane
