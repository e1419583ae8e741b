#include "ColorSwatch.h"

#include <QMouseEvent>
#include <QPainter>

ColorSwatch::ColorSwatch(const QColor& colour, QWidget* parent) : QFrame(parent), current(colour) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setCursor(Qt::PointingHandCursor);
    setToolTip(QStringLiteral("Click to choose the car's colour"));
}

void ColorSwatch::setColour(const QColor& colour) {
    current = colour;
    update();
}

void ColorSwatch::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(contentsRect(), current);
}

void ColorSwatch::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit clicked();
    }
    QFrame::mousePressEvent(event);
}
