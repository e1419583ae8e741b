#include "ConfigFile.h"

#include "Tool/LogManager.h"
#include "Tool/Message.h"

#include <QSettings>
#include <utility>

ConfigFile::ConfigFile(QString fileName) : name(std::move(fileName)) {}

int ConfigFile::readInt(const QString& section, const QString& key, int defaultValue) const {
    const QSettings settings(name, QSettings::IniFormat);
    const QVariant value = settings.value(section + '/' + key);
    if (!value.isValid()) {
        return defaultValue;
    }
    bool isNumber = false;
    const int number = value.toString().trimmed().toInt(&isNumber);
    return isNumber ? number : defaultValue;
}

bool ConfigFile::writeInt(const QString& section, const QString& key, int value) const {
    QSettings settings(name, QSettings::IniFormat);
    settings.setValue(section + '/' + key, value);
    settings.sync();
    if (settings.status() == QSettings::NoError) {
        return true;
    }
    Tool::LogManager::getInstance().send(Tool::Message(
        "Brumbly", "Couldn't write the settings file .. [Failed]",
        (name + ": [" + section + "] " + key).toStdString(), __FILE__, __LINE__, Tool::MT_ERROR));
    return false;
}
