#include "charts/ChartFile.h"

#include "model/NumberFormat.h"
#include "model/UserError.h"
#include "platform/XmlDocument.h"

#include <algorithm>
#include <bit>
#include <future>

namespace tolvane {

namespace {

bool HasShade(ChartKind kind) {
    return kind == ChartKind::Shade;
}

// Which children an item of a list carries.
struct ItemLayout {
    bool country = false; // "country" instead of "shortname"
    bool scale = false;
    bool shade = false;
};

ItemLayout RegionItems(ChartKind kind) {
    return {false, false, HasShade(kind)};
}
constexpr ItemLayout kCityItems{true, true, false};

TProvince ReadItem(const XmlInElement& element, ItemLayout layout) {
    TProvince p;
    p.Id = element.id();
    for (const XmlInElement child : element) {
        if (child.is("name"))
            p.Name = child.text();
        else if (child.is("bgcolor"))
            p.Color = ParseInt(child.text());
        else if (child.is("value"))
            p.Value = ParseFloat(child.text());
        else if (!layout.country && child.is("shortname"))
            p.ShortName = child.text();
        else if (layout.country && child.is("country"))
            p.Country = child.text();
        else if (layout.scale && child.is("scale"))
            p.Scale = ParseFloat(child.text());
        else if (layout.shade && child.is("shade"))
            p.Shade = ParseInt(child.text());
    }
    return p;
}

// A chart file holds one per region: its numbers go in without a QString between.
void WriteItem(XmlOutElement parent, const char* element, const TProvince& p, ItemLayout layout) {
    XmlOutElement e = parent.addChild(element);
    e.setId(p.Id);
    e.addText("name", p.Name);
    if (layout.country)
        e.addText("country", p.Country);
    else
        e.addText("shortname", p.ShortName);
    e.addNumber("bgcolor", p.Color);
    e.addUtf8("value", FormatGeneralText(p.Value));
    if (layout.scale) e.addText("scale", FormatFixed(p.Scale, 0));
    if (layout.shade) e.addNumber("shade", p.Shade);
}

LegendBlock ReadLegend(const XmlInElement& block, ChartKind kind) {
    LegendBlock legend;
    for (const XmlInElement child : block) {
        if (child.is("showplegend")) {
            legend.show = ParseBool(child.text());
        } else if (child.is("plegendcount")) {
            legend.count = ParseInt(child.text());
        } else if (child.is("plegend")) {
            TLegend item;
            item.Id = child.id();
            for (const XmlInElement field : child) {
                if (field.is("text"))
                    item.Text = field.text();
                else if (field.is("color"))
                    item.Color = ParseInt(field.text());
                else if (kind == ChartKind::City && field.is("scale"))
                    item.Scale = ParseFloat(field.text());
                else if (kind == ChartKind::Shade && field.is("shade"))
                    item.Shade = ParseInt(field.text());
            }
            legend.items.push_back(std::move(item));
        }
    }
    return legend;
}

void WriteLegend(XmlOutElement root, const LegendBlock& legend, ChartKind kind) {
    XmlOutElement block = root.addChild("plegends");
    block.addText("showplegend", BoolText(legend.show));
    block.addText("plegendcount", QString::number(legend.count));
    for (const TLegend& item : legend.items) {
        XmlOutElement e = block.addChild("plegend");
        e.setId(item.Id);
        e.addText("text", item.Text);
        e.addText("color", QString::number(item.Color));
        if (kind == ChartKind::City)
            e.addText("scale", FormatFixed(item.Scale, 0));
        else if (kind == ChartKind::Shade)
            e.addText("shade", QString::number(item.Shade));
    }
}

// "provinces" or "cities" of a region-city file: a count and the items.
void ReadList(const XmlInElement& list, const char* element, ItemLayout layout, int& count,
              std::vector<TProvince>& items) {
    for (const XmlInElement child : list) {
        if (child.is("regions"))
            count = ParseInt(child.text());
        else if (child.is(element))
            items.push_back(ReadItem(child, layout));
    }
}

} // namespace

ChartFileData ParseChartFile(ChartKind kind, const XmlReader& reader) {
    ChartFileData data;
    const XmlInElement root = reader.root();
    if (kind == ChartKind::RegionCity) {
        for (const XmlInElement child : root) {
            if (child.is("border"))
                data.border = child.text();
            else if (child.is("provinces"))
                ReadList(child, "province", RegionItems(kind), data.regions, data.items);
            else if (child.is("cities"))
                ReadList(child, "city", kCityItems, data.cityRegions, data.cities);
        }
        return data;
    }

    const char* itemName = kind == ChartKind::City ? "city" : "province";
    const ItemLayout layout = kind == ChartKind::City ? kCityItems : RegionItems(kind);
    bool haveBorder = false;
    for (const XmlInElement child : root) {
        if (child.is("regions")) {
            data.regions = ParseInt(child.text());
        } else if (child.is("border")) {
            data.border = child.text();
            haveBorder = true;
        } else if (child.is("showtext")) {
            data.showText = ParseBool(child.text());
        } else if (child.is(itemName)) {
            data.items.push_back(ReadItem(child, layout));
        } else if (child.is("plegends")) {
            data.legend = ReadLegend(child, kind);
        }
    }
    // The border becomes the colour of the border control; a file without one (or with a
    // broken one) is refused as a whole rather than half applied.
    ParseInt(haveBorder ? QStringView(data.border) : QStringView());
    return data;
}

namespace {

// Equal as a file holds them: numbers by their bits (0 and -0 are written differently).
bool SameNumber(double a, double b) {
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

bool SameItem(const TProvince& x, const TProvince& y) {
    return x.Id == y.Id && x.Name == y.Name && x.ShortName == y.ShortName &&
           x.Country == y.Country && x.Color == y.Color && SameNumber(x.Value, y.Value) &&
           SameNumber(x.Scale, y.Scale) && x.Shade == y.Shade;
}

bool SameItems(const std::vector<TProvince>& a, const std::vector<TProvince>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), SameItem);
}

} // namespace

