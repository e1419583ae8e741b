#pragma once

#include "Data/Mesh.h"

#include <cstddef>
#include <vector>

namespace Game {

class Terrain;

// The visible edge of the world: a fence of posts and two rails, striped red and
// white, along the four edges of the terrain where its invisible walls stand. It
// follows the ground's edge up and down as the drawn ground does. It comes in
// pieces of a few posts each, so that the renderer culls the pieces out of sight:
// the whole fence is more vertices than all the cars.
struct EdgeBarrier {
    static constexpr float height = 1.2f;      // the posts' tops above the ground
    static constexpr float postSpacing = 4.0f; // at most, in metres
    static constexpr float postSide = 0.3f;
    // The posts' inner faces lie where the walls' inner faces lie, this far inside
    // the edge, so that a car touches the wall where it sees the fence.
    static constexpr float inset = 0.05f;

    static constexpr std::size_t postsPerPiece = 16;

    // The pieces, in order along each side; none for a terrain without a grid.
    static std::vector<Data::MeshPtr> build(const Terrain& terrain);
};

} // namespace Game
