#pragma once

#include <QDialog>

class CMyTabCtrl;
class ConfigFile;
class MessageBoxes;

// The launcher's main window "Brumbly": the banner above the four tabs.
class CBrumblyDlg : public QDialog {
    Q_OBJECT

public:
    CBrumblyDlg(MessageBoxes& messages, const ConfigFile& config, QWidget* parent = nullptr);

    CMyTabCtrl* tabs() const { return tabControl; }

    // Escape and closing the window end here: a driver being edited and not saved is
    // only thrown away when the user agrees.
    void reject() override;

private:
    MessageBoxes& messages;
    CMyTabCtrl* tabControl;
};
