#include "QuickRace.h"

#include "ConfigFile.h"
#include "RaceOptions.h"
#include "Tool/LogManager.h"
#include "Tool/Message.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <ostream>
#include <sys/resource.h>

namespace {

double percentile(std::vector<double> values, double fraction) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1));
    return values[index];
}

long peakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

std::string benchmarkReport(const Game::Kernel::FrameTimes& times, long peakResident) {
    const auto milliseconds = [](double value) { return value * 1000.0; };
    const double physics = times.updates.empty()
                               ? 0.0
                               : std::accumulate(times.updates.begin(), times.updates.end(), 0.0) /
                                     static_cast<double>(times.updates.size());
    const double worst =
        times.frames.empty() ? 0.0 : *std::max_element(times.frames.begin(), times.frames.end());
    char text[512];
    std::snprintf(text, sizeof text,
                  "startup_to_first_frame_s %.3f\n"
                  "frames %zu\n"
                  "frame_median_ms %.2f\n"
                  "frame_p95_ms %.2f\n"
                  "frame_worst_ms %.2f\n"
                  "physics_per_frame_ms %.3f\n"
                  "frame_processor_median_ms %.2f\n"
                  "peak_resident_mb %.1f\n",
                  times.startUp, times.frames.size(), milliseconds(percentile(times.frames, 0.5)),
                  milliseconds(percentile(times.frames, 0.95)), milliseconds(worst),
                  milliseconds(physics), milliseconds(percentile(times.processorTimes, 0.5)),
                  static_cast<double>(peakResident) / 1024.0);
    return text;
}

int runQuickRace(const LaunchRequest& request, const std::vector<std::string>& trackNames,
                 const ConfigFile& config, const DisplayModes& display, RaceKernel& kernel,
                 std::ostream& out, std::ostream& err) {
    std::vector<RaceDriver> drivers;
    std::string track;
    std::string error;
    if (!chooseTrack(request.track, trackNames, track, error) ||
        !chooseRaceDrivers(request.driverArguments, drivers, error)) {
        Tool::LogManager::getInstance().send(
            Tool::Message("Brumbly", "Couldn't start the race .. [Failed]", error, __FILE__,
                          __LINE__, Tool::MT_ERROR));
        err << "Brumbly: " << error << "\n";
        return 2;
    }
    Game::Kernel::getInstance().setRunDuration(request.benchmarkSeconds);
    const Data::Options options = readRaceOptions(config, display);
    error = startRace(kernel, options, drivers, track, request.laps);
    if (!error.empty()) {
        err << "Brumbly: " << error << "\n";
        return 1;
    }
    rememberAutoDetail(config, options, kernel.drawnDetail());
    if (request.benchmarkSeconds > 0.0) {
        out << benchmarkReport(Game::Kernel::getInstance().getFrameTimes(),
                               peakResidentKilobytes());
    }
    return 0;
}
