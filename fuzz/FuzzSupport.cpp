#include "FuzzSupport.h"

#include "System/File.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace FuzzSupport {

const std::filesystem::path& scratchDirectory() {
    static const std::filesystem::path directory = [] {
        const std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("brumbly-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return directory;
}

std::filesystem::path writeInput(const std::string& file, const std::uint8_t* data,
                                 std::size_t size) {
    static long long stamp = 1000000000;
    const std::filesystem::path path = scratchDirectory() / file;
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const timespec times[2] = {{++stamp, 0}, {stamp, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
    return path;
}

std::filesystem::path writeAsset(const std::string& file, const std::uint8_t* data,
                                 std::size_t size) {
    static const bool initialised = [] {
        System::File::init((scratchDirectory() / "Brumbly").string());
        return true;
    }();
    (void)initialised;
    return writeInput(file, data, size);
}

void require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property violated: %s\n", property);
        std::abort();
    }
}

} // namespace FuzzSupport
