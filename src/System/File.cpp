#include "System/File.h"

#include "Data/FontManager.h"
#include "Data/Image.h"
#include "Data/Material.h"
#include "System/FontWidths.h"
#include "System/loader/AssetLoader.h"
#include "System/loader/ShaderLoader.h"
#include "Tool/LogManager.h"
#include "Tool/LogText.h"
#include "Tool/RegularFile.h"

#include <algorithm>
#include <iostream>
#include <map>
#include <optional>
#include <system_error>

namespace System {

namespace {

// Text assets (shader sources, width tables) are far smaller than this.
constexpr std::size_t maximumTextSize = 64 * 1024 * 1024;
// No texture is larger: the longest side OpenGL implementations offer, and a quarter
// of a square of it.
constexpr unsigned maximumImageSide = 16384;
constexpr unsigned long long maximumImagePixels = 64ULL * 1024 * 1024;
// A file of the largest picture as uncompressed 32-bit pixels, and its header.
constexpr std::size_t maximumImageFileSize = maximumImagePixels * 4 + 1024 * 1024;

// An image's origin names the file it was decoded from after a prefix that tells
// the size it was decoded at.
const std::string originPrefix = "file:";
const std::string halfOriginPrefix = "file-half:";

const std::string& originPrefixOf(File::PictureSize size) {
    return size == File::PictureSize::Half ? halfOriginPrefix : originPrefix;
}

// The pictures handed out by path, while anything holds them.
std::map<std::string, std::weak_ptr<Data::Image>>& loadedImages() {
    static std::map<std::string, std::weak_ptr<Data::Image>> images;
    return images;
}

// What a decode gave: the picture, or why there is none.
struct Decoded {
    Data::ImagePtr image;
    std::string problem;
};

// A picture a prefetch is decoding, and the prefetch.
struct PendingPicture {
    std::shared_future<Decoded> decoded;
    const File::Prefetch* owner = nullptr;
};

// The pictures being decoded by prefetches, by the same keys as loadedImages. Only
// the thread that loads touches it; a prefetch's thread fulfils its promises only.
std::map<std::string, PendingPicture>& prefetchedImages() {
    static std::map<std::string, PendingPicture> pictures;
    return pictures;
}

// Keyed by the size and the path as the file system takes it, so that spellings
// with "\\" and "/" of one file meet and a half picture is never handed out whole.
std::string imageKey(const AssetRef& asset, File::PictureSize size) {
    return originPrefixOf(size) + File::nativePath(File::getPWD() + asset.directory + asset.file);
}

// The picture of that key still held somewhere, or none.
Data::ImagePtr findLoaded(const std::string& key) {
    auto& loaded = loadedImages();
    std::erase_if(loaded, [](const auto& entry) { return entry.second.expired(); });
    if (const auto found = loaded.find(key); found != loaded.end()) {
        if (Data::ImagePtr shared = found->second.lock(); shared->isValid()) {
            return shared;
        }
    }
    return nullptr;
}

// Log titles are an action followed by the asset's name, cut to a bounded length.
void sendMessage(const std::string& action, const std::string& name) {
    Tool::LogManager::getInstance().send(
        Tool::Message("File", action + Tool::logExcerpt(name), "", Tool::MT_MESSAGE));
}

void sendError(const std::string& action, const std::string& name, int line,
               const std::string& details = "") {
    Tool::LogManager::getInstance().send(Tool::Message("File", action + Tool::logExcerpt(name),
                                                       details, __FILE__, line, Tool::MT_ERROR));
}

struct PictureSides {
    unsigned width = 0;
    unsigned height = 0;
};

// The picture's size from its header, where the image library can read a header
// alone (the file is left at its start); none when it cannot be known in advance.
std::optional<PictureSides> readHeaderSides(fipMemoryIO& file, FREE_IMAGE_FORMAT format) {
    if (!FreeImage_FIFSupportsNoPixels(format)) {
        return std::nullopt;
    }
    FIBITMAP* header = file.load(format, FIF_LOAD_NOPIXELS);
    file.seek(0, SEEK_SET);
    if (!header) {
        return std::nullopt;
    }
    const PictureSides sides{FreeImage_GetWidth(header), FreeImage_GetHeight(header)};
    FreeImage_Unload(header);
    return sides;
}

// "" when the header's size is one a texture can have or is unknown. A broken file
// that claims a huge picture would make the library allocate and clear gigabytes
// before it finds that the pixels are missing.
std::string findSizeProblem(const std::optional<PictureSides>& sides) {
    if (!sides ||
        (sides->width <= maximumImageSide && sides->height <= maximumImageSide &&
         static_cast<unsigned long long>(sides->width) * sides->height <= maximumImagePixels)) {
        return {};
    }
    return "a picture of " + std::to_string(sides->width) + " x " + std::to_string(sides->height) +
           " pixels is larger than any texture";
}

// Decodes the picture file at `path` into `picture` at `size`; the reason when it
// cannot. The file is read whole first, so that only a regular file of bounded size
// reaches the image library: a named pipe would block it and a device would never end.
std::string loadPicture(fipImage& picture, const std::string& path, File::PictureSize size) {
    std::string bytes;
    if (const std::error_code error = Tool::readRegularFile(path, maximumImageFileSize, bytes)) {
        return error.message();
    }
    if (bytes.empty()) {
        return "the file is empty";
    }
    fipMemoryIO file(reinterpret_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
    FREE_IMAGE_FORMAT format = file.getFileType();
    if (format == FIF_UNKNOWN) {
        format = FreeImage_GetFIFFromFilename(path.c_str());
    }
    if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format)) {
        return "not a picture the image library reads";
    }
    const std::optional<PictureSides> header = readHeaderSides(file, format);
    if (std::string problem = findSizeProblem(header); !problem.empty()) {
        return problem;
    }
    const bool half = size == File::PictureSize::Half;
    // The JPEG decoder scales by 1/2 when asked for a picture of half the longer side
    // in the upper 16 bits of its flags.
    const int flags =
        half && format == FIF_JPEG && header
            ? JPEG_DEFAULT | static_cast<int>(std::max(header->width, header->height) / 2 << 16)
            : 0;
    if (!picture.loadFromMemory(format, file, flags)) {
        return "the picture cannot be decoded";
    }
    if (!half) {
        return {};
    }
    const PictureSides whole =
        header.value_or(PictureSides{picture.getWidth(), picture.getHeight()});
    const unsigned width = (whole.width + 1) / 2;
    const unsigned height = (whole.height + 1) / 2;
    // Other formats, and a JPEG the decoder did not scale, are halved after decoding;
    // a picture the library cannot rescale stays whole rather than missing.
    if (picture.getWidth() != width || picture.getHeight() != height) {
        picture.rescale(width, height, FILTER_BOX);
    }
    return {};
}

// Names a decoded picture after the file at `path` and the size it was decoded at, or
// logs why it could not be decoded.
void finishImage(Data::Image& image, const AssetRef& asset, const std::string& path,
                 File::PictureSize size, const std::string& problem) {
    if (problem.empty()) {
        image.name = asset.file;
        image.origin = originPrefixOf(size) + path;
    } else {
        sendError("loading Image ", asset.file, __LINE__, problem);
    }
    std::cout << std::endl;
}

// Replaces a texture file name under `key` by the loaded image; a name that does not
// load stays in place.
void resolveTexture(Data::Material& material, std::int32_t key, const std::string& directory,
                    File::PictureSize size) {
    const auto found = material.properties.find(key);
    if (found == material.properties.end()) {
        return;
    }
    const auto* file = std::any_cast<std::string>(&found->second);
    if (!file) {
        return;
    }
    const Data::ImagePtr image = File::loadImage(AssetRef{*file, directory}, size);
    if (image->isValid()) {
        found->second = image;
    }
}

} // namespace

