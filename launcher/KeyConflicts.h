#pragma once

#include "Data/Control.h"

#include <QString>
#include <cstddef>
#include <string>
#include <vector>

class QLabel;
class QWidget;

// A driver of one race and the keys that drive its car.
struct RaceKeys {
    std::string name;
    Data::Control controls;
};

// Two drivers of one race whose cars answer to the same key: one press would drive
// both.
struct KeyConflict {
    std::size_t first = 0; // indices into the drivers, first < second
    std::size_t second = 0;
    // The first driver's bindings (virtual-key codes, in binding order, each once)
    // that press a key the second driver also uses.
    std::vector<unsigned int> keys;
};

// Every pair of drivers, in order, whose bindings share a key of the keyboard
// (Shift and Left Shift share the left Shift key). Computer drivers take no keys.
std::vector<KeyConflict> findKeyConflicts(const std::vector<RaceKeys>& drivers);

// One line per conflict, such as "Ann and Ben share the keys Up and Left: one key
// press would drive both cars."; "" without conflicts.
QString keyConflictWarning(const std::vector<RaceKeys>& drivers,
                           const std::vector<KeyConflict>& conflicts);

// The label the tabs show the warning in: red, wrapped, hidden while empty.
QLabel* createKeyWarningLabel(QWidget* parent);
// Shows the warning, or hides the label when it is "".
void showKeyWarning(QLabel& label, const QString& warning);
