#pragma once

#include <QString>
#include <QValidator>
#include <set>
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

// The form in which two names count as the same: normalised to composed characters
// (NFC) and case-folded, so that letter case and the two ways of writing an accented
// letter do not make two drivers that look alike.
QString comparable(const QString& name);

// Whether the name has a character that shows: a letter, digit, punctuation mark or
// symbol (blanks, zero-width and other format characters, combining marks on their own
// and the Hangul fillers show nothing).
bool hasVisibleCharacter(const QString& name);

// The stored names of the saved drivers: those the profile manager holds, and those
// of the profile files in its directory, which another launcher on the same folder
// may have written since the directory was read.
std::set<std::string> savedNames();

// The name-check lines for a new driver's name that is not saved yet, in the style of
// the Drivers tab's other checks: a name of blanks only, blanks at either end, a name
// with no visible character, or a name that compares equal to a saved one (see
// comparable). "" when none applies.
QString newNameProblems(const QString& name, const std::set<std::string>& saved);

// Refuses input whose UTF-8 form is longer than a profile name may be.
class NameLengthValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

} // namespace DriverNames
