#include "render/StagedChart.h"

#include "model/ChartModel.h"
#include "model/NumberFormat.h"
#include "platform/XmlDocument.h"

#include <algorithm>
#include <cmath>

namespace tolvane {

QString StagedFileFor(MovieKind kind) {
    switch (kind) {
    case MovieKind::Region:
        return QStringLiteral("province.xml");
    case MovieKind::City:
        return QStringLiteral("city.xml");
    case MovieKind::RegionCity:
        return QStringLiteral("rc.xml");
    case MovieKind::Flag:
        return QStringLiteral("ChartFlag1.xml");
    case MovieKind::Blank:
        break;
    }
    return {};
}

std::optional<uint32_t> StagedColor(int32_t value) {
    if (value < 0 || value > 0xFFFFFF) return std::nullopt;
    return static_cast<uint32_t>(value);
}

std::optional<uint32_t> ParseColorText(const QString& text) {
    const std::optional<int32_t> v = TryParseInt(text);
    return v ? StagedColor(*v) : std::nullopt;
}

double StagedValue(double value) {
    return std::isfinite(value) ? value : 0;
}

double StagedScale(double value) {
    return std::clamp(StagedValue(value), 0.0, 1000.0);
}

void SettleRegion(StagedRegion& region) {
    if (region.shortName == kNoDataMark) region.color.reset();
}

namespace {

double NumberOr0(const QString& text) {
    return StagedValue(TryParseFloat(text).value_or(0));
}

int IntOr(const QString& text, int fallback) {
    const std::optional<int32_t> v = TryParseInt(text);
    return v ? *v : fallback;
}

double BubbleScale(const QString& text) {
    return StagedScale(NumberOr0(text));
}

StagedRegion ReadRegion(const XmlInElement& e) {
    StagedRegion r;
    for (const XmlInElement c : e) {
        if (c.is("name"))
            r.name = c.text();
        else if (c.is("shortname"))
            r.shortName = c.text();
        else if (c.is("bgcolor"))
            r.color = ParseColorText(c.text());
        else if (c.is("value"))
            r.value = NumberOr0(c.text());
        else if (c.is("shade"))
            r.shade = IntOr(c.text(), 1);
    }
    SettleRegion(r);
    return r;
}

StagedCity ReadCity(const XmlInElement& e) {
    StagedCity city;
    for (const XmlInElement c : e) {
        if (c.is("name"))
            city.name = c.text();
        else if (c.is("country"))
            city.region = c.text();
        else if (c.is("bgcolor"))
            city.color = ParseColorText(c.text());
        else if (c.is("value"))
            city.value = NumberOr0(c.text());
        else if (c.is("scale"))
            city.scale = BubbleScale(c.text());
    }
    return city;
}

void ReadLegend(const XmlInElement& block, StagedChart& out) {
    int count = 0;
    for (const XmlInElement c : block) {
        if (c.is("showplegend")) {
            out.showLegend = TryParseBool(c.text()).value_or(false);
        } else if (c.is("plegendcount")) {
            count = IntOr(c.text(), 0);
        } else if (c.is("plegend")) {
            StagedLegendItem item;
            for (const XmlInElement f : c) {
                if (f.is("text"))
                    item.text = f.text();
                else if (f.is("color"))
                    item.color = ParseColorText(f.text());
                else if (f.is("scale"))
                    item.scale = BubbleScale(f.text());
                else if (f.is("shade"))
                    item.shade = IntOr(f.text(), 1);
            }
            out.legend.push_back(std::move(item));
        }
    }
    out.legendCount = std::clamp(count, 0, static_cast<int>(out.legend.size()));
}

void ReadFlags(const XmlInElement& root, StagedChart& out) {
    for (const XmlInElement c : root) {
        if (c.is("title")) {
            out.title = c.text();
            // An empty title is written as "." so that the element is never empty.
            if (out.title.trimmed() == u".") out.title.clear();
        } else if (c.is("item")) {
            StagedFlag flag;
            for (const XmlInElement f : c) {
                if (f.is("name"))
                    flag.code = f.text().trimmed();
                else if (f.is("data"))
                    flag.data = f.text().trimmed();
                else if (f.is("size"))
                    flag.size = std::clamp(NumberOr0(f.text()), -1000.0, 1000.0);
            }
            out.flags.push_back(std::move(flag));
        }
    }
}

} // namespace

StagedChart ReadStagedChart(MovieKind kind, const XmlInElement& root) {
    StagedChart out;
    if (root.isNull()) return out;
    if (kind == MovieKind::Flag) {
        ReadFlags(root, out);
        return out;
    }
    for (const XmlInElement c : root) {
        if (c.is("border")) {
            out.border = ParseColorText(c.text());
        } else if (c.is("showtext")) {
            out.showText = TryParseBool(c.text()).value_or(false);
        } else if (c.is("plegends")) {
            ReadLegend(c, out);
        } else if (kind == MovieKind::Region && c.is("province")) {
            out.regions.push_back(ReadRegion(c));
        } else if (kind == MovieKind::City && c.is("city")) {
            out.cities.push_back(ReadCity(c));
        } else if (kind == MovieKind::RegionCity && c.is("provinces")) {
            // The movie's copy names its region entries "city" too.
            for (const XmlInElement r : c)
                if (r.is("city") || r.is("province")) out.regions.push_back(ReadRegion(r));
        } else if (kind == MovieKind::RegionCity && c.is("cities")) {
            for (const XmlInElement r : c)
                if (r.is("city")) out.cities.push_back(ReadCity(r));
        }
    }
    return out;
}

} // namespace tolvane
