#include "DriverNames.h"

#include "Data/ProfileManager.h"

#include <QByteArray>
#include <QComboBox>
#include <QVariant>
#include <algorithm>
#include <filesystem>
#include <system_error>

namespace DriverNames {

QString readable(const std::string& stored) {
    const QByteArray bytes = QByteArray::fromStdString(stored);
    const QString decoded = QString::fromUtf8(bytes);
    // Invalid sequences decode to replacement characters and do not survive the way
    // back.
    return decoded.toUtf8() == bytes ? decoded : QString::fromLatin1(bytes);
}

void addItem(QComboBox& list, const std::string& stored) {
    list.addItem(readable(stored), QByteArray::fromStdString(stored));
}

std::string stored(const QComboBox& list, int index) {
    return list.itemData(index).toByteArray().toStdString();
}

QString comparable(const QString& name) {
    // Folding may decompose again (U+0130 folds to "i" and a combining dot).
    return name.normalized(QString::NormalizationForm_C)
        .toCaseFolded()
        .normalized(QString::NormalizationForm_C);
}

bool hasVisibleCharacter(const QString& name) {
    const auto visible = [](char32_t character) {
        // Letters by category that draw nothing.
        if (character == 0x115F || character == 0x1160 || character == 0x3164 ||
            character == 0xFFA0) {
            return false;
        }
        switch (QChar::category(character)) {
        case QChar::Letter_Uppercase:
        case QChar::Letter_Lowercase:
        case QChar::Letter_Titlecase:
        case QChar::Letter_Modifier:
        case QChar::Letter_Other:
        case QChar::Number_DecimalDigit:
        case QChar::Number_Letter:
        case QChar::Number_Other:
        case QChar::Punctuation_Connector:
        case QChar::Punctuation_Dash:
        case QChar::Punctuation_Open:
        case QChar::Punctuation_Close:
        case QChar::Punctuation_InitialQuote:
        case QChar::Punctuation_FinalQuote:
        case QChar::Punctuation_Other:
        case QChar::Symbol_Math:
        case QChar::Symbol_Currency:
        case QChar::Symbol_Modifier:
        case QChar::Symbol_Other:
            return true;
        default:
            return false;
        }
    };
    const QList<uint> characters = name.toUcs4();
    return std::any_of(characters.begin(), characters.end(),
                       [&](uint character) { return visible(static_cast<char32_t>(character)); });
}

std::set<std::string> savedNames() {
    const Data::ProfileManager& manager = Data::ProfileManager::getInstance();
    std::set<std::string> names;
    for (const auto& entry : manager.getResources()) {
        names.insert(entry.first);
    }
    const std::string& extension = manager.getExtension();
    std::error_code error;
    for (std::filesystem::directory_iterator entry(manager.getDirectory(), error), end;
         !error && entry != end; entry.increment(error)) {
        const std::string file = entry->path().filename().string();
        if (file.size() > extension.size() && file.ends_with(extension)) {
            names.insert(file.substr(0, file.size() - extension.size()));
        }
    }
    return names;
}

QString newNameProblems(const QString& name, const std::set<std::string>& saved) {
    if (name.isEmpty()) {
        return {};
    }
    if (name.trimmed().isEmpty()) {
        return QStringLiteral("* The name of the Driver must not be blank\n");
    }
    QString problems;
    if (name.trimmed() != name) {
        problems += QStringLiteral("* The name of the Driver must not begin or end with a blank\n");
    }
    if (!hasVisibleCharacter(name)) {
        problems += QStringLiteral("* The name of the Driver must have a visible character\n");
    }
    const QString key = comparable(name);
    if (std::any_of(saved.begin(), saved.end(),
                    [&](const std::string& other) { return comparable(readable(other)) == key; })) {
        problems += QStringLiteral("* The name of the Driver looks the same as an existing one\n");
    }
    return problems;
}

QValidator::State NameLengthValidator::validate(QString& input, int&) const {
    return static_cast<std::size_t>(input.toUtf8().size()) <= Data::Profile::maximumNameLength
               ? Acceptable
               : Invalid;
}

} // namespace DriverNames
