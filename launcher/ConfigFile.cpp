#include "ConfigFile.h"

#include "Tool/LogManager.h"
#include "Tool/Message.h"

#include <QSettings>
#include <utility>

ConfigFile::ConfigFile(QString fileName) : name(std::move(fileName)) {}

std::optional<QString> ConfigFile::readText(const QString& section, const QString& key) const {
    const QSettings settings(name, QSettings::IniFormat);
    const QVariant value = settings.value(section + '/' + key);
    if (!value.isValid()) {
        return std::nullopt;
    }
    return value.toString().trimmed();
}

bool ConfigFile::writeInt(const QString& section, const QString& key, int value) const {
    QSettings::Status status = QSettings::NoError;
    {
        QSettings settings(name, QSettings::IniFormat);
        settings.setValue(section + '/' + key, value);
        settings.sync();
        status = settings.status();
    }
    // A settings object keeps the first error it meets: a file that did not parse
    // cleanly (a byte-order mark, lines that are no settings) reads as a format
    // error even when the write went through. A successful write leaves a file in
    // the settings' own format, which a fresh object reads without error; after a
    // failed one the fresh object meets the same failure again.
    if (status == QSettings::FormatError) {
        status = QSettings(name, QSettings::IniFormat).status();
    }
    if (status == QSettings::NoError) {
        return true;
    }
    Tool::LogManager::getInstance().send(Tool::Message(
        "Brumbly", "Couldn't write the settings file .. [Failed]",
        (name + ": [" + section + "] " + key).toStdString(), __FILE__, __LINE__, Tool::MT_ERROR));
    return false;
}
