#include "TabHighScore.h"

CTabHighScore::CTabHighScore(QWidget* parent) : QWidget(parent) {}
