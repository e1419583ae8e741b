#include "DriverNames.h"

#include "Data/ProfileManager.h"

#include <QByteArray>
#include <QComboBox>
#include <QVariant>

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

QString newNameProblems(const QString& name) {
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
    const QString folded = name.toCaseFolded();
    for (const auto& entry : Data::ProfileManager::getInstance().getResources()) {
        if (readable(entry.first).toCaseFolded() == folded) {
            problems += QStringLiteral(
                "* The name of the Driver differs from an existing one only in letter case\n");
            break;
        }
    }
    return problems;
}

QValidator::State NameLengthValidator::validate(QString& input, int&) const {
    return static_cast<std::size_t>(input.toUtf8().size()) <= Data::Profile::maximumNameLength
               ? Acceptable
               : Invalid;
}

} // namespace DriverNames
