#pragma once

#include "Tool/Export.h"

#include <filesystem>
#include <string>

namespace Data {

// A named resource that lives in one file on disk: <path>/<name><extension>.
// Loading and saving raise exceptions derived from std::exception on failure.
class BRUMBLY_API IResource {
public:
    IResource() = default;
    IResource(const std::string& name, const std::filesystem::path& directory,
              const std::string& extension);
    IResource(const IResource& other) = default;
    IResource& operator=(const IResource& other) = default;
    virtual ~IResource() = default;

    virtual const std::string& getName() const { return name; }
    // The directory that holds the file, as a generic path ("/" separators).
    virtual const std::string& getPath() const { return path; }
    // The file name extension, dot included.
    virtual const std::string& getExtension() const { return extension; }

    virtual void loadFromFile(const std::filesystem::path& file) = 0;
    virtual void load() = 0;
    virtual void save() = 0;
    virtual void saveToFile(const std::filesystem::path& file) = 0;
    virtual void removeFromDisk() = 0;

    // Renames the resource in memory; the next save() writes a file under the new name.
    void setName(const std::string& newName) { name = newName; }
    // path / (name + extension).
    std::filesystem::path getFilePath() const;

protected:
    std::string name;
    std::string path;
    std::string extension;
};

} // namespace Data
