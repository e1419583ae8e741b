#pragma once

#include <QWidget>

// The "Highscore" tab: an empty page. The launcher receives no race results, so
// there is nothing to list yet.
class CTabHighScore : public QWidget {
    Q_OBJECT

public:
    explicit CTabHighScore(QWidget* parent = nullptr);
};
