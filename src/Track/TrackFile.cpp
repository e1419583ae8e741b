#include "Track/TrackFile.h"

#include "Tool/LogManager.h"
#include "Tool/LogText.h"
#include "Tool/RegularFile.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>

namespace Track {

namespace {

constexpr const char* header = "brumbly-track";
constexpr int version = 1;
// Beyond any track, and small enough that sums of coordinates stay finite.
constexpr float maximumCoordinate = 1.0e6f;
constexpr int maximumPatches = 256;
constexpr std::size_t maximumNameLength = 64;

// The shortest text that reads back to the same float.
std::string number(float value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

class Writer {
public:
    Writer& operator<<(const std::string& text) {
        out += separator + text;
        separator = " ";
        return *this;
    }
    Writer& operator<<(float value) { return *this << number(value); }
    Writer& operator<<(int value) { return *this << std::to_string(value); }
    Writer& operator<<(const glm::vec3& v) { return *this << v.x << v.y << v.z; }
    Writer& operator<<(const glm::vec4& v) { return *this << v.x << v.y << v.z << v.w; }
    Writer& operator<<(const Surface& s) {
        return *this << s.staticFriction << s.dynamicFriction << s.restitution;
    }
    Writer& operator<<(const Place& p) { return *this << p.a << p.b << p.x << p.z << p.heading; }
    void endLine() {
        out += '\n';
        separator.clear();
    }
    std::string out;

private:
    std::string separator;
};

// A fault in a record; the reader adds the line number.
struct Fault : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The fields of one record after its keyword, taken in order.
class Fields {
public:
    explicit Fields(std::vector<std::string> tokens) : tokens(std::move(tokens)) {}

    bool atEnd() const { return next == tokens.size(); }
    std::string word(const char* what) {
        if (atEnd()) {
            throw Fault(std::string("missing ") + what);
        }
        return tokens[next++];
    }
    // A file name: no folder in it.
    std::string file(const char* what) {
        std::string name = word(what);
        if (name.find_first_of("/\\") != std::string::npos || name == "." || name == "..") {
            throw Fault(std::string(what) + " \"" + Tool::logExcerpt(name) + "\" is no file name");
        }
        return name;
    }
    // A folder of the game's data, written "data\\...\\".
    std::string folder(const char* what) {
        std::string name = word(what);
        if (name.rfind("data\\", 0) != 0 || name.back() != '\\' ||
            name.find("..") != std::string::npos || name.find('/') != std::string::npos) {
            throw Fault(std::string(what) + " \"" + Tool::logExcerpt(name) +
                        "\" is no folder of the game's data");
        }
        return name;
    }
    float real(const char* what, float low = -maximumCoordinate, float high = maximumCoordinate) {
        const std::string text = word(what);
        float value = 0.0f;
        const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
        if (result.ec != std::errc() || result.ptr != text.data() + text.size()) {
            throw Fault(std::string(what) + " \"" + Tool::logExcerpt(text) + "\" is no number");
        }
        if (!(value >= low && value <= high)) {
            throw Fault(std::string(what) + " " + text + " is not within " + number(low) + " to " +
                        number(high));
        }
        return value;
    }
    int whole(const char* what, int low, int high) {
        const std::string text = word(what);
        int value = 0;
        const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
        if (result.ec != std::errc() || result.ptr != text.data() + text.size() || value < low ||
            value > high) {
            throw Fault(std::string(what) + " \"" + Tool::logExcerpt(text) +
                        "\" is no whole number from " + std::to_string(low) + " to " +
                        std::to_string(high));
        }
        return value;
    }
    glm::vec3 vec3(const char* what) { return {real(what), real(what), real(what)}; }
    glm::vec4 colour(const char* what) {
        return {real(what, 0, 1), real(what, 0, 1), real(what, 0, 1), real(what, 0, 1)};
    }
    Surface surface() {
        Surface s;
        s.staticFriction = real("static friction", 0.0f, 10.0f);
        s.dynamicFriction = real("dynamic friction", 0.0f, 10.0f);
        s.restitution = real("restitution", 0.0f, 1.0f);
        return s;
    }
    Place place() {
        Place p;
        p.a = real("half-size a", 0.0f, maximumCoordinate);
        p.b = real("half-size b", 0.0f, maximumCoordinate);
        p.x = real("x");
        p.z = real("z");
        p.heading = real("heading", -360.0f, 360.0f);
        return p;
    }
    void finish() {
        if (!atEnd()) {
            throw Fault("unexpected \"" + Tool::logExcerpt(tokens[next]) + "\"");
        }
    }

private:
    std::vector<std::string> tokens;
    std::size_t next = 0;
};

std::vector<std::string> split(const std::string& line) {
    std::istringstream stream(line);
    std::vector<std::string> tokens;
    for (std::string token; stream >> token;) {
        tokens.push_back(token);
    }
    return tokens;
}

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// "-" stands for an empty name.
std::string nameField(Fields& fields, const char* what) {
    std::string name = fields.word(what);
    return name == "-" ? std::string() : name;
}

using Record = std::function<void(Fields&, TrackDesc&)>;

const std::map<std::string, Record>& records() {
    static const std::map<std::string, Record> table = {
        {"preview", [](Fields& f, TrackDesc& t) { t.preview = f.file("preview picture"); }},
        {"sky", [](Fields& f, TrackDesc& t) { t.sky = f.file("sky picture"); }},
        {"laps",
         [](Fields& f, TrackDesc& t) { t.laps = static_cast<unsigned>(f.whole("laps", 1, 100)); }},
        {"gravity", [](Fields& f, TrackDesc& t) { t.gravity = f.real("gravity", -100.0f, 0.0f); }},
        {"ground", [](Fields& f, TrackDesc& t) { t.ground = f.surface(); }},
        {"obstacles", [](Fields& f, TrackDesc& t) { t.obstacles = f.surface(); }},
        {"terrain",
         [](Fields& f, TrackDesc& t) {
             TerrainSpec& terrain = t.terrain;
             terrain.heightMap.file = f.file("height map");
             terrain.texture.file = f.file("ground texture");
             terrain.heightMap.directory = terrain.texture.directory = f.folder("folder");
             terrain.sizeX = f.real("size x", 1.0f, maximumCoordinate);
             terrain.heightScale = f.real("height scale", 0.0f, maximumCoordinate);
             terrain.sizeZ = f.real("size z", 1.0f, maximumCoordinate);
             terrain.columns = f.whole("columns", 1, maximumPatches);
             terrain.rows = f.whole("rows", 1, maximumPatches);
             terrain.waterLevel = f.real("water level");
         }},
        {"camera",
         [](Fields& f, TrackDesc& t) {
             CameraSpec camera;
             camera.name = f.word("camera name");
             camera.position = f.vec3("position");
             camera.yaw = f.real("yaw", -360.0f, 360.0f);
             camera.pitch = f.real("pitch", -360.0f, 360.0f);
             camera.flags = f.whole("flags", 0, 255);
             camera.target = f.vec3("target");
             t.cameras.push_back(camera);
         }},
        {"light",
         [](Fields& f, TrackDesc& t) {
             LightSpec light;
             light.name = nameField(f, "light name");
             light.position = f.vec3("position");
             light.yaw = f.real("yaw", -360.0f, 360.0f);
             light.pitch = f.real("pitch", -360.0f, 360.0f);
             light.kind = f.whole("kind", 0, 2);
             light.diffuse = f.colour("diffuse");
             light.ambient = f.colour("ambient");
             light.specular = f.colour("specular");
             light.spotDirection = f.vec3("spot direction");
             t.lights.push_back(light);
         }},
        {"object",
         [](Fields& f, TrackDesc& t) {
             ObjectSpec object;
             object.name = f.word("object name");
             object.model.file = f.file("model");
             object.model.directory = f.folder("folder");
             object.position = f.vec3("position");
             object.yaw = f.real("yaw", -360.0f, 360.0f);
             object.mass = f.real("mass", 0.0f, 1.0e5f);
             while (!f.atEnd()) {
                 object.shapes.push_back(f.word("shape"));
             }
             t.objects.push_back(object);
         }},
        {"checkpoint", [](Fields& f, TrackDesc& t) { t.checkpoints.push_back(f.place()); }},
        {"start",
         [](Fields& f, TrackDesc& t) {
             if (t.startPositions.size() == maxStartPositions) {
                 throw Fault("more than " + std::to_string(maxStartPositions) + " start positions");
             }
             t.startPositions.push_back(f.place());
         }},
        {"line",
         [](Fields& f, TrackDesc& t) {
             const float x = f.real("x");
             t.drivingLine.emplace_back(x, f.real("z"));
         }},
    };
    return table;
}

// The whole-file checks once every record is read.
void checkComplete(const TrackDesc& track, bool started, bool ended) {
    if (!started) {
        throw Fault("the file is empty");
    }
    if (!ended) {
        throw Fault("the file ends before \"end\": cut short");
    }
    if (track.name.empty()) {
        throw Fault("no \"name\"");
    }
    if (track.terrain.heightMap.file.empty()) {
        throw Fault("no \"terrain\"");
    }
    if (track.checkpoints.empty()) {
        throw Fault("no \"checkpoint\"");
    }
    if (track.startPositions.empty()) {
        throw Fault("no \"start\"");
    }
    if (track.drivingLine.size() < 2) {
        throw Fault("fewer than two \"line\" points");
    }
}

} // namespace

std::string writeTrack(const TrackDesc& track) {
    Writer w;
    w << header << version;
    w.endLine();
    w.out += "name " + track.name + "\n";
    if (!track.preview.empty()) {
        w << "preview" << track.preview;
        w.endLine();
    }
    w << "sky" << track.sky;
    w.endLine();
    w << "laps" << static_cast<int>(track.laps);
    w.endLine();
    w << "gravity" << track.gravity;
    w.endLine();
    w << "ground" << track.ground;
    w.endLine();
    w << "obstacles" << track.obstacles;
    w.endLine();
    const TerrainSpec& terrain = track.terrain;
    w << "terrain" << terrain.heightMap.file << terrain.texture.file << terrain.heightMap.directory
      << terrain.sizeX << terrain.heightScale << terrain.sizeZ << terrain.columns << terrain.rows
      << terrain.waterLevel;
    w.endLine();
    for (const CameraSpec& camera : track.cameras) {
        w << "camera" << camera.name << camera.position << camera.yaw << camera.pitch
          << camera.flags << camera.target;
        w.endLine();
    }
    for (const LightSpec& light : track.lights) {
        w << "light" << (light.name.empty() ? std::string("-") : light.name) << light.position
          << light.yaw << light.pitch << light.kind << light.diffuse << light.ambient
          << light.specular << light.spotDirection;
        w.endLine();
    }
    for (const ObjectSpec& object : track.objects) {
        w << "object" << object.name << object.model.file << object.model.directory
          << object.position << object.yaw << object.mass;
        for (const std::string& shape : object.shapes) {
            w << shape;
        }
        w.endLine();
    }
    for (const Place& checkpoint : track.checkpoints) {
        w << "checkpoint" << checkpoint;
        w.endLine();
    }
    for (const Place& start : track.startPositions) {
        w << "start" << start;
        w.endLine();
    }
    for (const glm::vec2& point : track.drivingLine) {
        w << "line" << point.x << point.y;
        w.endLine();
    }
    w.out += "end\n";
    return w.out;
}

bool readTrack(const std::string& text, TrackDesc& track, std::string& error) {
    track = TrackDesc();
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    bool started = false;
    bool ended = false;
    try {
        while (std::getline(lines, line)) {
            ++number;
            line = line.substr(0, line.find('#'));
            std::vector<std::string> tokens = split(line);
            if (tokens.empty()) {
                continue;
            }
            if (ended) {
                throw Fault("a record after \"end\"");
            }
            const std::string keyword = tokens.front();
            if (!started) {
                if (tokens.size() != 2 || keyword != header ||
                    tokens[1] != std::to_string(version)) {
                    throw Fault(std::string("no track file: the first record is not \"") + header +
                                " " + std::to_string(version) + "\"");
                }
                started = true;
                continue;
            }
            if (keyword == "end") {
                ended = true;
                continue;
            }
            if (keyword == "name") {
                track.name = trimmed(line.substr(line.find("name") + 4));
                if (track.name.empty() || track.name.size() > maximumNameLength) {
                    throw Fault("the name must have 1 to " + std::to_string(maximumNameLength) +
                                " characters");
                }
                continue;
            }
            const auto record = records().find(keyword);
            if (record == records().end()) {
                throw Fault("unknown record \"" + Tool::logExcerpt(keyword) + "\"");
            }
            Fields fields({tokens.begin() + 1, tokens.end()});
            record->second(fields, track);
            fields.finish();
        }
    } catch (const Fault& fault) {
        error = "line " + std::to_string(number) + ": " + fault.what();
        return false;
    }
    try {
        checkComplete(track, started, ended);
    } catch (const Fault& fault) {
        error = fault.what();
        return false;
    }
    return true;
}

bool loadTrackFile(const std::filesystem::path& file, TrackDesc& track) {
    std::string text;
    std::string error;
    if (const std::error_code failed = Tool::readRegularFile(file, maxTrackFileSize, text)) {
        error = failed.message();
    } else if (readTrack(text, track, error)) {
        return true;
    }
    Tool::LogManager::getInstance().send(Tool::Message("Track", "Reading track file .. [Failed]",
                                                       file.string() + ", " + error, __FILE__,
                                                       __LINE__, Tool::MT_ERROR));
    return false;
}

} // namespace Track
