#pragma once

#include "Tool/Export.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace Data {

// A keyed store of resources loaded from a directory tree. Keys are resource names,
// compared exactly, in ascending byte order.
template <class T> class BRUMBLY_API ResourceManager {
public:
    using ResourceMap = std::map<std::string, std::shared_ptr<T>>;

    virtual ~ResourceManager() = default;

    virtual const std::string& getName() const { return name; }
    virtual const std::string& getExtension() const { return extension; }

    // Makes `directory` the manager's directory and, if it exists, loads every file
    // whose path contains the extension, recursing into subdirectories (entries in
    // byte order of their names; symbolic links to directories are not followed).
    // Each subdirectory visited becomes the manager's directory in turn. The first
    // file read for a name wins. Files and subdirectories that cannot be read, entries
    // that are no regular file (named pipes, devices), files too large to be a
    // resource, and files holding a name that is not a safe file name, are skipped with
    // an error in the log; a status error of `directory` itself or a failure to open
    // it is raised as std::filesystem::filesystem_error.
    virtual void loadFromDirectory(const std::filesystem::path& directory);
    virtual void releaseAll();
    // The entry for `name`, created in memory (in the manager's directory) if absent.
    virtual std::shared_ptr<T> getOrCreate(const std::string& name);
    // The entry for `name`, or an empty pointer.
    virtual std::shared_ptr<T> find(const std::string& name);
    // Erases the entry for `name`, deleting its file first when fromDisk is true (an
    // error from that deletion is raised and keeps the entry). An absent name does
    // nothing.
    virtual void remove(const std::string& name, const bool& fromDisk);
    virtual unsigned int getCount() const;
    virtual bool exists(const std::string& name) const;

    const ResourceMap& getResources() const { return resources; }
    // The directory last scanned (generic path); new resources are created there.
    const std::string& getDirectory() const { return directory; }

protected:
    ResourceManager(const std::string& name, const std::string& extension);
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;

    std::string name;
    std::string directory;
    std::string extension;
    ResourceMap resources;

private:
    void loadEntry(const std::filesystem::directory_entry& entry,
                   const std::filesystem::path& scannedDirectory);
};

} // namespace Data
