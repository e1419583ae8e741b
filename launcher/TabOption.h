#pragma once

#include "Data/Options.h"
#include "DisplayModes.h"

#include <QWidget>
#include <vector>

class ConfigFile;
class QCheckBox;
class QComboBox;
class QSlider;

// The "Options" tab: video and audio settings, read from the settings file when the
// page is built (as the race reads them) and written back at once on every change the
// user makes. Filling the page writes nothing. It offers the resolutions of
// offeredResolutions for the display; "Default" shows and writes what a race uses
// without a settings file.
class CTabOption : public QWidget {
    Q_OBJECT

public:
    explicit CTabOption(const ConfigFile& config, QWidget* parent = nullptr,
                        DisplayModes display = {});

private:
    void showOptions(const Data::Options& options);
    // Offers the resolutions for full screen or a window and selects the entry of
    // that size, else 1024 x 768, else the first; true when that size was offered.
    bool fillResolutions(bool fullscreen, unsigned width, unsigned height);
    void writeResolution(int index);
    void writeColorDepth(int position);
    void writeFullscreen(bool checked);
    void writeDetail(int level);
    void writeSplitScreen(bool checked);
    // Resets every control to a fresh start's settings and writes all eight.
    void restoreDefaults();

    const ConfigFile& config;
    DisplayModes display;
    // The offered resolutions, in list order; only width and height are used.
    std::vector<Data::Options> resolutions;

    QComboBox* resolutionList;
    QComboBox* colorDepthList;
    QComboBox* detailList;
    QCheckBox* fullscreenBox;
    QCheckBox* splitScreenBox;
    QSlider* soundSlider;
    QSlider* musicSlider;
};
