// Writes small copies of the given pictures as seeds for fuzz_image:
//   make_image_seeds <output folder> <picture>...
// Each picture becomes a 24 x 24 PNG and JPEG, and a PNG with an alpha channel and
// a grey one, the kinds of file the game loads.
#include <FreeImagePlus.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_image_seeds <output folder> <picture>...\n");
        return 2;
    }
    const std::string folder = argv[1];
    int written = 0;
    for (int index = 2; index < argc; ++index) {
        fipImage picture;
        if (!picture.load(argv[index]) || !picture.convertTo24Bits() ||
            !picture.rescale(24, 24, FILTER_BOX)) {
            std::fprintf(stderr, "make_image_seeds: cannot read %s\n", argv[index]);
            continue;
        }
        const std::string stem = folder + "/" + std::to_string(index - 1);
        fipImage colour(picture);
        written += colour.save((stem + ".jpg").c_str(), JPEG_QUALITYNORMAL) ? 1 : 0;
        written += colour.save((stem + ".png").c_str()) ? 1 : 0;
        fipImage alpha(picture);
        written += alpha.convertTo32Bits() && alpha.save((stem + "-alpha.png").c_str()) ? 1 : 0;
        fipImage grey(picture);
        written += grey.convertToGrayscale() && grey.save((stem + "-grey.png").c_str()) ? 1 : 0;
    }
    std::printf("make_image_seeds: %d seeds in %s\n", written, folder.c_str());
    return written > 0 ? 0 : 1;
}
