#include "KeyDialog.h"

#include "Data/KeyTable.h"
#include "DialogUnits.h"
#include "VirtualKey.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

CKeyDialog::CKeyDialog(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Raised);

    auto* prompt = new QLabel(QStringLiteral("Press a  Key to set Control ..."), frame);
    auto* hint = new QLabel(QStringLiteral("(ESC .. Cancel)"), frame);
    prompt->setAlignment(Qt::AlignCenter);
    hint->setAlignment(Qt::AlignCenter);
    QFont promptFont = prompt->font();
    promptFont.setBold(true);
    prompt->setFont(promptFont);

    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addStretch();
    frameLayout->addWidget(prompt);
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
    }
    return true;
}
