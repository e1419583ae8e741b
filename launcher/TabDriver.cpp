#include "TabDriver.h"

#include "Data/KeyTable.h"
#include "Data/Nation.h"
#include "Data/ProfileManager.h"
#include "DeleteDialog.h"
#include "DriverNames.h"
#include "KeyConflicts.h"
#include "KeyDialog.h"
#include "KeySets.h"
#include "MessageBoxes.h"
#include "Tool/LogManager.h"
#include "Tool/LogText.h"
#include "Tool/Message.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <ctime>
#include <exception>

namespace {

const QString unsetKeyCaption = QStringLiteral("Set Key..");

// The five bindings in button order: label, member of Control, text when unset.
struct KeyBinding {
    const char* label;
    const char* objectName;
    std::uint32_t Data::Control::*key;
    const char* missingText;
};

constexpr std::array<KeyBinding, 5> keyBindings = {{
    {"Accelerate:", "accelerateButton", &Data::Control::accelerate,
     "* You must set a Key to accelerate\n"},
    {"Brake:", "brakeButton", &Data::Control::brake, "* You must set a Key to brake\n"},
    {"Steer Left:", "steerLeftButton", &Data::Control::steerLeft,
     "* You must set a Key to steer left\n"},
    {"Steer Right:", "steerRightButton", &Data::Control::steerRight,
     "* You must set a Key to steer right\n"},
    {"Reset Car:", "resetButton", &Data::Control::reset, "* You must set a Key to reset the car\n"},
}};

QString keyName(std::uint32_t key) {
    return QString::fromStdString(Data::KeyTable::name(key));
}

void logError(const std::string& title, const std::string& name, const std::string& failure) {
    Tool::LogManager::getInstance().send(
        Tool::Message("Brumbly", title, Tool::logExcerpt(name) + ": " + Tool::logExcerpt(failure),
                      __FILE__, __LINE__, Tool::MT_ERROR));
}

// The date field holds local calendar fields in a zone without daylight saving, so
// that every date shows as it is, a midnight that a clock change skips included.
QDateTime birthdateField(const QDate& date, const QTime& time) {
    return QDateTime(date, time, Qt::UTC);
}

// The time value 0 in local calendar fields: 1 January 1970 east of Greenwich.
QDateTime resetBirthdate() {
    const QDateTime epoch = QDateTime::fromSecsSinceEpoch(0);
    return birthdateField(epoch.date(), epoch.time());
}

} // namespace

