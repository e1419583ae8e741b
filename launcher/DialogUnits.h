#pragma once

#include <QSize>

class QWidget;

// Dialog units: a quarter of the average character width across, an eighth of the
// line height down, in the widget's font. Sizes given in them follow the font.
namespace DialogUnits {

QSize toPixels(const QWidget& widget, QSize dialogUnits);

} // namespace DialogUnits
