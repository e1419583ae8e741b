#include "DialogUnits.h"

#include <QFontMetricsF>
#include <QWidget>
#include <cmath>

namespace DialogUnits {

QSize toPixels(const QWidget& widget, QSize dialogUnits) {
    const QFontMetricsF metrics(widget.font());
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const qreal averageWidth = metrics.horizontalAdvance(alphabet) / alphabet.size();
    return QSize(static_cast<int>(std::lround(dialogUnits.width() * averageWidth / 4.0)),
                 static_cast<int>(std::lround(dialogUnits.height() * metrics.height() / 8.0)));
}

} // namespace DialogUnits
