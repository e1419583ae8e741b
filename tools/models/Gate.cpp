#include "Models.h"

namespace Tools {

Model makeGate(bool goal) {
    Model gate;
    const std::string banner = goal ? "goal_banner.jpg" : "checkpoint_banner.jpg";
    const std::string post = goal ? "goal_post.jpg" : "checkpoint_post.jpg";
    gate.materials = {
        {"post", rgb(0.8f, 0.8f, 0.8f), rgb(1, 1, 1), rgb(0.3f, 0.3f, 0.3f), rgb(0, 0, 0), 30.0f,
         post},
        {"banner", rgb(0.85f, 0.85f, 0.85f), rgb(1, 1, 1), rgb(0.1f, 0.1f, 0.1f), rgb(0, 0, 0),
         10.0f, banner},
        {"foot", rgb(0.3f, 0.3f, 0.3f), rgb(0.4f, 0.4f, 0.4f), rgb(0.1f, 0.1f, 0.1f), rgb(0, 0, 0),
         6.0f, ""},
    };
    // Posts reach below ground so that they stand on sloping ground too. Their
    // geometry is placed by the vertices (identity nodes): the physics fits a box
    // to each post's mesh.
    const struct {
        const char* name;
        float z;
    } posts[] = {{"stick", 7.0f}, {"stick1", -7.0f}};
    for (const auto& p : posts) {
        ModelNode& node = gate.node(p.name);
        node.surface("post").box({-0.3f, -0.5f, p.z - 0.3f}, {0.3f, 7.6f, p.z + 0.3f}, 4.0f);
        node.surface("foot").box({-0.5f, -0.5f, p.z - 0.5f}, {0.5f, 0.25f, p.z + 0.5f});
    }
    gate.node("banner").surface("banner").box({-0.1f, 5.6f, -6.7f}, {0.1f, 7.2f, 6.7f});
    return gate;
}

Model makeCrate() {
    Model crate;
    crate.materials = {{"wood", rgb(0.8f, 0.8f, 0.8f), rgb(1, 1, 1), rgb(0.08f, 0.08f, 0.08f),
                        rgb(0, 0, 0), 6.0f, "crate.jpg"}};
    crate.node("cube").surface("wood").box({-1.0f, 0.0f, -1.0f}, {1.0f, 2.0f, 1.0f});
    return crate;
}

} // namespace Tools