CTabDriver::CTabDriver(MessageBoxes& messages, QWidget* parent)
    : QWidget(parent), messages(messages) {
    // Edit Profile: choose a profile to edit or delete. Long names must not widen the
    // window.
    profileList = new QComboBox(this);
    profileList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    profileList->setMinimumContentsLength(16);
    deleteButton = new QPushButton(QStringLiteral("Delete"), this);
    auto* editGroup = new QGroupBox(QStringLiteral("Edit Profile"), this);
    auto* editLayout = new QHBoxLayout(editGroup);
    editLayout->addWidget(profileList, 1);
    editLayout->addWidget(deleteButton);

    // Details.
    nameEdit = new QLineEdit(this);
    nameEdit->setValidator(new DriverNames::NameLengthValidator(nameEdit));
    birthdateEdit = new QDateTimeEdit(this);
    birthdateEdit->setTimeSpec(Qt::UTC);
    birthdateEdit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    birthdateEdit->setCalendarPopup(true);
    nationalityList = new QComboBox(this);
    maleBox = new QCheckBox(QStringLiteral("Male"), this);
    femaleBox = new QCheckBox(QStringLiteral("Female"), this);
    humanBox = new QCheckBox(QStringLiteral("Human"), this);
    aiBox = new QCheckBox(QStringLiteral("AI"), this);
    difficultyList = new QComboBox(this);

    auto* sexRow = new QHBoxLayout;
    sexRow->addWidget(maleBox);
    sexRow->addWidget(femaleBox);
    sexRow->addStretch();
    auto* controlsRow = new QHBoxLayout;
    controlsRow->addWidget(humanBox);
    controlsRow->addWidget(aiBox);
    controlsRow->addWidget(difficultyList, 1);

    auto* detailsGroup = new QGroupBox(QStringLiteral("Details"), this);
    auto* detailsLayout = new QFormLayout(detailsGroup);
    detailsLayout->addRow(QStringLiteral("Name:"), nameEdit);
    detailsLayout->addRow(QStringLiteral("Birthdate:"), birthdateEdit);
    detailsLayout->addRow(QStringLiteral("Nationality:"), nationalityList);
    detailsLayout->addRow(QStringLiteral("Sex:"), sexRow);
    detailsLayout->addRow(QStringLiteral("Controls:"), controlsRow);

    // Control: one "Set Key.." button per binding.
    auto* controlGroup = new QGroupBox(QStringLiteral("Control"), this);
    auto* controlLayout = new QFormLayout(controlGroup);
    for (std::size_t binding = 0; binding < keyCount; ++binding) {
        auto* button = new QPushButton(unsetKeyCaption, this);
        button->setObjectName(QString::fromLatin1(keyBindings[binding].objectName));
        controlLayout->addRow(QString::fromLatin1(keyBindings[binding].label), button);
        connect(button, &QPushButton::clicked, this, [this, binding] { setKey(binding); });
        keyButtons[binding] = button;
    }
    // Ready-made key sets, one click each.
    auto* keySetRow = new QHBoxLayout;
    for (std::size_t set = 0; set < keySets().size(); ++set) {
        auto* button = new QPushButton(QString::fromLatin1(keySets()[set].name), this);
        button->setObjectName(QStringLiteral("keySetButton%1").arg(set));
        keySetRow->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, set] { applyKeySet(set); });
        keySetButtons.push_back(button);
    }
    keySetWarning = createKeyWarningLabel(this);
    keySetWarning->setObjectName(QStringLiteral("keySetWarning"));
    auto* keySetColumn = new QVBoxLayout;
    keySetColumn->addLayout(keySetRow);
    keySetColumn->addWidget(keySetWarning);
    controlLayout->addRow(QStringLiteral("Key set:"), keySetColumn);

    auto* saveButton = new QPushButton(QStringLiteral("Save"), this);
    auto* clearButton = new QPushButton(QStringLiteral("Clear"), this);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(saveButton);
    buttonRow->addWidget(clearButton);

    auto* columns = new QHBoxLayout;
    columns->addWidget(detailsGroup, 3);
    columns->addWidget(controlGroup, 2);
    keyWarning = createKeyWarningLabel(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(editGroup);
    layout->addLayout(columns);
    layout->addWidget(keyWarning);
    layout->addStretch();
    layout->addLayout(buttonRow);

    profileList->setObjectName(QStringLiteral("profileList"));
    deleteButton->setObjectName(QStringLiteral("deleteButton"));
    nameEdit->setObjectName(QStringLiteral("nameEdit"));
    birthdateEdit->setObjectName(QStringLiteral("birthdateEdit"));
    nationalityList->setObjectName(QStringLiteral("nationalityList"));
    maleBox->setObjectName(QStringLiteral("maleBox"));
    femaleBox->setObjectName(QStringLiteral("femaleBox"));
    humanBox->setObjectName(QStringLiteral("humanBox"));
    aiBox->setObjectName(QStringLiteral("aiBox"));
    difficultyList->setObjectName(QStringLiteral("difficultyList"));
    saveButton->setObjectName(QStringLiteral("saveButton"));
    clearButton->setObjectName(QStringLiteral("clearButton"));
    keyWarning->setObjectName(QStringLiteral("keyConflictLabel"));

    // The nation table is alphabetical, so list position and nation index agree.
    const std::string* nations = Data::Nation::getStringMap();
    for (unsigned int index = 0; index < Data::Nation::getNationMapsize(); ++index) {
        nationalityList->addItem(QString::fromStdString(nations[index]));
    }
    difficultyList->addItems(
        {QStringLiteral("Easy"), QStringLiteral("Normal"), QStringLiteral("Hard")});

    connect(profileList, &QComboBox::activated, this, &CTabDriver::selectProfile);
    connect(deleteButton, &QPushButton::clicked, this, &CTabDriver::deleteProfile);
    connect(humanBox, &QCheckBox::clicked, this, &CTabDriver::chooseHuman);
    connect(aiBox, &QCheckBox::clicked, this, &CTabDriver::chooseAI);
    connect(maleBox, &QCheckBox::clicked, this, [this] {
        maleBox->setChecked(true);
        femaleBox->setChecked(false);
    });
    connect(femaleBox, &QCheckBox::clicked, this, [this] {
        femaleBox->setChecked(true);
        maleBox->setChecked(false);
    });
    connect(difficultyList, &QComboBox::activated, this,
            [this](int index) { editedControls.aiDifficulty = static_cast<std::uint32_t>(index); });
    connect(saveButton, &QPushButton::clicked, this, &CTabDriver::save);
    connect(clearButton, &QPushButton::clicked, this, &CTabDriver::resetForm);

    resetForm();
}

