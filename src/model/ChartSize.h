#pragma once

#include <QSize>
#include <QString>

namespace tolvane {

// Chart size bars run 0..20: 500x350 at 0, 2000x1400 at 20, truncated at odd positions.
inline constexpr int kChartSizeMax = 20;

inline QSize ChartSizeForPosition(int position) {
    const int width = static_cast<int>(500 + position * 1500 / 20.0);
    const int height = static_cast<int>(350 + position * 1050 / 20.0);
    return {width, height};
}

// The size label: "1250X875".
inline QString ChartSizeLabel(QSize size) {
    return QStringLiteral("%1X%2").arg(size.width()).arg(size.height());
}

} // namespace tolvane
