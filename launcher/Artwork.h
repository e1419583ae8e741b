#pragma once

#include <QIcon>
#include <QImage>
#include <QWidget>

// The launcher's own artwork, painted in code: the banner at the top of the main
// window and the application icon.
namespace Artwork {

// The icon at one size: a tyre on an evening sky.
QImage paintIcon(int size);
QIcon applicationIcon();

} // namespace Artwork

// The banner: the game's name over an evening sky and a row of hills.
class CBanner : public QWidget {
    Q_OBJECT

public:
    explicit CBanner(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
