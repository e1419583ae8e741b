#pragma once

#include "Data/Image.h"
#include "Data/Material.h"
#include "Data/SGNode.h"

#include <cstdint>
#include <glm/vec2.hpp>
#include <glm/vec4.hpp>
#include <memory>
#include <string>
#include <vector>

namespace Game {

class Frame;
class Dialog;
using DialogPtr = std::shared_ptr<Dialog>;

// Where a dialog's position lies on its rectangle.
enum DialogAlignment : std::int32_t { DA_LOW = 0, DA_CENTRE = 1, DA_HIGH = 2 };

// The share of a rectangle's side that lies below the point an alignment names:
// 0 for the low edge, 0.5 for the centre, 1 for the high edge.
float alignmentShare(std::int32_t alignment);

// A dialog's rectangle in screen space (x 0 left to 1 right, y 0 bottom to 1 top).
struct DialogRect {
    glm::vec2 corner{0.0f, 0.0f}; // lower-left corner
    glm::vec2 size{1.0f, 1.0f};
};

// A rectangle of the overlay with an optional background image, a colour and child
// dialogs. Position and size are fractions of the parent's rectangle (of the screen
// for a dialog without parent); the alignments say which point of the rectangle the
// position gives: 0 the left (bottom) edge, 1 the centre, 2 the right (top) edge.
// A new dialog is hidden and inactive; it is drawn only while both flags are set.
class Dialog {
public:
    Dialog(const std::string& name, Frame* frame);
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    virtual ~Dialog() = default;

    // While visible, passes the frame time on to the children.
    virtual void update(double dt);
    // While visible and active, appends the own drawable, then the children's.
    virtual void collect(Data::SGNodeList& drawList);
    // Recomputes the drawable from position, size and properties, then the
    // children's, whose rectangles depend on this one.
    virtual void rebuild();

    const std::string& getName() const { return name; }
    Frame* getFrame() const { return frame; }
    DialogPtr getParent() const { return parent.lock(); }
    const std::vector<DialogPtr>& getChildren() const { return children; }
    // The first child of that name (exact comparison), or empty.
    DialogPtr findChild(const std::string& childName) const;

    // Set the flag on this dialog and on all dialogs below it.
    void setVisible(const bool& value);
    void setActive(const bool& value);
    bool isVisible() const { return visible; }
    bool isActive() const { return active; }

    // Each of these rebuilds the dialog when the value changes.
    void setAlignment(std::int32_t horizontal, std::int32_t vertical);
    void setPosition(const glm::vec2& value);
    void setSize(const glm::vec2& value);
    std::int32_t getHorizontalAlignment() const { return horizontalAlignment; }
    std::int32_t getVerticalAlignment() const { return verticalAlignment; }
    const glm::vec2& getPosition() const { return position; }
    const glm::vec2& getSize() const { return size; }

    // The colour (red, green, blue, alpha) is the material's ambient property; it
    // tints the background image or, without one, fills the rectangle.
    void setColor(const glm::vec4& colour);
    glm::vec4 getColor() const;
    // Loads the picture from "data\images\" as background; a picture that cannot be
    // loaded (reported by the loader) leaves the dialog without background.
    void setImage(const std::string& file);
    void setImage(const Data::ImagePtr& image);

    const Data::MaterialPtr& getMaterial() const { return material; }
    const Data::SGNodePtr& getDrawable() const { return drawable; }

    // The rectangle on the screen, through all parents.
    DialogRect getAbsoluteRect() const;

    // Forgets the owning frame (the frame is going away); the dialog and those below
    // it then measure themselves against the whole screen and are no longer drawn.
    void detachFromFrame();

    friend void addChild(const DialogPtr& parent, const DialogPtr& child);

protected:
    void rebuildChildren();

    Data::SGNodePtr drawable;

private:
    std::string name;
    Frame* frame;
    std::weak_ptr<Dialog> parent;
    std::vector<DialogPtr> children;
    bool visible = false;
    bool active = false;
    std::int32_t horizontalAlignment = DA_LOW;
    std::int32_t verticalAlignment = DA_LOW;
    Data::MaterialPtr material;
    glm::vec2 position{0.0f, 0.0f};
    glm::vec2 size{1.0f, 1.0f};
};

// Takes the child from its previous parent, appends it to the parent's children and
// rebuilds it inside its new parent. Adding a dialog to itself or below itself is
// refused, since the rectangles would then depend on each other.
void addChild(const DialogPtr& parent, const DialogPtr& child);

} // namespace Game
