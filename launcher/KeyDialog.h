#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

class QLabel;

// Captures one key for a binding, naming the control it sets ("Press the key for
// Brake"). The first accepted key closes the dialog with Accepted; Escape cancels; a
// key that cannot drive a car (function keys, Space, Enter, ...) is refused with the
// reason and the dialog stays open.
class CKeyDialog : public QDialog {
    Q_OBJECT

public:
    explicit CKeyDialog(const QString& control, QWidget* parent = nullptr);

    // The captured virtual-key code; meaningful only when isCaptured().
    std::uint32_t keyCode() const { return capturedKey; }
    bool isCaptured() const { return captured; }
    // Why the last key pressed was refused; "" before any refusal.
    QString refusal() const;

    // Why a virtual-key code cannot be bound.
    static QString refusalReason(std::uint32_t key);

protected:
    bool event(QEvent* event) override;

private:
    QLabel* refusalLabel;
    std::uint32_t capturedKey = 0;
    bool captured = false;
};
