#pragma once

#include <QColor>
#include <QFrame>

// A framed area filled with one colour that reports clicks.
class ColorSwatch : public QFrame {
    Q_OBJECT

public:
    explicit ColorSwatch(const QColor& colour, QWidget* parent = nullptr);

    const QColor& colour() const { return current; }
    void setColour(const QColor& colour);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QColor current;
};
