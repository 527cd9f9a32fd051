#include "widgets/SchemeComboBox.h"

#include "charts/ColorSchemes.h"
#include "model/Colors.h"

#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>

namespace tolvane {

namespace {

constexpr int kSwatchClasses = 7;

QIcon SchemeIcon(const ColorScheme& scheme) {
    QPixmap strip(kSwatchClasses * 8, 14);
    QPainter painter(&strip);
    const std::vector<int32_t> colors = SchemeColors(scheme, kSwatchClasses);
    for (size_t i = 0; i < colors.size(); ++i)
        painter.fillRect(static_cast<int>(i) * 8, 0, 8, 14,
                         QColor(RedOf(colors[i]), GreenOf(colors[i]), BlueOf(colors[i])));
    return QIcon(strip);
}

} // namespace

SchemeComboBox::SchemeComboBox(QWidget* parent)
    : QComboBox(parent) {
    setIconSize(QSize(kSwatchClasses * 8, 14));
    addItem(QStringLiteral("Two colors: min. to max."));
    for (const ColorScheme& scheme : ColorSchemes()) {
        QString text = QString::fromLatin1(scheme.name) + (scheme.kind == SchemeKind::Sequential
                                                               ? QStringLiteral(", sequential")
                                                               : QStringLiteral(", diverging"));
        if (scheme.colorBlindSafe) text += QStringLiteral(", color-blind safe");
        addItem(SchemeIcon(scheme), text, QString::fromLatin1(scheme.name));
    }
    setMaxVisibleItems(16);
}

const ColorScheme* SchemeComboBox::scheme() const {
    return currentIndex() > 0 ? FindColorScheme(currentData().toString()) : nullptr;
}

void SchemeComboBox::clearScheme() {
    const QSignalBlocker block(this);
    setCurrentIndex(0);
}

} // namespace tolvane
