#include "Data/ResourceManager.h"

#include "Data/Profile.h"
#include "Tool/LogManager.h"
#include "Tool/LogText.h"
#include "Tool/RegularFile.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace Data {

template <class T>
ResourceManager<T>::ResourceManager(const std::string& name, const std::string& extension)
    : name(name), extension(extension) {}

template <class T>
void ResourceManager<T>::loadFromDirectory(const std::filesystem::path& scanned) {
    namespace fs = std::filesystem;
    directory = scanned.generic_string();
    if (!fs::exists(scanned) || !fs::is_directory(scanned)) {
        return;
    }
    // Sorted by name so that every machine loads in the same order, and the first
    // file read for a duplicate name is the same everywhere.
    std::vector<fs::directory_entry> entries(fs::directory_iterator(scanned), {});
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return a.path().filename().native() < b.path().filename().native();
    });
    for (const fs::directory_entry& entry : entries) {
        loadEntry(entry, scanned);
    }
}

template <class T>
void ResourceManager<T>::loadEntry(const std::filesystem::directory_entry& entry,
                                   const std::filesystem::path& scannedDirectory) {
    namespace fs = std::filesystem;
    const std::string entryPath = entry.path().string();
    try {
        std::error_code error;
        const fs::file_status status = entry.symlink_status(error);
        if (error) {
            throw fs::filesystem_error("status", entry.path(), error);
        }
        if (fs::is_directory(status)) {
            loadFromDirectory(entry.path());
        } else if (fs::is_symlink(status) && fs::is_directory(entry.status(error))) {
            return;
        } else if (entryPath.find(extension) != std::string::npos) {
            // Only regular files are opened: reading a named pipe would wait for a
            // writer, and a device may never end.
            if (!fs::is_regular_file(entry.status(error))) {
                throw fs::filesystem_error("cannot read profile", entry.path(),
                                           error ? error : Tool::notRegularFileError());
            }
            auto resource = std::make_shared<T>(std::string(), scannedDirectory, extension);
            resource->loadFromFile(entry.path());
            // A name that cannot be a file name in the directory could never be saved
            // or removed again.
            if (!T::isSafeFileName(resource->getName())) {
                throw std::runtime_error("the name \"" + Tool::logExcerpt(resource->getName()) +
                                         "\" cannot be used as a file name");
            }
            resources.emplace(resource->getName(), resource);
        }
    } catch (const std::exception& error) {
        Tool::LogManager::getInstance().send(
            Tool::Message(name, "Skipped unreadable entry",
                          Tool::logExcerpt(entryPath) + ": " + Tool::logExcerpt(error.what()),
                          __FILE__, __LINE__, Tool::MT_ERROR));
    }
}

template <class T> void ResourceManager<T>::releaseAll() {
    resources.clear();
}

template <class T> std::shared_ptr<T> ResourceManager<T>::getOrCreate(const std::string& key) {
    auto found = resources.find(key);
    if (found == resources.end()) {
        found = resources.emplace(key, std::make_shared<T>(key, directory, extension)).first;
    }
    return found->second;
}

template <class T> std::shared_ptr<T> ResourceManager<T>::find(const std::string& key) {
    const auto found = resources.find(key);
    return found == resources.end() ? nullptr : found->second;
}

template <class T> void ResourceManager<T>::remove(const std::string& key, const bool& fromDisk) {
    const auto found = resources.find(key);
    if (found == resources.end()) {
        return;
    }
    if (fromDisk) {
        found->second->removeFromDisk();
    }
    resources.erase(found);
}

template <class T> unsigned int ResourceManager<T>::getCount() const {
    return static_cast<unsigned int>(resources.size());
}

template <class T> bool ResourceManager<T>::exists(const std::string& key) const {
    return resources.find(key) != resources.end();
}

template class ResourceManager<Profile>;

} // namespace Data
