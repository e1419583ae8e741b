#pragma once

#include <QString>
#include <QValidator>
#include <string>

class QComboBox;

// Driver names as the launcher shows and checks them. Profiles are found by the name
// they are stored under, whatever its bytes: a list item shows a readable form and
// keeps the stored name in its data.
namespace DriverNames {

// The stored name as text: decoded as UTF-8 when it is valid UTF-8, otherwise byte by
// byte as Latin-1 (older files, and character references such as &#235;, store
// single bytes).
QString readable(const std::string& stored);

// Appends an item that shows readable(stored) and keeps `stored`.
void addItem(QComboBox& list, const std::string& stored);
// The stored name of the item at `index`; "" for no item.
std::string stored(const QComboBox& list, int index);

// The name-check lines for a new driver's name that the profile manager does not
// hold yet, in the style of the Drivers tab's other checks: a name of blanks only,
// blanks at either end, or a name that differs from a stored one only in letter case
// (the game tells cars apart without regard to letter case). "" when none applies.
QString newNameProblems(const QString& name);

// Refuses input whose UTF-8 form is longer than a profile name may be.
class NameLengthValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

} // namespace DriverNames
