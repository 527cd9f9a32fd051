// The peer "qpainter": what a bare Qt program spends on the benchmark's choropleth, as the
// yardstick for Tolvane's own renderer. It reads the benchmark's binary dump of the polygons
// (no parsing to speak of), fills and outlines each feature with QPainter (antialiased, odd-even,
// 0.5 px border with round joins) into a 32-bit image, and saves it with QImage's PNG writer.
//
//   tolvane-qpainter-probe CASE.bin CASE.view.json OUT.png
//
// Prints "TIMING read=.. draw=.. save=.." in seconds, as the other peers do.

#include <QByteArray>
#include <QColor>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct Feature {
    QRgb fill;
    QPainterPath path;
};

class Reader {
public:
    explicit Reader(const QByteArray& bytes)
        : bytes_(bytes) {}
    bool ok() const { return ok_; }
    uint32_t u32() { return take<uint32_t>(); }
    double f64() { return take<double>(); }

private:
    template <typename T> T take() {
        T v{};
        if (at_ + sizeof(T) > static_cast<size_t>(bytes_.size())) {
            ok_ = false;
            return v;
        }
        std::memcpy(&v, bytes_.constData() + at_, sizeof(T));
        at_ += sizeof(T);
        return v;
    }
    const QByteArray& bytes_;
    size_t at_ = 4;
    bool ok_ = true;
};

double Seconds(const QElapsedTimer& t) {
    return static_cast<double>(t.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s CASE.bin CASE.view.json OUT.png\n", argv[0]);
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    QFile binFile(QString::fromLocal8Bit(argv[1]));
    QFile viewFile(QString::fromLocal8Bit(argv[2]));
    if (!binFile.open(QIODevice::ReadOnly) || !viewFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read the input files\n");
        return 1;
    }
    const QByteArray bin = binFile.readAll();
    const QJsonObject view = QJsonDocument::fromJson(viewFile.readAll()).object();
    const int width = view[QStringLiteral("width")].toInt();
    const int height = view[QStringLiteral("height")].toInt();
    const double x0 = view[QStringLiteral("xmin")].toDouble();
    const double y1 = view[QStringLiteral("ymax")].toDouble();
    const double s = width / (view[QStringLiteral("xmax")].toDouble() - x0);
    if (!bin.startsWith("CHB1") || width < 1 || height < 1) {
        std::fprintf(stderr, "not a benchmark case\n");
        return 1;
    }
    Reader in(bin);
    std::vector<Feature> features(in.u32());
    for (Feature& f : features) {
        f.fill = 0xFF000000u | in.u32();
        f.path.setFillRule(Qt::OddEvenFill);
        for (uint32_t rings = in.u32(); rings > 0 && in.ok(); --rings) {
            const uint32_t points = in.u32();
            for (uint32_t i = 0; i < points && in.ok(); ++i) {
                const double x = in.f64();
                const QPointF p((x - x0) * s, (y1 - in.f64()) * s);
                if (i == 0)
                    f.path.moveTo(p);
                else
                    f.path.lineTo(p);
            }
            f.path.closeSubpath();
        }
    }
    if (!in.ok()) {
        std::fprintf(stderr, "the binary dump ends early\n");
        return 1;
    }
    const double read = Seconds(timer);

    timer.restart();
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor::fromString(view[QStringLiteral("background")].toString()));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPen pen(QColor::fromString(view[QStringLiteral("border")].toString()),
                   view[QStringLiteral("border_px")].toDouble(), Qt::SolidLine, Qt::FlatCap,
                   Qt::RoundJoin);
    for (const Feature& f : features) {
        painter.fillPath(f.path, QColor::fromRgb(f.fill));
        painter.strokePath(f.path, pen);
    }
    painter.end();
    const double draw = Seconds(timer);

    timer.restart();
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    std::printf("TIMING read=%.4f draw=%.4f save=%.4f\n", read, draw, Seconds(timer));
    return 0;
}
