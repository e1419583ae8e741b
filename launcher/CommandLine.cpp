#include "CommandLine.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace {

// Cars without a colour of their own are told apart: blue, red, yellow.
const glm::vec3 defaultColours[] = {{0, 0, 255}, {220, 30, 30}, {240, 200, 20}};

bool parseDriver(const QString& text, std::size_t index, RaceDriver& driver, std::string& error) {
    static const QRegularExpression colourPattern(QStringLiteral("^[0-9A-Fa-f]{6}$"));
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    const QString name = colon < 0 ? text : text.left(colon);
    if (name.isEmpty()) {
        error = "--driver needs a driver's name";
        return false;
    }
    driver.name = name.toStdString();
    driver.colour = defaultColours[index % std::size(defaultColours)];
    if (colon >= 0) {
        const QString colour = text.mid(colon + 1);
        if (!colourPattern.match(colour).hasMatch()) {
            error =
                "the colour of --driver " + text.toStdString() + " is not RRGGBB in hexadecimal";
            return false;
        }
        const unsigned rgb = colour.toUInt(nullptr, 16);
        driver.colour = {static_cast<float>((rgb >> 16) & 0xff),
                         static_cast<float>((rgb >> 8) & 0xff), static_cast<float>(rgb & 0xff)};
    }
    return true;
}

} // namespace

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
    const QCommandLineOption benchmarkOption(
        QStringLiteral("benchmark"),
        QStringLiteral("End the race after SECONDS and print frame-time figures."),
        QStringLiteral("SECONDS"));
    parser.addOptions({raceOption, driverOption, lapsOption, benchmarkOption});
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
    const bool raceOnly =
        parser.isSet(driverOption) || parser.isSet(lapsOption) || parser.isSet(benchmarkOption);
    if (request.help) {
        return true;
    }
    if (!request.race) {
        if (raceOnly) {
            error = "--driver, --laps and --benchmark need --race";
            return false;
        }
        return true;
    }
    if (drivers.isEmpty()) {
        error = "--race needs at least one --driver";
        return false;
    }
    for (qsizetype i = 0; i < drivers.size(); ++i) {
        RaceDriver driver;
        if (!parseDriver(drivers[i], static_cast<std::size_t>(i), driver, error)) {
            return false;
        }
        request.drivers.push_back(driver);
    }
    bool ok = false;
    const unsigned laps = parser.value(lapsOption).toUInt(&ok);
    if (!ok || laps < 1 || laps > 100) {
        error = "--laps must be a whole number from 1 to 100";
        return false;
    }
    request.laps = laps;
    if (parser.isSet(benchmarkOption)) {
        const double seconds = parser.value(benchmarkOption).toDouble(&ok);
        if (!ok || !(seconds > 0.0) || seconds > 86400.0) {
            error = "--benchmark must be a number of seconds above 0";
            return false;
        }
        request.benchmarkSeconds = seconds;
    }
    return true;
}
