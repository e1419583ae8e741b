#include "Artwork.h"

#include "DialogUnits.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const QColor skyTop(24, 44, 88);
const QColor skyBottom(236, 128, 52);
const QColor farHills(92, 58, 52);
const QColor nearHills(46, 34, 30);
const QColor tyre(34, 34, 34);
const QColor rim(236, 128, 52);

} // namespace

namespace Artwork {

QImage paintIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds(0.5, 0.5, size - 1.0, size - 1.0);
    QLinearGradient sky(bounds.topLeft(), bounds.bottomLeft());
    sky.setColorAt(0.0, skyTop);
    sky.setColorAt(1.0, skyBottom);
    painter.setPen(Qt::NoPen);
    painter.setBrush(sky);
    painter.drawRoundedRect(bounds, size * 0.2, size * 0.2);

    // A tyre with a rim and five spokes.
    const QPointF centre = bounds.center();
    const qreal outer = size * 0.38;
    painter.setBrush(tyre);
    painter.drawEllipse(centre, outer, outer);
    painter.setBrush(rim);
    painter.drawEllipse(centre, outer * 0.6, outer * 0.6);
    painter.setPen(QPen(tyre, qMax(1.0, size / 16.0)));
    for (int spoke = 0; spoke < 5; ++spoke) {
        painter.save();
        painter.translate(centre);
        painter.rotate(spoke * 72.0);
        painter.drawLine(QPointF(0, 0), QPointF(0, -outer * 0.6));
        painter.restore();
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(tyre);
    painter.drawEllipse(centre, outer * 0.18, outer * 0.18);
    return image;
}

QIcon applicationIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        icon.addPixmap(QPixmap::fromImage(paintIcon(size)));
    }
    return icon;
}

} // namespace Artwork

CBanner::CBanner(QWidget* parent) : QWidget(parent) {
    setFixedSize(DialogUnits::toPixels(*this, QSize(255, 41)));
}

void CBanner::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = rect();
    const qreal w = area.width();
    const qreal h = area.height();

    QPainterPath frame;
    frame.addRoundedRect(area.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    painter.setClipPath(frame);

    QLinearGradient sky(area.topLeft(), area.bottomLeft());
    sky.setColorAt(0.0, skyTop);
    sky.setColorAt(1.0, skyBottom);
    painter.fillRect(area, sky);

    const auto hills = [&](qreal base, qreal amplitude, qreal phase, const QColor& colour) {
        QPainterPath path(QPointF(0, h));
        path.lineTo(0, base);
        const int humps = 4;
        for (int hump = 0; hump < humps; ++hump) {
            const qreal x0 = w * hump / humps;
            const qreal x1 = w * (hump + 1) / humps;
            const qreal lift = (hump % 2 == 0 ? 1.0 : 0.55) * amplitude;
            path.cubicTo(x0 + (x1 - x0) * (0.3 + phase), base - lift,
                         x0 + (x1 - x0) * (0.7 - phase), base - lift, x1, base);
        }
        path.lineTo(w, h);
        path.closeSubpath();
        painter.fillPath(path, colour);
    };
    hills(h * 0.78, h * 0.35, 0.1, farHills);
    hills(h * 0.95, h * 0.25, -0.1, nearHills);

    // The name, with a soft shadow.
    QFont title = font();
    title.setBold(true);
    title.setItalic(true);
    title.setPixelSize(static_cast<int>(h * 0.5));
    painter.setFont(title);
    const QRectF titleArea(h * 0.35, 0, w, h * 0.8);
    painter.setPen(QColor(0, 0, 0, 110));
    painter.drawText(titleArea.translated(2, 2), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Brumbly"));
    painter.setPen(QColor(255, 244, 226));
    painter.drawText(titleArea, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Brumbly"));

    QFont subtitle = font();
    subtitle.setPixelSize(qMax(9, static_cast<int>(h * 0.17)));
    painter.setFont(subtitle);
    painter.setPen(QColor(255, 236, 210, 220));
    painter.drawText(area.adjusted(0, h * 0.08, -h * 0.3, 0), Qt::AlignRight | Qt::AlignTop,
                     QStringLiteral("off-road racing"));

    painter.setClipping(false);
    painter.setPen(QPen(QColor(0, 0, 0, 90), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(frame);
}
