#include "DriverControls.h"

#include "Game/Kernel.h"

#include <QByteArray>

namespace DriverControls {

namespace {

const QString section = QStringLiteral("Gamepads");

// Stored names are any bytes; a settings key takes letters, digits, '-', '.', '_' and
// '~' as they are and every other byte as %XX.
QString keyOf(const std::string& driver) {
    return QString::fromLatin1(QByteArray::fromStdString(driver).toPercentEncoding());
}

} // namespace

QString label(const Platform::GamepadInfo& pad) {
    return QStringLiteral("Gamepad %1: %2").arg(pad.slot + 1).arg(QString::fromStdString(pad.name));
}

int remembered(const ConfigFile& config, const std::string& driver) {
    const std::optional<QString> text = config.readText(section, keyOf(driver));
    bool isNumber = false;
    const int number = text ? text->toInt(&isNumber) : 0;
    if (!isNumber || number < 1 || number > Platform::maxGamepads) {
        return Game::Kernel::noGamepad;
    }
    return number - 1;
}

bool remember(const ConfigFile& config, const std::string& driver, int slot) {
    return config.writeInt(section, keyOf(driver), slot == Game::Kernel::noGamepad ? 0 : slot + 1);
}

} // namespace DriverControls
