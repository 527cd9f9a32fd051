#include "io/HelpPages.h"

#include "render/ShadePatterns.h"

#include <QPainter>
#include <QStringList>

namespace tolvane {

namespace {

// Swatches are drawn at twice the size of a 500x350 chart, so the patterns read clearly.
constexpr double kSwatchUnit = 2.0;
const QColor kSwatchFill(200, 227, 184);

QString PageStart(const QString& title) {
    return QStringLiteral(
               "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
               "<title>%1</title>\n<link rel=\"stylesheet\" href=\"help.css\">\n</head>\n"
               "<body>\n<h1>%1</h1>\n")
        .arg(title.toHtmlEscaped());
}

const QString kPageEnd = QStringLiteral("</body>\n</html>\n");

} // namespace

QImage ShadeSwatchImage(int code) {
    QImage image(96, 48, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintShadeSwatch(painter, QRectF(1, 1, 94, 46), code, kSwatchFill, kSwatchUnit);
    return image;
}

QString ShadeSwatchFile(int code) {
    return QStringLiteral("shade/%1.png").arg(code);
}

QString ShadeHelpPage() {
    QString html = PageStart(QStringLiteral("Shade Codes"));
    html +=
        QStringLiteral(
            "<p>On the \"Advance Map\" page every region has a shade code besides its colour. "
            "The chart draws the code's pattern over the region's colour, in a dark ink on light "
            "colours and a light ink on dark ones, and the legend's swatches show the same "
            "patterns. Codes 0 (a region without data) and 1 (no code given) are plain. Codes "
            "%1 to %2 each have a pattern of their own; the first sixteen differ most. Any other "
            "code is drawn plain.</p>\n<p><a href=\"help.htm#shade\">Back to the help</a></p>\n")
            .arg(kFirstShadeCode)
            .arg(kLastShadeCode);
    html += QStringLiteral("<table>\n<tr><th>Code</th><th>Pattern</th><th>Code</th><th>Pattern</th>"
                           "<th>Code</th><th>Pattern</th></tr>\n");
    constexpr int kColumns = 3;
    const int count = kLastShadeCode + 1;
    const int rows = (count + kColumns - 1) / kColumns;
    for (int r = 0; r < rows; ++r) {
        html += QStringLiteral("<tr>");
        for (int c = 0; c < kColumns; ++c) {
            const int code = c * rows + r;
            if (code < count)
                html +=
                    QStringLiteral(
                        "<td>%1</td><td><img class=\"swatch\" src=\"%2\" alt=\"shade %1\"></td>")
                        .arg(code)
                        .arg(ShadeSwatchFile(code));
            else
                html += QStringLiteral("<td></td><td></td>");
        }
        html += QStringLiteral("</tr>\n");
    }
    html += QStringLiteral("</table>\n") + kPageEnd;
    return html;
}

QString CountryCodeHelpPage(const QByteArray& codeTable) {
    QString html = PageStart(QStringLiteral("Country Codes"));
    html += QStringLiteral(
        "<p>Row 1 of the grid on the \"Flag\" page takes each country's two-letter code "
        "(ISO 3166-1 alpha-2; XK for Kosovo). Capital or small letters both work.</p>\n"
        "<p><a href=\"help.htm#flag\">Back to the help</a></p>\n"
        "<table>\n<tr><th>Code</th><th>Country or territory</th></tr>\n");
    const QStringList lines = QString::fromUtf8(codeTable).split(u'\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        const qsizetype tab = line.indexOf(u'\t');
        if (tab <= 0) continue;
        html += QStringLiteral("<tr><td>%1</td><td>%2</td></tr>\n")
                    .arg(line.left(tab).toHtmlEscaped(), line.mid(tab + 1).toHtmlEscaped());
    }
    html += QStringLiteral("</table>\n") + kPageEnd;
    return html;
}

} // namespace tolvane
