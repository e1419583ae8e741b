#include "CommandLine.h"

#include "Data/ProfileManager.h"
#include "DriverNames.h"
#include "Tool/LogText.h"
#include "Track/RandomName.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <algorithm>

namespace {

// Cars without a colour of their own are told apart: blue, red, yellow.
const glm::vec3 defaultColours[] = {{0, 0, 255}, {220, 30, 30}, {240, 200, 20}};

constexpr char16_t firstEscape = 0xDC80;

// The length of the valid UTF-8 sequence at `at`, or 0 when the byte there starts
// none (a stray continuation byte, an overlong form, a surrogate, a value above
// U+10FFFF, or a cut sequence).
std::size_t utf8SequenceLength(std::string_view bytes, std::size_t at) {
    const auto byte = [&](std::size_t index) { return static_cast<unsigned char>(bytes[index]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    char32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > bytes.size()) {
        return 0;
    }
    for (std::size_t index = at + 1; index < at + length; ++index) {
        if ((byte(index) & 0xC0) != 0x80) {
            return 0;
        }
        value = (value << 6) | (byte(index) & 0x3F);
    }
    const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    return value < smallest[length] || surrogate || value > 0x10FFFF ? 0 : length;
}

bool parseColour(const std::string& text, glm::vec3& colour) {
    static const QRegularExpression pattern(QStringLiteral("^[0-9A-Fa-f]{6}$"));
    const QString digits = QString::fromStdString(text);
    if (!pattern.match(digits).hasMatch()) {
        return false;
    }
    const unsigned rgb = digits.toUInt(nullptr, 16);
    colour = {static_cast<float>((rgb >> 16) & 0xff), static_cast<float>((rgb >> 8) & 0xff),
              static_cast<float>(rgb & 0xff)};
    return true;
}

// How an error repeats a --driver value: readable, and bounded in length.
std::string quoted(const std::string& argument) {
    return "--driver \"" + Tool::logExcerpt(DriverNames::readable(argument).toStdString()) + "\"";
}

} // namespace

QString argumentText(std::string_view bytes) {
    QString text;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t length = utf8SequenceLength(bytes, at);
        if (length == 0) {
            text += QChar(
                static_cast<char16_t>(firstEscape - 0x80 + static_cast<unsigned char>(bytes[at])));
            ++at;
        } else {
            text += QString::fromUtf8(bytes.data() + at, static_cast<qsizetype>(length));
            at += length;
        }
    }
    return text;
}

std::string argumentBytes(const QString& text) {
    std::string bytes;
    qsizetype start = 0;
    const auto flush = [&](qsizetype end) { bytes += text.mid(start, end - start).toStdString(); };
    for (qsizetype index = 0; index < text.size(); ++index) {
        const char16_t unit = text[index].unicode();
        const bool paired = index > 0 && text[index - 1].isHighSurrogate();
        if (unit >= firstEscape && unit <= 0xDCFF && !paired) {
            flush(index);
            bytes += static_cast<char>(unit - firstEscape + 0x80);
            start = index + 1;
        }
    }
    flush(text.size());
    return bytes;
}

