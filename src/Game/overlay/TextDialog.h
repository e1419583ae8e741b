#pragma once

#include "Game/overlay/Dialog.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace Game {

// A dialog that shows one text in a bitmap font instead of a rectangle. The glyphs
// are as high as the dialog; the text starts at the left edge, is centred, or ends
// at the right edge, as the horizontal alignment says, and hangs from the top edge.
// The dialog's colour tints the text.
class TextDialog : public Dialog {
public:
    TextDialog(const std::string& name, Frame* frame);

    void collect(Data::SGNodeList& drawList) override;
    // Rebuilds the text for the current rectangle.
    void rebuild() override;

    // Stores the text; with rebuildNow the drawable shows it at once.
    void setText(const std::string& value, const bool& rebuildNow);
    const std::string& getText() const { return text; }

    // With fitting on, a text wider than the dialog is shown with characters dropped
    // from its middle (elideMiddle); getText still gives the whole text. Takes effect
    // at the next rebuild.
    void setFitToWidth(bool fit) { fitToWidth = fit; }
    // A character (index in the text) that a shortened text keeps in sight, so that
    // texts alike at both ends still look different; none by default.
    void setKeepVisible(std::optional<std::size_t> index) { keepVisible = index; }
    // The text as drawn at the last rebuild.
    const std::string& getShownText() const { return shownText; }

    // The font's name in the font registry; the text keeps its glyphs until rebuilt.
    void setFont(const std::string& name) { fontName = name; }
    const std::string& getFont() const { return fontName; }

private:
    std::string text;
    std::string fontName = "Newsflash";
    bool fitToWidth = false;
    std::optional<std::size_t> keepVisible;
    std::string shownText;
    // Carries only the dialog's colour: a background image in the dialog's own
    // material would take the place of the font texture on every glyph.
    Data::MaterialPtr textMaterial;
};

using TextDialogPtr = std::shared_ptr<TextDialog>;

// The text with as few characters (whole UTF-8 sequences) dropped from its middle as
// `fits` allows, ".." in their place ("Robo..Hard"); the text itself when it fits. The
// character at `keep`, when set, stays: the kept characters then form the start, a
// stretch around it and the end. Just ".." when nothing fits.
std::string elideMiddle(const std::string& text,
                        const std::function<bool(const std::string&)>& fits,
                        std::optional<std::size_t> keep = std::nullopt);

// The text child of that name of the dialog; empty when it has none.
TextDialogPtr findText(const DialogPtr& parent, const std::string& name);
// Sets that text child's text, only when it differs, since every change rebuilds its
// glyphs; nothing happens without such a child.
void changeText(const DialogPtr& parent, const std::string& name, const std::string& value);

} // namespace Game
