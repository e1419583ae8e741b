#pragma once

#include "Data/Options.h"

#include <QWidget>
#include <vector>

class ConfigFile;
class QCheckBox;
class QComboBox;
class QSlider;

// The "Options" tab: video and audio settings, read from the settings file when the
// page is built and written back at once on every change the user makes. Filling the
// page writes nothing.
class CTabOption : public QWidget {
    Q_OBJECT

public:
    explicit CTabOption(const ConfigFile& config, QWidget* parent = nullptr);

private:
    void readSettings();
    void writeResolution(int index);
    void writeColorDepth(int position);
    void writeFullscreen(bool checked);
    // Resets every control and writes all six settings.
    void restoreDefaults();

    const ConfigFile& config;
    // The offered resolutions, in list order; only width and height are used.
    std::vector<Data::Options> resolutions;

    QComboBox* resolutionList;
    QComboBox* colorDepthList;
    QCheckBox* fullscreenBox;
    QSlider* soundSlider;
    QSlider* musicSlider;
};