std::string File::workingDirectory;

void File::init(const std::string& programPath) {
    const auto separator = programPath.find_last_of("/\\");
    if (separator == std::string::npos) {
        workingDirectory = "./";
        return;
    }
    workingDirectory = programPath.substr(0, separator + 1) + "/";
}

void File::init(int argc, char** argv) {
    init(argc > 0 && argv[0] ? argv[0] : std::string());
}

std::string File::getPWD() {
    return workingDirectory;
}

std::string File::nativePath(const std::string& path) {
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

std::string File::readText(const std::string& path) {
    std::string text;
    if (Tool::readRegularFile(nativePath(path), maximumTextSize, text)) {
        return {};
    }
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        result += text[i];
    }
    return result;
}

Data::SGNodePtr File::loadMesh(const AssetRef& asset, PictureSize size) {
    sendMessage("loading Mesh ", asset.file);
    AssetLoader loader;
    Data::SGNodePtr root = loader.load(asset, workingDirectory + asset.directory);
    if (!root) {
        sendError("loading Mesh ", asset.file, __LINE__);
        return nullptr;
    }
    for (const auto& mesh : loader.getMeshes()) {
        for (const auto& face : mesh->faces) {
            if (face.material) {
                resolveTexture(*face.material, Data::MP_DIFFUSE_TEXTURE, asset.directory, size);
                resolveTexture(*face.material, Data::MP_SECOND_TEXTURE, asset.directory, size);
            }
        }
    }
    return root;
}

void File::loadImage(const Data::ImagePtr& image, const AssetRef& asset, PictureSize size) {
    sendMessage("loading Image ", asset.file);
    if (!image) {
        sendError("loading Image ", asset.file, __LINE__);
        return;
    }
    // Nothing of a previous picture stays: a stale origin would let a texture cache
    // hand out the previous picture.
    image->clear();
    const std::string path = workingDirectory + asset.directory + asset.file;
    finishImage(*image, asset, path, size, loadPicture(image->picture, nativePath(path), size));
}

