#pragma once

#include <QString>
#include <optional>

// Sections and keys of the launcher's settings file.
namespace ConfigKeys {
inline const QString videoSection = QStringLiteral("VideoOptions");
inline const QString audioSection = QStringLiteral("AudioOptions");
inline const QString xResolution = QStringLiteral("XResolution");
inline const QString yResolution = QStringLiteral("YResolution");
inline const QString colorDepth = QStringLiteral("Colordepth");
inline const QString fullscreen = QStringLiteral("Fullscreen");
inline const QString detail = QStringLiteral("Detail");
inline const QString splitScreen = QStringLiteral("SplitScreen");
// The level "Auto" detail drew the last race at; written by the race, shown by the tab.
inline const QString autoDetail = QStringLiteral("AutoDetail");
inline const QString soundVolume = QStringLiteral("SoundVolume");
inline const QString musicVolume = QStringLiteral("MusicVolume");
} // namespace ConfigKeys

// The launcher's settings file: an INI file of sections holding integer keys. The
// file name is resolved against the current directory on every access, every read
// sees the file as it is now, and every write reaches the disk at once.
class ConfigFile {
public:
    explicit ConfigFile(QString fileName);

    const QString& fileName() const { return name; }

    // The key's value as written, trimmed; nothing when the file or the key is missing.
    std::optional<QString> readText(const QString& section, const QString& key) const;
    // Writes the value, creating file, section and key as needed. A failure is logged
    // and reported by false.
    bool writeInt(const QString& section, const QString& key, int value) const;

private:
    QString name;
};