void CTabDriver::resetForm() {
    profileList->clear();
    for (const auto& entry : Data::ProfileManager::getInstance().getResources()) {
        DriverNames::addItem(*profileList, entry.first);
    }
    profileList->setCurrentIndex(-1);
    selectedName.clear();
    deleteButton->setEnabled(false);
    nameEdit->clear();
    nameEdit->setEnabled(true);
    nationalityList->setCurrentIndex(-1);
    humanBox->setChecked(true);
    aiBox->setChecked(false);
    setKeyButtonsEnabled(true);
    difficultyList->setCurrentIndex(0);
    difficultyList->setEnabled(false);
    editedControls = Data::Control();
    showKeys();
    birthdateEdit->setDateTime(resetBirthdate());
    maleBox->setChecked(true);
    femaleBox->setChecked(false);
    filledState = currentState();
    updateKeyWarning();
}

void CTabDriver::selectProfile(int index) {
    const std::string name = DriverNames::stored(*profileList, index);
    const auto profile = Data::ProfileManager::getInstance().find(name);
    if (!profile) {
        // Never leave another driver's details in a form that names this one.
        resetForm();
        return;
    }
    selectedName = name;
    nameEdit->setText(DriverNames::readable(name));
    nameEdit->setEnabled(false);

    // Birthdays are kept in calendar convention: month 1 to 12, full year. A date that
    // no calendar has (a hand-edited file) shows as the form's reset date; saving
    // keeps the stored one unless the user picks another.
    const Data::Date& birthday = profile->birthday;
    const QDate date(birthday.year, birthday.month, birthday.day);
    const QTime time(birthday.hours, birthday.minutes, birthday.seconds);
    birthdateEdit->setDateTime(date.isValid()
                                   ? birthdateField(date, time.isValid() ? time : QTime(0, 0))
                                   : resetBirthdate());
    nationalityList->setCurrentIndex(static_cast<int>(profile->nationality.getNationIndex()));

    editedControls = profile->controls;
    showKeys();
    aiBox->setChecked(editedControls.aiEnabled);
    humanBox->setChecked(!editedControls.aiEnabled);
    setKeyButtonsEnabled(!editedControls.aiEnabled);
    difficultyList->setCurrentIndex(
        static_cast<int>(std::min<std::uint32_t>(editedControls.aiDifficulty, 2)));
    difficultyList->setEnabled(editedControls.aiEnabled);

    maleBox->setChecked(profile->sex);
    femaleBox->setChecked(!profile->sex);
    deleteButton->setEnabled(true);
    filledState = currentState();
    updateKeyWarning();
}

