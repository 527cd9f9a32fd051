#include "mapimport/DefaultChart.h"

#include "charts/ColorByData.h"
#include "model/Colors.h"

#include <algorithm>
#include <array>

namespace tolvane::mapimport {

namespace {

constexpr std::array<int32_t, 9> kPalette{0xFBB4AE, 0xB3CDE3, 0xCCEBC5, 0xDECBE4, 0xFED9A6,
                                          0xFFFFCC, 0xE5D8BD, 0xFDDAEC, 0xD9E8F5};
constexpr int32_t kCityColour = 0xF46D43;
constexpr int32_t kLegendFrom = 0xF0FFE0, kLegendTo = 0x267114;
constexpr int kRegionLegendItems = 6, kCityLegendItems = 4;
constexpr size_t kNamesShownUpTo = 50; // more names than this crowd the picture

LegendBlock DefaultLegend(int items, double scale) {
    LegendBlock legend;
    legend.count = items;
    for (int k = 1; k <= items; ++k) {
        TLegend item;
        item.Id = k;
        item.Text = QStringLiteral("Legend %1").arg(k);
        // Channels are independent, so the gradient works on 0xRRGGBB as it does on screen colours.
        item.Color = GradientBandColor(kLegendFrom, kLegendTo, k - 1, items);
        item.Scale = scale;
        legend.items.push_back(item);
    }
    return legend;
}

} // namespace

std::vector<std::vector<uint32_t>> Neighbours(const Topology& topo) {
    std::vector<std::vector<uint32_t>> users(topo.arcCount());
    for (size_t f = 0; f < topo.featureCount(); ++f) {
        const uint32_t firstRing = topo.polygonStart[topo.featureStart[f]];
        const uint32_t endRing = topo.polygonStart[topo.featureStart[f + 1]];
        for (uint32_t k = topo.ringStart[firstRing]; k < topo.ringStart[endRing]; ++k) {
            const int32_t ref = topo.ringArcs[k];
            auto& u = users[static_cast<size_t>(ref < 0 ? ~ref : ref)];
            if (u.empty() || u.back() != f) u.push_back(static_cast<uint32_t>(f));
        }
    }
    std::vector<std::vector<uint32_t>> out(topo.featureCount());
    for (const auto& u : users)
        for (const uint32_t a : u)
            for (const uint32_t b : u)
                if (a != b) out[a].push_back(b);
    for (auto& n : out) {
        std::sort(n.begin(), n.end());
        n.erase(std::unique(n.begin(), n.end()), n.end());
    }
    return out;
}

std::vector<int32_t> ColourRegions(const std::vector<std::vector<uint32_t>>& neighbours) {
    std::vector<uint32_t> order(neighbours.size());
    for (uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        return neighbours[a].size() > neighbours[b].size();
    });
    std::vector<int> colour(neighbours.size(), -1);
    std::array<size_t, kPalette.size()> used{};
    for (const uint32_t r : order) {
        std::array<bool, kPalette.size()> taken{};
        for (const uint32_t n : neighbours[r])
            if (colour[n] >= 0) taken[static_cast<size_t>(colour[n])] = true;
        int best = -1;
        for (size_t c = 0; c < kPalette.size(); ++c)
            if (!taken[c] && (best < 0 || used[c] < used[static_cast<size_t>(best)]))
                best = static_cast<int>(c);
        colour[r] = std::max(best, 0);
        ++used[static_cast<size_t>(colour[r])];
    }
    std::vector<int32_t> out;
    out.reserve(colour.size());
    for (const int c : colour)
        out.push_back(kPalette[static_cast<size_t>(c)]);
    return out;
}

namespace {

// One item per entry in `order`, numbered from 1; `fill` sets what differs by kind.
template <typename Fill>
ChartFileData DefaultChart(const std::vector<QString>& names, const std::vector<uint32_t>& order,
                           LegendBlock legend, Fill fill) {
    ChartFileData data;
    data.regions = static_cast<int>(order.size());
    data.border = QString::number(kSilver);
    data.showText = order.size() <= kNamesShownUpTo;
    data.items.reserve(order.size());
    for (const uint32_t i : order) {
        TProvince p;
        p.Id = static_cast<int32_t>(data.items.size() + 1);
        p.Name = names[i];
        fill(p, i);
        data.items.push_back(std::move(p));
    }
    data.legend = std::move(legend);
    return data;
}

} // namespace

ChartFileData DefaultRegionChart(const std::vector<QString>& names,
                                 const std::vector<QString>& shortNames,
                                 const std::vector<int32_t>& colours,
                                 const std::vector<uint32_t>& order) {
    return DefaultChart(names, order, DefaultLegend(kRegionLegendItems, 0),
                        [&](TProvince& p, uint32_t i) {
                            p.ShortName = shortNames[i];
                            p.Color = colours[i];
                        });
}

ChartFileData DefaultCityChart(const std::vector<QString>& names,
                               const std::vector<QString>& regions,
                               const std::vector<uint32_t>& order) {
    return DefaultChart(names, order, DefaultLegend(kCityLegendItems, 100),
                        [&](TProvince& c, uint32_t i) {
                            c.Country = regions[i];
                            c.Color = kCityColour;
                            c.Scale = 100;
                        });
}

} // namespace tolvane::mapimport
