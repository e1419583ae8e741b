#include "KeyConflicts.h"

#include "Data/KeyTable.h"
#include "DriverNames.h"

#include <QLabel>
#include <QStringList>
#include <algorithm>

namespace {

bool shareAKey(unsigned int a, unsigned int b) {
    const auto keysOfA = Data::KeyTable::windowKeys(a);
    const auto keysOfB = Data::KeyTable::windowKeys(b);
    return std::any_of(keysOfA.begin(), keysOfA.end(), [&](int key) {
        return std::find(keysOfB.begin(), keysOfB.end(), key) != keysOfB.end();
    });
}

} // namespace

std::vector<KeyConflict> findKeyConflicts(const std::vector<RaceKeys>& drivers) {
    std::vector<KeyConflict> conflicts;
    for (std::size_t first = 0; first < drivers.size(); ++first) {
        for (std::size_t second = first + 1; second < drivers.size(); ++second) {
            const Data::Control& a = drivers[first].controls;
            const Data::Control& b = drivers[second].controls;
            if (a.aiEnabled || b.aiEnabled) {
                continue;
            }
            KeyConflict conflict{first, second, {}};
            const auto others = b.bindings();
            for (const unsigned int key : a.bindings()) {
                const bool shared =
                    std::any_of(others.begin(), others.end(),
                                [key](unsigned int other) { return shareAKey(key, other); });
                if (shared && std::find(conflict.keys.begin(), conflict.keys.end(), key) ==
                                  conflict.keys.end()) {
                    conflict.keys.push_back(key);
                }
            }
            if (!conflict.keys.empty()) {
                conflicts.push_back(std::move(conflict));
            }
        }
    }
    return conflicts;
}

QString keyConflictWarning(const std::vector<RaceKeys>& drivers,
                           const std::vector<KeyConflict>& conflicts) {
    QStringList lines;
    for (const KeyConflict& conflict : conflicts) {
        QStringList names;
        for (const unsigned int key : conflict.keys) {
            names.append(QString::fromStdString(Data::KeyTable::name(key)));
        }
        const QString last = names.takeLast();
        const QString keys = names.isEmpty()
                                 ? QStringLiteral("the key %1").arg(last)
                                 : QStringLiteral("the keys %1 and %2").arg(names.join(", "), last);
        lines.append(QStringLiteral("%1 and %2 share %3: one key press would drive both cars.")
                         .arg(DriverNames::readable(drivers[conflict.first].name),
                              DriverNames::readable(drivers[conflict.second].name), keys));
    }
    return lines.join('\n');
}

QLabel* createKeyWarningLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("color: #b00000;"));
    label->setVisible(false);
    return label;
}

void showKeyWarning(QLabel& label, const QString& warning) {
    label.setText(warning);
    label.setVisible(!warning.isEmpty());
}
