#pragma once

#include "Data/Control.h"

#include <QDateTime>
#include <QString>
#include <QWidget>
#include <array>
#include <string>
#include <vector>

class MessageBoxes;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;

// The "Drivers" tab: creates, edits and deletes driver profiles. After a reset the
// form is in new-driver mode (name editable); choosing a profile switches it to edit
// mode (name fixed, "Delete" enabled). Save and delete return it to new-driver mode.
class CTabDriver : public QWidget {
    Q_OBJECT

public:
    explicit CTabDriver(MessageBoxes& messages, QWidget* parent = nullptr);

    // Whether the form shows anything the user changed since it was last reset or
    // filled from a profile, and has not saved.
    bool hasUnsavedEdits() const;

    // The drivers chosen for the next race (on the New Game tab): while one of them is
    // edited, the tab warns when its keys are also another one's.
    void setRaceDrivers(std::vector<std::string> names);

private:
    static constexpr std::size_t keyCount = 5;

    // What the form shows, compared to tell whether the user changed anything.
    struct FormState {
        QString name;
        QDateTime birthdate;
        int nationality = -1;
        bool male = true;
        Data::Control controls;
        bool operator==(const FormState& other) const = default;
    };

    void resetForm();
    void selectProfile(int index);
    void chooseHuman();
    void chooseAI();
    void setKey(std::size_t binding);
    // Binds the ready-made key set and says which other drivers use its keys.
    void applyKeySet(std::size_t set);
    void showKeys();
    void setKeyButtonsEnabled(bool enabled);
    // The name typed in for a new driver, or the stored name of the one edited.
    std::string editedName() const;
    // Every failing rule's text, in order; empty when the form can be saved.
    QString validate() const;
    void save();
    void deleteProfile();
    FormState currentState() const;
    void updateKeyWarning();

    MessageBoxes& messages;
    // The key bindings as edited, read by save().
    Data::Control editedControls;
    // The stored name of the profile being edited; "" in new-driver mode.
    std::string selectedName;
    // The form as it was last reset or filled from a profile.
    FormState filledState;
    std::vector<std::string> raceDrivers;

    QComboBox* profileList;
    QPushButton* deleteButton;
    QLineEdit* nameEdit;
    QDateTimeEdit* birthdateEdit;
    QComboBox* nationalityList;
    QCheckBox* maleBox;
    QCheckBox* femaleBox;
    QCheckBox* humanBox;
    QCheckBox* aiBox;
    QComboBox* difficultyList;
    std::array<QPushButton*, keyCount> keyButtons{};
    std::vector<QPushButton*> keySetButtons;
    QLabel* keyWarning;
    QLabel* keySetWarning;
};
