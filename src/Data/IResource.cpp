#include "Data/IResource.h"

namespace Data {

IResource::IResource(const std::string& name, const std::filesystem::path& directory,
                     const std::string& extension)
    : name(name), path(directory.generic_string()), extension(extension) {}

std::filesystem::path IResource::getFilePath() const {
    return std::filesystem::path(path) / (name + extension);
}

} // namespace Data
