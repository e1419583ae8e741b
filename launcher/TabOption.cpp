#include "TabOption.h"

#include "ConfigFile.h"
#include "RaceOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>
#include <utility>

namespace {

// List position p stands for the depth 16 + 8 p.
int colorDepthOf(int position) {
    return 16 + 8 * position;
}

int colorDepthPosition(int depth) {
    return (depth - 16) / 8;
}

QSlider* makeVolumeSlider(QWidget* parent) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(0, 100);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(10);
    return slider;
}

// The slider with its value shown to the right of it.
QLayout* withValueLabel(QSlider* slider) {
    auto* value = new QLabel(slider->parentWidget());
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("1000")));
    value->setNum(slider->value());
    QObject::connect(slider, &QSlider::valueChanged, value,
                     [value](int volume) { value->setNum(volume); });
    auto* row = new QHBoxLayout;
    row->addWidget(slider, 1);
    row->addWidget(value);
    return row;
}

} // namespace

CTabOption::CTabOption(const ConfigFile& config, QWidget* parent, DisplayModes display)
    : QWidget(parent), config(config), display(std::move(display)) {
    resolutionList = new QComboBox(this);
    colorDepthList = new QComboBox(this);
    detailList = new QComboBox(this);
    fullscreenBox = new QCheckBox(QStringLiteral("Fullscreen"), this);
    splitScreenBox = new QCheckBox(QStringLiteral("Split screen"), this);
    splitScreenBox->setToolTip(
        QStringLiteral("Two or three people racing get a view each behind their own car; "
                       "off, they share one view of the whole track."));
    auto* videoGroup = new QGroupBox(QStringLiteral("Video"), this);
    auto* videoLayout = new QFormLayout(videoGroup);
    videoLayout->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    videoLayout->addRow(QStringLiteral("Resolution:"), resolutionList);
    videoLayout->addRow(QStringLiteral("Colordepth:"), colorDepthList);
    videoLayout->addRow(QStringLiteral("Detail:"), detailList);
    videoLayout->addRow(QString(), fullscreenBox);
    videoLayout->addRow(QString(), splitScreenBox);

    soundSlider = makeVolumeSlider(this);
    musicSlider = makeVolumeSlider(this);
    auto* audioGroup = new QGroupBox(QStringLiteral("Audio"), this);
    auto* audioLayout = new QFormLayout(audioGroup);
    audioLayout->addRow(QStringLiteral("Sound Volume:"), withValueLabel(soundSlider));
    audioLayout->addRow(QStringLiteral("Music Volume:"), withValueLabel(musicSlider));

    auto* defaultButton = new QPushButton(QStringLiteral("Default"), this);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(defaultButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(videoGroup);
    layout->addWidget(audioGroup);
    layout->addStretch();
    layout->addLayout(buttonRow);

    resolutionList->setObjectName(QStringLiteral("resolutionList"));
    colorDepthList->setObjectName(QStringLiteral("colorDepthList"));
    detailList->setObjectName(QStringLiteral("detailList"));
    fullscreenBox->setObjectName(QStringLiteral("fullscreenBox"));
    splitScreenBox->setObjectName(QStringLiteral("splitScreenBox"));
    soundSlider->setObjectName(QStringLiteral("soundSlider"));
    musicSlider->setObjectName(QStringLiteral("musicSlider"));
    defaultButton->setObjectName(QStringLiteral("defaultButton"));

    colorDepthList->addItems({QStringLiteral("Highcolor (16 Bit)"),
                              QStringLiteral("Truecolor (24 Bit)"),
                              QStringLiteral("Truecolor (32 Bit)")});
    // Positions are the values of Data::Detail.
    const QStringList levels = {QStringLiteral("Low"), QStringLiteral("Medium"),
                                QStringLiteral("High")};
    detailList->addItems(levels);
    // Auto names the level it drew the last race at, once it has raced.
    const std::optional<std::int32_t> chosen = lastAutoDetail(config);
    detailList->addItem(chosen ? QStringLiteral("Auto (%1 last race)").arg(levels.at(*chosen))
                               : QStringLiteral("Auto"));
    // The race's own reader: the page shows what the next race will use.
    showOptions(readRaceOptions(config, this->display));

    // Only the user's actions write: activated, clicked and actionTriggered (keys, mouse
    // and wheel on a slider, with the new position already set) are not emitted by the
    // setters that fill the page.
    connect(resolutionList, &QComboBox::activated, this, &CTabOption::writeResolution);
    connect(colorDepthList, &QComboBox::activated, this, &CTabOption::writeColorDepth);
    connect(detailList, &QComboBox::activated, this, &CTabOption::writeDetail);
    connect(fullscreenBox, &QCheckBox::clicked, this, &CTabOption::writeFullscreen);
    connect(splitScreenBox, &QCheckBox::clicked, this, &CTabOption::writeSplitScreen);
    connect(soundSlider, &QSlider::actionTriggered, this, [this] {
        this->config.writeInt(ConfigKeys::audioSection, ConfigKeys::soundVolume,
                              soundSlider->sliderPosition());
    });
    connect(musicSlider, &QSlider::actionTriggered, this, [this] {
        this->config.writeInt(ConfigKeys::audioSection, ConfigKeys::musicVolume,
                              musicSlider->sliderPosition());
    });
    connect(defaultButton, &QPushButton::clicked, this, &CTabOption::restoreDefaults);
}

bool CTabOption::fillResolutions(bool fullscreen, unsigned width, unsigned height) {
    resolutions = offeredResolutions(standardResolutions(), display, fullscreen);
    resolutionList->clear();
    for (const Data::Options& resolution : resolutions) {
        resolutionList->addItem(QString::fromStdString(resolution.getResolutionString()));
    }
    const std::optional<std::size_t> shown = resolutionToShow(resolutions, width, height);
    resolutionList->setCurrentIndex(shown ? static_cast<int>(*shown) : -1);
    return findResolution(resolutions, width, height).has_value();
}

void CTabOption::showOptions(const Data::Options& options) {
    fillResolutions(options.fullscreen, options.xResolution, options.yResolution);
    colorDepthList->setCurrentIndex(colorDepthPosition(options.colorDepth));
    detailList->setCurrentIndex(options.detail);
    fullscreenBox->setChecked(options.fullscreen);
    splitScreenBox->setChecked(options.splitScreen);
    soundSlider->setValue(options.soundVolume);
    musicSlider->setValue(options.musicVolume);
}

void CTabOption::writeResolution(int index) {
    // A desktop smaller than every resolution leaves the list empty.
    if (index < 0) {
        return;
    }
    const Data::Options& resolution = resolutions.at(static_cast<std::size_t>(index));
    config.writeInt(ConfigKeys::videoSection, ConfigKeys::xResolution,
                    static_cast<int>(resolution.xResolution));
    config.writeInt(ConfigKeys::videoSection, ConfigKeys::yResolution,
                    static_cast<int>(resolution.yResolution));
}

void CTabOption::writeColorDepth(int position) {
    config.writeInt(ConfigKeys::videoSection, ConfigKeys::colorDepth, colorDepthOf(position));
}

void CTabOption::writeFullscreen(bool checked) {
    config.writeInt(ConfigKeys::videoSection, ConfigKeys::fullscreen, checked ? 1 : 0);
    // The other mode may not offer the chosen size (a window none above the desktop,
    // full screen only the display's own): then the one now shown is the race's.
    const int index = resolutionList->currentIndex();
    const Data::Options chosen =
        index < 0 ? Data::Options() : resolutions.at(static_cast<std::size_t>(index));
    if (!fillResolutions(checked, chosen.xResolution, chosen.yResolution)) {
        writeResolution(resolutionList->currentIndex());
    }
}

void CTabOption::writeDetail(int level) {
    config.writeInt(ConfigKeys::videoSection, ConfigKeys::detail, level);
}

void CTabOption::writeSplitScreen(bool checked) {
    config.writeInt(ConfigKeys::videoSection, ConfigKeys::splitScreen, checked ? 1 : 0);
}

void CTabOption::restoreDefaults() {
    // What a race does without a settings file.
    showOptions(Data::Options());
    writeResolution(resolutionList->currentIndex());
    writeColorDepth(colorDepthList->currentIndex());
    config.writeInt(ConfigKeys::videoSection, ConfigKeys::fullscreen,
                    fullscreenBox->isChecked() ? 1 : 0);
    writeDetail(detailList->currentIndex());
    writeSplitScreen(splitScreenBox->isChecked());
    config.writeInt(ConfigKeys::audioSection, ConfigKeys::soundVolume, soundSlider->value());
    config.writeInt(ConfigKeys::audioSection, ConfigKeys::musicVolume, musicSlider->value());
}