CTabDriver::FormState CTabDriver::currentState() const {
    return {nameEdit->text(), birthdateEdit->dateTime(), nationalityList->currentIndex(),
            maleBox->isChecked(), editedControls};
}

bool CTabDriver::hasUnsavedEdits() const {
    return currentState() != filledState;
}

void CTabDriver::setRaceDrivers(std::vector<std::string> names) {
    raceDrivers = std::move(names);
    updateKeyWarning();
}

void CTabDriver::updateKeyWarning() {
    // Only a driver chosen for the race can clash with the others chosen; the keys
    // compared are the ones in the form, saved or not.
    std::vector<RaceKeys> drivers;
    if (std::find(raceDrivers.begin(), raceDrivers.end(), selectedName) != raceDrivers.end()) {
        drivers.push_back({selectedName, editedControls});
        for (const std::string& name : raceDrivers) {
            const auto profile = Data::ProfileManager::getInstance().find(name);
            if (name != selectedName && profile) {
                drivers.push_back({name, profile->controls});
            }
        }
    }
    std::vector<KeyConflict> conflicts = findKeyConflicts(drivers);
    std::erase_if(conflicts, [](const KeyConflict& conflict) { return conflict.first != 0; });
    showKeyWarning(*keyWarning, keyConflictWarning(drivers, conflicts));
}

void CTabDriver::chooseHuman() {
    humanBox->setChecked(true);
    aiBox->setChecked(false);
    difficultyList->setEnabled(false);
    editedControls.aiEnabled = false;
    setKeyButtonsEnabled(true);
    updateKeyWarning();
}

void CTabDriver::chooseAI() {
    aiBox->setChecked(true);
    humanBox->setChecked(false);
    difficultyList->setEnabled(true);
    editedControls.aiEnabled = true;
    setKeyButtonsEnabled(false);
    updateKeyWarning();
}

void CTabDriver::setKey(std::size_t binding) {
    QString control = QString::fromLatin1(keyBindings[binding].label);
    control.chop(1); // the label's colon
    CKeyDialog dialog(control, this);
    if (dialog.exec() != QDialog::Accepted || !dialog.isCaptured()) {
        return;
    }
    editedControls.*keyBindings[binding].key = dialog.keyCode();
    keyButtons[binding]->setText(keyName(dialog.keyCode()));
    updateKeyWarning();
}

void CTabDriver::setKeyButtonsEnabled(bool enabled) {
    for (QPushButton* button : keyButtons) {
        button->setEnabled(enabled);
    }
    for (QPushButton* button : keySetButtons) {
        button->setEnabled(enabled);
    }
    showKeyWarning(*keySetWarning, {});
}

void CTabDriver::applyKeySet(std::size_t set) {
    const Data::Control& keys = keySets()[set].keys;
    for (const KeyBinding& binding : keyBindings) {
        editedControls.*binding.key = keys.*binding.key;
    }
    showKeys();
    updateKeyWarning();
    // Every other human driver whose keys meet the set's.
    std::vector<RaceKeys> drivers{{keySets()[set].name, editedControls}};
    for (const auto& [name, profile] : Data::ProfileManager::getInstance().getResources()) {
        if (name != selectedName && !profile->controls.aiEnabled) {
            drivers.push_back({name, profile->controls});
        }
    }
    std::vector<KeyConflict> conflicts = findKeyConflicts(drivers);
    std::erase_if(conflicts, [](const KeyConflict& conflict) { return conflict.first != 0; });
    showKeyWarning(*keySetWarning, keyConflictWarning(drivers, conflicts));
}

void CTabDriver::showKeys() {
    for (std::size_t binding = 0; binding < keyCount; ++binding) {
        const std::uint32_t key = editedControls.*keyBindings[binding].key;
        keyButtons[binding]->setText(key != 0 ? keyName(key) : unsetKeyCaption);
    }
}

