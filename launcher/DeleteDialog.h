#pragma once

#include <QDialog>

// Asks whether a thing of the given kind ("Profile") is to be deleted: "YES !"
// accepts, "No" or closing the dialog rejects.
class CDeleteDialog : public QDialog {
    Q_OBJECT

public:
    explicit CDeleteDialog(const QString& kind, QWidget* parent = nullptr);
};
