#pragma once

#include "Data/Control.h"

#include <QWidget>
#include <array>

class MessageBoxes;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLineEdit;
class QPushButton;

// The "Drivers" tab: creates, edits and deletes driver profiles. After a reset the
// form is in new-driver mode (name editable); choosing a profile switches it to edit
// mode (name fixed, "Delete" enabled). Save and delete return it to new-driver mode.
class CTabDriver : public QWidget {
    Q_OBJECT

public:
    explicit CTabDriver(MessageBoxes& messages, QWidget* parent = nullptr);

private:
    static constexpr std::size_t keyCount = 5;

    void resetForm();
    void selectProfile(int index);
    void chooseHuman();
    void chooseAI();
    void setKey(std::size_t binding);
    void setKeyButtonsEnabled(bool enabled);
    // Every failing rule's text, in order; empty when the form can be saved.
    QString validate() const;
    void save();
    void deleteProfile();

    MessageBoxes& messages;
    // The key bindings as edited, read by save().
    Data::Control editedControls;

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
};