namespace {

// Whether a text reads back from the file as it stands. The writer ends a text at a NUL and
// the parser turns CR into LF; other control characters are left to a real read rather than
// reasoned about.
bool ReadsBackAsIs(const QString& text) {
    const bool controls = std::any_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() < 0x20 && c != u'\t' && c != u'\n';
    });
    return !controls && QStringView(text).isValidUtf16();
}

// A number as the file writes it and the reader reads it back.
std::optional<double> ReadBackNumber(const QString& written) {
    return TryParseFloat(written);
}

std::optional<TProvince> ReadBackItem(const TProvince& p, ItemLayout layout) {
    TProvince r;
    r.Id = p.Id;
    r.Color = p.Color;
    if (!ReadsBackAsIs(p.Name)) return std::nullopt;
    r.Name = p.Name;
    QString& shortName = layout.country ? r.Country : r.ShortName;
    shortName = layout.country ? p.Country : p.ShortName;
    if (!ReadsBackAsIs(shortName)) return std::nullopt;
    const std::optional<double> value = ReadBackNumber(FormatGeneral(p.Value));
    if (!value) return std::nullopt;
    r.Value = *value;
    if (layout.scale) {
        const std::optional<double> scale = ReadBackNumber(FormatFixed(p.Scale, 0));
        if (!scale) return std::nullopt;
        r.Scale = *scale;
    }
    if (layout.shade) r.Shade = p.Shade;
    return r;
}

} // namespace

namespace {

// The items of `items` that stand, the same, where `before` has them: what a list built
// before wrote and read back for them holds for these again.
std::vector<char> UnchangedItems(const std::vector<TProvince>& items,
                                 const std::vector<TProvince>* before) {
    std::vector<char> same(items.size(), 0);
    const size_t common = before ? std::min(items.size(), before->size()) : 0;
    for (size_t i = 0; i < common; ++i)
        same[i] = SameItem(items[i], (*before)[i]);
    return same;
}

// ReadBackChartData, taking the items marked `same` from `before`: items read back from a
// file read back as themselves.
std::optional<ChartFileData> ReadBackList(ChartKind kind, const ChartFileData& data,
                                          const std::vector<TProvince>* before,
                                          const std::vector<char>& same) {
    if (kind == ChartKind::RegionCity || !ReadsBackAsIs(data.border) || !TryParseInt(data.border))
        return std::nullopt;
    ChartFileData back;
    back.regions = data.regions;
    back.border = data.border;
    back.showText = data.showText;
    const ItemLayout layout = kind == ChartKind::City ? kCityItems : RegionItems(kind);
    back.items.reserve(data.items.size());
    for (size_t i = 0; i < data.items.size(); ++i) {
        if (same[i]) {
            back.items.push_back((*before)[i]);
            continue;
        }
        std::optional<TProvince> item = ReadBackItem(data.items[i], layout);
        if (!item) return std::nullopt;
        back.items.push_back(std::move(*item));
    }
    back.legend.show = data.legend.show;
    back.legend.count = data.legend.count;
    for (const TLegend& item : data.legend.items) {
        if (!ReadsBackAsIs(item.Text)) return std::nullopt;
        TLegend l;
        l.Id = item.Id;
        l.Text = item.Text;
        l.Color = item.Color;
        if (kind == ChartKind::City) {
            const std::optional<double> scale = ReadBackNumber(FormatFixed(item.Scale, 0));
            if (!scale) return std::nullopt;
            l.Scale = *scale;
        } else if (kind == ChartKind::Shade) {
            l.Shade = item.Shade;
        }
        back.legend.items.push_back(std::move(l));
    }
    return back;
}

} // namespace

