#include "KeyDialog.h"

#include "Data/KeyTable.h"
#include "DialogUnits.h"
#include "VirtualKey.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

CKeyDialog::CKeyDialog(const QString& control, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Raised);

    auto* prompt = new QLabel(QStringLiteral("Press the key for %1").arg(control), frame);
    auto* hint = new QLabel(QStringLiteral("(ESC .. Cancel)"), frame);
    prompt->setAlignment(Qt::AlignCenter);
    hint->setAlignment(Qt::AlignCenter);
    QFont promptFont = prompt->font();
    promptFont.setBold(true);
    prompt->setFont(promptFont);
    refusalLabel = new QLabel(frame);
    refusalLabel->setObjectName(QStringLiteral("refusalLabel"));
    refusalLabel->setAlignment(Qt::AlignCenter);
    refusalLabel->setWordWrap(true);
    refusalLabel->setStyleSheet(QStringLiteral("color: #c00000;"));

    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addStretch();
    frameLayout->addWidget(prompt);
    frameLayout->addWidget(refusalLabel);
    frameLayout->addWidget(hint);
    frameLayout->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
    setFixedSize(DialogUnits::toPixels(*this, QSize(186, 82)));
}

bool CKeyDialog::event(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease &&
        type != QEvent::ShortcutOverride) {
        return QDialog::event(event);
    }
    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    if (keyEvent->key() == Qt::Key_Escape) {
        return QDialog::event(event);
    }
    // Every other key stays inside the dialog: no shortcut, focus change or default
    // button may see it.
    event->accept();
    if (type == QEvent::ShortcutOverride || captured || keyEvent->isAutoRepeat()) {
        return true;
    }
    const std::uint32_t key = VirtualKey::fromEvent(*keyEvent);
    if (Data::KeyTable::isAccepted(key)) {
        capturedKey = key;
        captured = true;
        accept();
    } else if (type == QEvent::KeyPress) {
        refusalLabel->setText(refusalReason(key));
    }
    return true;
}

QString CKeyDialog::refusal() const {
    return refusalLabel->text();
}

QString CKeyDialog::refusalReason(std::uint32_t key) {
    // Virtual-key codes of the keys the race keeps for itself.
    if (key >= 112 && key <= 135) {
        return QStringLiteral("Function keys are kept for the race's help and settings.");
    }
    switch (key) {
    case 13:
        return QStringLiteral("Enter is kept for the race's menus and results.");
    case 32:
        return QStringLiteral("Space is kept for the race's menus.");
    case 19:
        return QStringLiteral("Pause pauses the race.");
    default:
        return QStringLiteral("This key cannot drive a car: choose another.");
    }
}