std::string CTabDriver::editedName() const {
    return nameEdit->isEnabled() ? nameEdit->text().toStdString() : selectedName;
}

QString CTabDriver::validate() const {
    const Data::ProfileManager& manager = Data::ProfileManager::getInstance();
    const bool newDriver = nameEdit->isEnabled();
    const std::string name = editedName();
    QString failures;
    if (newDriver) {
        // The files too: another launcher on the same folder may have saved this name.
        const std::set<std::string> saved = DriverNames::savedNames();
        if (name.empty()) {
            failures += QStringLiteral("* You must enter a Name for the Driver\n");
        } else if (saved.contains(name)) {
            failures += QStringLiteral("* The name of the Driver already exists\n");
        } else {
            failures += DriverNames::newNameProblems(nameEdit->text(), saved);
        }
    } else if (!manager.exists(name)) {
        failures += QStringLiteral("* The name of the Driver doesn't exist\n");
    }
    if (!name.empty() && !Data::Profile::isSafeFileName(name)) {
        failures += QStringLiteral("* The name of the Driver can't be used as a file name\n");
    }
    if (!editedControls.aiEnabled && nationalityList->currentText().isEmpty()) {
        failures += QStringLiteral("You must enter a Nationality\n");
    }
    if (!editedControls.aiEnabled) {
        for (const KeyBinding& binding : keyBindings) {
            if (editedControls.*binding.key == 0) {
                failures += QString::fromLatin1(binding.missingText);
            }
        }
    }
    return failures;
}

void CTabDriver::save() {
    const QString failures = validate();
    if (!failures.isEmpty()) {
        messages.message(this, failures);
        return;
    }
    Data::ProfileManager& manager = Data::ProfileManager::getInstance();
    const std::string name = editedName();
    const bool existed = manager.exists(name);
    const auto profile = manager.getOrCreate(name);
    const Data::Profile before = *profile;

    if (!existed) {
        profile->creationDate.set(static_cast<std::int64_t>(std::time(nullptr)));
    }
    // An existing driver's birthday changes only when the user picked another date.
    const QDateTime birthdate = birthdateEdit->dateTime();
    if (!existed || birthdate != filledState.birthdate) {
        profile->birthday.day = birthdate.date().day();
        profile->birthday.month = birthdate.date().month();
        profile->birthday.year = birthdate.date().year();
        profile->birthday.hours = birthdate.time().hour();
        profile->birthday.minutes = birthdate.time().minute();
        profile->birthday.seconds = birthdate.time().second();
    }
    if (nationalityList->currentIndex() >= 0) {
        profile->nationality.set(nationalityList->currentText().toStdString());
    } else {
        profile->nationality.set(Data::Nation::noNation);
    }
    profile->sex = maleBox->isChecked();
    profile->controls = editedControls;

    try {
        profile->save();
    } catch (const std::exception& failure) {
        // Keep memory as it was on disk and leave the form as the user filled it in.
        if (existed) {
            *profile = before;
        } else {
            manager.remove(name, false);
        }
        logError("Couldn't save Profile .. [Failed]", name, failure.what());
        messages.error(
            this, QStringLiteral("The Profile \"%1\" couldn't be saved:\n%2")
                      .arg(DriverNames::readable(name), QString::fromLocal8Bit(failure.what())));
        return;
    }
    resetForm();
}

void CTabDriver::deleteProfile() {
    CDeleteDialog dialog(QStringLiteral("Profile"), this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const std::string name = selectedName;
    try {
        Data::ProfileManager::getInstance().remove(name, true);
    } catch (const std::exception& failure) {
        logError("Couldn't delete Profile .. [Failed]", name, failure.what());
        messages.error(
            this, QStringLiteral("The Profile \"%1\" couldn't be deleted:\n%2")
                      .arg(DriverNames::readable(name), QString::fromLocal8Bit(failure.what())));
        return;
    }
    resetForm();
}
