#include "Data/FontManager.h"

namespace Data {

FontManager& FontManager::getInstance() {
    static FontManager instance;
    return instance;
}

void FontManager::registerFont(const std::string& name, const FontPtr& font) {
    fonts[name] = font;
    currentFont = name;
}

FontPtr FontManager::getFont(const std::string& name) const {
    const auto found = fonts.find(name);
    return found == fonts.end() ? nullptr : found->second;
}

void FontManager::clear() {
    fonts.clear();
    currentFont.clear();
}

} // namespace Data