Data::ImagePtr File::loadImage(const AssetRef& asset, PictureSize size) {
    const std::string key = imageKey(asset, size);
    if (Data::ImagePtr shared = findLoaded(key)) {
        return shared;
    }
    Data::ImagePtr image;
    auto& pending = prefetchedImages();
    if (const auto found = pending.find(key); found != pending.end()) {
        const std::shared_future<Decoded> decoding = found->second.decoded;
        pending.erase(found);
        sendMessage("loading Image ", asset.file);
        const Decoded& decoded = decoding.get();
        image = decoded.image;
        finishImage(*image, asset, workingDirectory + asset.directory + asset.file, size,
                    decoded.problem);
    } else {
        image = std::make_shared<Data::Image>();
        loadImage(image, asset, size);
    }
    if (image->isValid()) {
        loadedImages()[key] = image;
    }
    return image;
}

File::Prefetch::Prefetch(const std::vector<PictureRequest>& pictures) {
    struct Job {
        std::string path;
        PictureSize size;
        std::promise<Decoded> done;
    };
    std::vector<Job> jobs;
    auto& pending = prefetchedImages();
    for (const PictureRequest& request : pictures) {
        const std::string key = imageKey(request.asset, request.size);
        if (pending.count(key) != 0 || findLoaded(key)) {
            continue;
        }
        Job job{nativePath(workingDirectory + request.asset.directory + request.asset.file),
                request.size,
                {}};
        pending[key] = {job.done.get_future().share(), this};
        keys.push_back(key);
        jobs.push_back(std::move(job));
    }
    if (jobs.empty()) {
        return;
    }
    try {
        worker = std::async(std::launch::async, [jobs = std::move(jobs)]() mutable {
            for (Job& job : jobs) {
                try {
                    auto image = std::make_shared<Data::Image>();
                    std::string problem = loadPicture(image->picture, job.path, job.size);
                    job.done.set_value({std::move(image), std::move(problem)});
                } catch (...) {
                    // Handed to the loader, which meets it as if it had decoded the file.
                    job.done.set_exception(std::current_exception());
                }
            }
        });
    } catch (const std::system_error&) {
        // No thread to decode on: every load decodes its own file.
        for (const std::string& key : keys) {
            pending.erase(key);
        }
        keys.clear();
    }
}

std::size_t File::Prefetch::untaken() const {
    const auto& pending = prefetchedImages();
    return static_cast<std::size_t>(
        std::count_if(keys.begin(), keys.end(), [&](const std::string& key) {
            const auto found = pending.find(key);
            return found != pending.end() && found->second.owner == this;
        }));
}

File::Prefetch::~Prefetch() {
    if (worker.valid()) {
        worker.wait();
    }
    auto& pending = prefetchedImages();
    for (const std::string& key : keys) {
        if (const auto found = pending.find(key);
            found != pending.end() && found->second.owner == this) {
            pending.erase(found);
        }
    }
}

bool File::reloadImage(Data::Image& image) {
    if (image.hasPixels()) {
        return true;
    }
    const PictureSize size =
        image.origin.starts_with(halfOriginPrefix) ? PictureSize::Half : PictureSize::Whole;
    const std::string& prefix = originPrefixOf(size);
    if (!image.origin.starts_with(prefix)) {
        return false;
    }
    const std::string path = image.origin.substr(prefix.size());
    if (const std::string problem = loadPicture(image.picture, nativePath(path), size);
        !problem.empty()) {
        sendError("reloading Image ", image.name, __LINE__, problem);
        return false;
    }
    return true;
}

Data::ShaderPtr File::loadShader(const AssetRef& asset) {
    Data::ShaderPtr shader;
    loadShader(shader, asset);
    return shader;
}

void File::loadShader(Data::ShaderPtr& shader, const AssetRef& asset) {
    sendMessage("loading Shader ", asset.file);
    if (!shader) {
        shader = std::make_shared<Data::Shader>();
    }
    if (!ShaderLoader::load(*shader, asset.file, workingDirectory + asset.directory)) {
        sendError("loading first Shader ", asset.file, __LINE__);
    }
    std::cout << std::endl;
}

void File::loadFont(const AssetRef& asset) {
    sendMessage("loading Font ", asset.file);
    auto font = std::make_shared<Data::Font>();
    font->image = loadImage(fontPicture(asset));
    // A font picture holds only how much of each pixel its white glyphs cover.
    font->image->coverage = true;

    const std::string iniFile = asset.file + ".ini";
    const std::string text = readText(workingDirectory + asset.directory + iniFile);
    if (text.empty()) {
        sendError("loading Font ini ", iniFile, __LINE__);
    }
    // Widths are fractions of the texture width; without a texture they keep the
    // full cell width instead of becoming infinite.
    const std::array<float, 256> widths = readFontWidths(text, font->image->getWidth(), iniFile);
    for (std::size_t i = 0; i < widths.size(); ++i) {
        font->glyphs[i].width = widths[i];
    }
    Data::FontManager::getInstance().registerFont(asset.file, font);
}

AssetRef File::fontPicture(const AssetRef& font) {
    return {font.file + "Trans.png", font.directory};
}

} // namespace System
