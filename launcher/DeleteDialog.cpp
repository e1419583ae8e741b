#include "DeleteDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

CDeleteDialog::CDeleteDialog(const QString& kind, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Delete ") + kind + QStringLiteral(" ?"));

    auto* icon = new QLabel(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()
                        ->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this)
                        .pixmap(iconSize, iconSize));
    auto* text = new QLabel(
        QStringLiteral("Are you sure you want to delete the ") + kind + QStringLiteral(" ?"), this);
    text->setObjectName(QStringLiteral("text"));

    auto* yes = new QPushButton(QStringLiteral("YES !"), this);
    auto* no = new QPushButton(QStringLiteral("No"), this);
    yes->setObjectName(QStringLiteral("yesButton"));
    no->setObjectName(QStringLiteral("noButton"));
    // Deleting cannot be undone: Enter answers "No".
    yes->setAutoDefault(false);
    no->setDefault(true);
    connect(yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);

    auto* message = new QHBoxLayout;
    message->addWidget(icon, 0, Qt::AlignTop);
    message->addSpacing(8);
    message->addWidget(text, 1, Qt::AlignVCenter);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yes);
    buttons->addWidget(no);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(message);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    no->setFocus();
}
