#include "charts/ColorSchemes.h"

#include "model/Colors.h"

#include <algorithm>
#include <cmath>

namespace tolvane {

const std::vector<ColorScheme>& ColorSchemes() {
    static const std::vector<ColorScheme> schemes{
#include "charts/ColorSchemeTable.inc"
    };
    return schemes;
}

const ColorScheme* FindColorScheme(const QString& name) {
    for (const ColorScheme& scheme : ColorSchemes())
        if (name == QLatin1String(scheme.name)) return &scheme;
    return nullptr;
}

std::vector<int32_t> SchemeColors(const ColorScheme& scheme, int classes) {
    const auto platform = [](uint32_t rgb) { return SwapRedBlue(static_cast<int32_t>(rgb)); };
    std::vector<int32_t> colors;
    const auto first = static_cast<int>(scheme.sets.front().size());
    const auto last = static_cast<int>(scheme.sets.back().size());
    if (classes >= first && classes <= last) {
        for (uint32_t rgb : scheme.sets[static_cast<size_t>(classes - first)])
            colors.push_back(platform(rgb));
        return colors;
    }
    if (classes < first) {
        const std::vector<uint32_t>& set = scheme.sets.front();
        colors.push_back(platform(set.front()));
        if (classes > 1) colors.push_back(platform(set.back()));
        return colors;
    }
    // More classes than the scheme has: blend neighbouring colours of its largest set.
    const std::vector<uint32_t>& set = scheme.sets.back();
    for (int k = 0; k < classes; ++k) {
        const double at = static_cast<double>(k) * (last - 1) / (classes - 1);
        const auto lo = static_cast<size_t>(std::floor(at));
        const size_t hi = std::min(lo + 1, set.size() - 1);
        const double t = at - static_cast<double>(lo);
        const auto mix = [&](int shift) {
            const double a = (set[lo] >> shift) & 0xFF;
            const double b = (set[hi] >> shift) & 0xFF;
            return static_cast<int>(std::lround(a + (b - a) * t));
        };
        colors.push_back(PlatformRgb(mix(16), mix(8), mix(0)));
    }
    return colors;
}

} // namespace tolvane
