#include "MessageBoxes.h"

#include <QGuiApplication>
#include <QMessageBox>

void MessageBoxes::message(QWidget* parent, const QString& text) {
    show(parent, QGuiApplication::applicationDisplayName(), text, Icon::Warning);
}

void MessageBoxes::error(QWidget* parent, const QString& text) {
    show(parent, QStringLiteral("Error"), text, Icon::Error);
}

void QtMessageBoxes::show(QWidget* parent, const QString& caption, const QString& text, Icon icon) {
    QMessageBox box(icon == Icon::Error ? QMessageBox::Critical : QMessageBox::Warning, caption,
                    text, QMessageBox::Ok, parent);
    box.exec();
}

bool QtMessageBoxes::ask(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
