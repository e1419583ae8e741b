#pragma once

#include <QDialog>
#include <cstdint>

// Captures one key for a binding. The first accepted key closes the dialog with
// Accepted; Escape cancels; every other key (function keys, space, Enter, ...) is
// swallowed and the dialog stays open.
class CKeyDialog : public QDialog {
    Q_OBJECT

public:
    explicit CKeyDialog(QWidget* parent = nullptr);

    // The captured virtual-key code; meaningful only when isCaptured().
    std::uint32_t keyCode() const { return capturedKey; }
    bool isCaptured() const { return captured; }

protected:
    bool event(QEvent* event) override;

private:
    std::uint32_t capturedKey = 0;
    bool captured = false;
};