bool parseCommandLine(const QStringList& arguments, LaunchRequest& request, std::string& error) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Brumbly: manage drivers and start races, or start one race at once."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption raceOption(
        QStringLiteral("race"), QStringLiteral("Start one race at once and exit after it."));
    const QCommandLineOption driverOption(
        QStringLiteral("driver"),
        QStringLiteral("A saved driver for the race, optionally with the car colour in "
                       "hexadecimal; once per car, at most three."),
        QStringLiteral("NAME[:RRGGBB]"));
    const QCommandLineOption lapsOption(QStringLiteral("laps"),
                                        QStringLiteral("Number of laps, 1 to 100 (default 3)."),
                                        QStringLiteral("N"), QStringLiteral("3"));
    const QCommandLineOption trackOption(
        QStringLiteral("track"),
        QStringLiteral("The track to race (default \"Test Track\"); the tracks are listed "
                       "below."),
        QStringLiteral("NAME"));
    const QCommandLineOption benchmarkOption(
        QStringLiteral("benchmark"),
        QStringLiteral("End the race after SECONDS (at most 86400) and print frame-time "
                       "figures."),
        QStringLiteral("SECONDS"));
    parser.addOptions({raceOption, driverOption, lapsOption, trackOption, benchmarkOption});
    // Parsed before any application object exists, so the program's name is filled in.
    request.helpText = parser.helpText()
                           .replace(QStringLiteral("<executable_name>"), QStringLiteral("Brumbly"))
                           .toStdString();

    if (!parser.parse(arguments)) {
        error = parser.errorText().toStdString();
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = "unexpected argument: " + parser.positionalArguments().front().toStdString();
        return false;
    }
    request.help = parser.isSet(helpOption);
    request.race = parser.isSet(raceOption);
    const QStringList drivers = parser.values(driverOption);
    const bool raceOnly = parser.isSet(driverOption) || parser.isSet(lapsOption) ||
                          parser.isSet(trackOption) || parser.isSet(benchmarkOption);
    if (request.help) {
        return true;
    }
    if (!request.race) {
        if (raceOnly) {
            error = "--driver, --laps, --track and --benchmark need --race";
            return false;
        }
        return true;
    }
    if (drivers.isEmpty()) {
        error = "--race needs at least one --driver";
        return false;
    }
    for (const QString& driver : drivers) {
        if (driver.isEmpty()) {
            error = "--driver needs a driver's name";
            return false;
        }
        request.driverArguments.push_back(argumentBytes(driver));
    }
    bool ok = false;
    const unsigned laps = parser.value(lapsOption).toUInt(&ok);
    if (!ok || laps < 1 || laps > 100) {
        error = "--laps must be a whole number from 1 to 100";
        return false;
    }
    request.laps = laps;
    if (parser.isSet(trackOption)) {
        request.track = argumentBytes(parser.value(trackOption));
    }
    if (parser.isSet(benchmarkOption)) {
        const double seconds = parser.value(benchmarkOption).toDouble(&ok);
        if (!ok || !(seconds > 0.0) || seconds > maximumBenchmarkSeconds) {
            error = "--benchmark must be a number of seconds above 0 and at most 86400";
            return false;
        }
        request.benchmarkSeconds = seconds;
    }
    return true;
}

bool chooseRaceDrivers(const std::vector<std::string>& arguments, std::vector<RaceDriver>& drivers,
                       std::string& error) {
    Data::ProfileManager& profiles = Data::ProfileManager::getInstance();
    drivers.clear();
    for (const std::string& argument : arguments) {
        if (drivers.size() == maximumRaceDrivers) {
            error = quoted(argument) + ": a race takes at most " +
                    std::to_string(maximumRaceDrivers) + " drivers";
            return false;
        }
        RaceDriver driver;
        driver.name = argument;
        driver.colour = defaultColours[drivers.size() % std::size(defaultColours)];
        const std::size_t colon = argument.rfind(':');
        if (!profiles.exists(argument) && colon != std::string::npos) {
            driver.name = argument.substr(0, colon);
            if (profiles.exists(driver.name) &&
                !parseColour(argument.substr(colon + 1), driver.colour)) {
                error = quoted(argument) + ": the colour is not RRGGBB in hexadecimal";
                return false;
            }
        }
        if (!profiles.exists(driver.name)) {
            error = quoted(argument) + ": no saved driver has this name";
            return false;
        }
        if (std::any_of(drivers.begin(), drivers.end(),
                        [&](const RaceDriver& earlier) { return earlier.name == driver.name; })) {
            error = quoted(argument) + ": this driver is already in the race";
            return false;
        }
        drivers.push_back(driver);
    }
    return true;
}

std::string trackHelp(const std::vector<std::string>& trackNames) {
    std::string text = "\nTracks:\n";
    for (const std::string& name : trackNames) {
        text += "  " + name + "\n";
    }
    return text + "  random:SEED (a new track generated from SEED, 0 to 4294967295)\n";
}

bool chooseTrack(const std::string& argument, const std::vector<std::string>& trackNames,
                 std::string& track, std::string& error) {
    if (Track::isRandomTrackName(argument)) {
        std::uint32_t seed = 0;
        if (!Track::randomTrackSeed(argument, seed)) {
            error = "--track \"" + Tool::logExcerpt(argument) +
                    "\": the seed of a random track is a whole number from 0 to 4294967295";
            return false;
        }
        track = Track::randomTrackName(seed);
        return true;
    }
    const QString wanted = argumentText(argument);
    for (const std::string& name : trackNames) {
        if (QString::fromStdString(name).compare(wanted, Qt::CaseInsensitive) == 0) {
            track = name;
            return true;
        }
    }
    error =
        "--track \"" + Tool::logExcerpt(argument) + "\": no such track (Brumbly --help lists them)";
    return false;
}
