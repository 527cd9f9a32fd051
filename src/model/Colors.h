#pragma once

#include <cstdint>

namespace tolvane {

// Screen colours ("platform colours") keep red in the low byte; chart files keep 0xRRGGBB.
// Exchanges bytes 0 and 2 and drops the top byte, so it converts both ways.
constexpr int32_t SwapRedBlue(int32_t c) {
    const auto u = static_cast<uint32_t>(c);
    return static_cast<int32_t>(((u & 0xFFu) << 16) | (u & 0xFF00u) | ((u >> 16) & 0xFFu));
}

constexpr int32_t kWhite = 0xFFFFFF;  // the same in both forms
constexpr int32_t kSilver = 0xC0C0C0; // the same in both forms
constexpr int32_t kGrey = 0x808080;   // 8421504

constexpr int32_t PlatformRgb(int r, int g, int b) {
    return r + 256 * g + 65536 * b;
}
constexpr int RedOf(int32_t platform) {
    return platform & 0xFF;
}
constexpr int GreenOf(int32_t platform) {
    return (platform >> 8) & 0xFF;
}
constexpr int BlueOf(int32_t platform) {
    return (platform >> 16) & 0xFF;
}

} // namespace tolvane