std::optional<ChartFileData> ReadBackChartData(ChartKind kind, const ChartFileData& data) {
    return ReadBackList(kind, data, nullptr, std::vector<char>(data.items.size(), 0));
}

bool SameChartData(const ChartFileData& a, const ChartFileData& b) {
    const auto sameLegend = [](const TLegend& x, const TLegend& y) {
        return x.Id == y.Id && x.Text == y.Text && x.Color == y.Color &&
               SameNumber(x.Scale, y.Scale) && x.Shade == y.Shade;
    };
    return a.regions == b.regions && a.border == b.border && a.showText == b.showText &&
           a.cityRegions == b.cityRegions && a.legend.show == b.legend.show &&
           a.legend.count == b.legend.count &&
           std::equal(a.legend.items.begin(), a.legend.items.end(), b.legend.items.begin(),
                      b.legend.items.end(), sameLegend) &&
           SameItems(a.items, b.items) && SameItems(a.cities, b.cities);
}

namespace {

// Item texts of a list file built before: item i's runs from bounds[i] to bounds[i + 1].
struct ItemTexts {
    std::string_view document;
    const std::vector<size_t>* bounds = nullptr;
    const std::vector<char>* same = nullptr; // the items to copy
};

// A region, shade or city file; the items `copies` marks are copied, not written. `bounds`
// receives where each item's text begins, and where the last one ends.
XmlWriter BuildList(ChartKind kind, const ChartFileData& data, const ItemTexts& copies,
                    std::vector<size_t>* bounds) {
    XmlWriter writer;
    if (copies.bounds) writer.reserve(copies.document.size() + copies.document.size() / 8);
    const bool city = kind == ChartKind::City;
    XmlOutElement root = writer.createRoot(city ? "cities" : "provinces");
    root.addText("regions", QString::number(data.regions));
    root.addText("border", data.border);
    root.addText("showtext", BoolText(data.showText));
    const ItemLayout layout = city ? kCityItems : RegionItems(kind);
    if (bounds) {
        bounds->clear();
        bounds->reserve(data.items.size() + 1);
        bounds->push_back(root.childrenEnd());
    }
    for (size_t i = 0; i < data.items.size(); ++i) {
        if (copies.same && (*copies.same)[i]) {
            const size_t from = (*copies.bounds)[i];
            root.addWritten(copies.document.substr(from, (*copies.bounds)[i + 1] - from));
        } else {
            WriteItem(root, city ? "city" : "province", data.items[i], layout);
        }
        if (bounds) bounds->push_back(root.childrenEnd());
    }
    WriteLegend(root, data.legend, kind);
    return writer;
}

} // namespace

XmlWriter BuildChartFile(ChartKind kind, const ChartFileData& data, bool staged) {
    XmlWriter writer;
    if (kind == ChartKind::RegionCity) {
        XmlOutElement root = writer.createRoot("map");
        root.addText("border", data.border);
        XmlOutElement provinces = root.addChild("provinces");
        provinces.addText("regions", QString::number(data.regions));
        for (const TProvince& p : data.items)
            WriteItem(provinces, staged ? "city" : "province", p, RegionItems(kind));
        XmlOutElement cities = root.addChild("cities");
        cities.addText("regions", QString::number(data.cityRegions));
        for (const TProvince& c : data.cities)
            WriteItem(cities, "city", c, kCityItems);
        return writer;
    }

    return BuildList(kind, data, {}, nullptr);
}

BuiltListFile BuildListFile(ChartKind kind, const ChartFileData& data,
                            const BuiltListFile* before) {
    BuiltListFile built;
    built.kind = kind;
    if (kind == ChartKind::RegionCity) {
        built.bytes = BuildChartFile(kind, data).toBytes();
        return built;
    }
    const std::vector<TProvince>* items =
        before && before->kind == kind && before->back ? &before->back->items : nullptr;
    const std::vector<char> same = UnchangedItems(data.items, items);
    // What the file will read back as is worked out on the other core while it is built.
    std::future<std::optional<ChartFileData>> back =
        std::async(std::launch::async, [&] { return ReadBackList(kind, data, items, same); });
    ItemTexts copies;
    if (items)
        copies = {
            std::string_view(before->bytes.constData(), static_cast<size_t>(before->bytes.size())),
            &before->itemBounds, &same};
    built.bytes = BuildList(kind, data, copies, &built.itemBounds).toBytes();
    if (std::optional<ChartFileData> read = back.get())
        built.back = std::make_shared<const ChartFileData>(std::move(*read));
    return built;
}

} // namespace tolvane
