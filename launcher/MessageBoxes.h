#pragma once

#include <QString>

class QWidget;

// Every message box of the launcher goes through this interface, so that tests can
// record the boxes instead of blocking on them.
class MessageBoxes {
public:
    enum class Icon { Warning, Error, Question };

    virtual ~MessageBoxes() = default;

    // A modal box with a single OK button.
    virtual void show(QWidget* parent, const QString& caption, const QString& text, Icon icon) = 0;
    // A modal question with "Yes" and "No" (the default), captioned with the
    // application's display name; true when the user answers "Yes".
    virtual bool ask(QWidget* parent, const QString& text) = 0;

    // A notice with the application's display name as its caption.
    void message(QWidget* parent, const QString& text);
    // An error box with the caption "Error".
    void error(QWidget* parent, const QString& text);
};

// The real boxes, shown with QMessageBox.
class QtMessageBoxes final : public MessageBoxes {
public:
    void show(QWidget* parent, const QString& caption, const QString& text, Icon icon) override;
    bool ask(QWidget* parent, const QString& text) override;
};
