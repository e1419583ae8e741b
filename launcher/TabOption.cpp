#include "TabOption.h"

#include "ConfigFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace {

constexpr unsigned defaultWidth = 1024;
constexpr unsigned defaultHeight = 768;
constexpr int defaultColorDepthPosition = 2; // 32 bit
constexpr int defaultSoundVolume = 75;
constexpr int defaultMusicVolume = 50;

// The resolutions every display is offered, in list order.
const std::vector<Data::Options>& fixedResolutions() {
    static const std::vector<Data::Options> list = {{640, 480},   {800, 600},   {1024, 768},
                                                    {1280, 720},  {1280, 768},  {1440, 900},
                                                    {1680, 1050}, {1600, 1200}, {1920, 1200}};
    return list;
}

// List position p stands for the depth 16 + 8 p.
int colorDepthOf(int position) {
    return 16 + 8 * position;
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
    auto* videoGroup = new QGroupBox(QStringLiteral("Video"), this);
    auto* videoLayout = new QFormLayout(videoGroup);
    videoLayout->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    videoLayout->addRow(QStringLiteral("Resolution:"), resolutionList);
    videoLayout->addRow(QStringLiteral("Colordepth:"), colorDepthList);
    videoLayout->addRow(QStringLiteral("Detail:"), detailList);
    videoLayout->addRow(QString(), fullscreenBox);

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
    soundSlider->setObjectName(QStringLiteral("soundSlider"));
    musicSlider->setObjectName(QStringLiteral("musicSlider"));
    defaultButton->setObjectName(QStringLiteral("defaultButton"));

    colorDepthList->addItems({QStringLiteral("Highcolor (16 Bit)"),
                              QStringLiteral("Truecolor (24 Bit)"),
                              QStringLiteral("Truecolor (32 Bit)")});
    // Positions are the values of Data::Detail.
    detailList->addItems({QStringLiteral("Low"), QStringLiteral("Medium"), QStringLiteral("High")});
    readSettings();

    // Only the user's actions write: activated, clicked and actionTriggered (keys, mouse
    // and wheel on a slider, with the new position already set) are not emitted by the
    // setters that fill the page.
    connect(resolutionList, &QComboBox::activated, this, &CTabOption::writeResolution);
    connect(colorDepthList, &QComboBox::activated, this, &CTabOption::writeColorDepth);
    connect(detailList, &QComboBox::activated, this, &CTabOption::writeDetail);
    connect(fullscreenBox, &QCheckBox::clicked, this, &CTabOption::writeFullscreen);
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
    resolutions = offeredResolutions(fixedResolutions(), display, fullscreen);
    resolutionList->clear();
    for (const Data::Options& resolution : resolutions) {
        resolutionList->addItem(QString::fromStdString(resolution.getResolutionString()));
    }
    const auto indexOf = [this](unsigned w, unsigned h) {
        for (std::size_t index = 0; index < resolutions.size(); ++index) {
            if (resolutions[index].xResolution == w && resolutions[index].yResolution == h) {
                return static_cast<int>(index);
            }
        }
        return -1;
    };
    const int selected = indexOf(width, height);
    const int fallback = indexOf(defaultWidth, defaultHeight);
    resolutionList->setCurrentIndex(selected >= 0 ? selected : std::max(fallback, 0));
    return selected >= 0;
}

void CTabOption::readSettings() {
    using namespace ConfigKeys;
    // Without a value the race starts in a window, so the box shows just that.
    const bool full = config.readInt(videoSection, fullscreen, 0) != 0;
    fillResolutions(full, static_cast<unsigned>(config.readInt(videoSection, xResolution, 1024)),
                    static_cast<unsigned>(config.readInt(videoSection, yResolution, 768)));

    // The tab's own default 2 is no depth: like any unknown value it shows 32 bit.
    const int depth = config.readInt(videoSection, colorDepth, 2);
    colorDepthList->setCurrentIndex(depth == 16 ? 0 : depth == 24 ? 1 : 2);

    soundSlider->setValue(config.readInt(audioSection, soundVolume, defaultSoundVolume));
    musicSlider->setValue(config.readInt(audioSection, musicVolume, defaultMusicVolume));
    fullscreenBox->setChecked(full);
    // A file without the key, or with a value of no level, draws at the highest.
    const int level = config.readInt(videoSection, detail, Data::DETAIL_HIGH);
    detailList->setCurrentIndex(
        level >= Data::DETAIL_LOW && level <= Data::DETAIL_HIGH ? level : Data::DETAIL_HIGH);
}

void CTabOption::writeResolution(int index) {
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
    // A window takes fewer sizes than the full screen: when the chosen one is gone,
    // the one now shown is the race's.
    const Data::Options chosen =
        resolutions.at(static_cast<std::size_t>(std::max(resolutionList->currentIndex(), 0)));
    if (!fillResolutions(checked, chosen.xResolution, chosen.yResolution)) {
        writeResolution(resolutionList->currentIndex());
    }
}

void CTabOption::writeDetail(int level) {
    config.writeInt(ConfigKeys::videoSection, ConfigKeys::detail, level);
}

void CTabOption::restoreDefaults() {
    soundSlider->setValue(defaultSoundVolume);
    musicSlider->setValue(defaultMusicVolume);
    fullscreenBox->setChecked(true);
    fillResolutions(true, defaultWidth, defaultHeight);
    colorDepthList->setCurrentIndex(defaultColorDepthPosition);
    detailList->setCurrentIndex(Data::DETAIL_HIGH);

    writeResolution(resolutionList->currentIndex());
    writeColorDepth(colorDepthList->currentIndex());
    config.writeInt(ConfigKeys::videoSection, ConfigKeys::fullscreen, 1);
    writeDetail(detailList->currentIndex());
    config.writeInt(ConfigKeys::audioSection, ConfigKeys::soundVolume, soundSlider->value());
    config.writeInt(ConfigKeys::audioSection, ConfigKeys::musicVolume, musicSlider->value());
}
