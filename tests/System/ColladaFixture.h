#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

// Small COLLADA documents and a scratch directory for the loader tests.
namespace ColladaFixture {

// A fresh directory below the system's temporary directory, removed on destruction.
class TempDirectory {
public:
    TempDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "brumbly-XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~TempDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    // Writes `text` to the relative path, creating directories; returns the full path.
    std::filesystem::path write(const std::string& relative, const std::string& text) const {
        const std::filesystem::path file = path / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }

    std::filesystem::path path;
};

// One effect per material: a diffuse texture file when `texture` is given, otherwise
// a plain colour.
inline std::string material(const std::string& id, const std::string& texture) {
    std::string effect = "<effect id=\"" + id + "-fx\"><profile_COMMON>";
    std::string diffuse = "<diffuse><color>0.25 0.5 0.75 1</color></diffuse>";
    if (!texture.empty()) {
        effect += "<newparam sid=\"" + id + "-surf\"><surface type=\"2D\"><init_from>" + id +
                  "-img</init_from></surface></newparam><newparam sid=\"" + id +
                  "-samp\"><sampler2D><source>" + id + "-surf</source></sampler2D></newparam>";
        diffuse = "<diffuse><texture texture=\"" + id + "-samp\" texcoord=\"UV\"/></diffuse>";
    }
    effect += "<technique sid=\"common\"><phong>" + diffuse +
              "<specular><color>0.5 0.5 0.5 1</color></specular>"
              "<shininess><float>8</float></shininess></phong></technique>"
              "</profile_COMMON></effect>";
    return effect;
}

// A geometry from positions and one primitive element (already written as XML that
// refers to the vertices "<id>-v" and the material symbol "m").
inline std::string geometry(const std::string& id, const std::string& positions, int count,
                            const std::string& primitive) {
    return "<geometry id=\"" + id + "\" name=\"" + id + "\"><mesh><source id=\"" + id +
           "-pos\"><float_array id=\"" + id + "-pos-a\" count=\"" + std::to_string(count * 3) +
           "\">" + positions + "</float_array><technique_common><accessor source=\"#" + id +
           "-pos-a\" count=\"" + std::to_string(count) +
           "\" stride=\"3\"><param name=\"X\" type=\"float\"/><param name=\"Y\" "
           "type=\"float\"/><param name=\"Z\" type=\"float\"/></accessor></technique_common>"
           "</source><vertices id=\"" +
           id + "-v\"><input semantic=\"POSITION\" source=\"#" + id + "-pos\"/></vertices>" +
           primitive + "</mesh></geometry>";
}

inline std::string triangles(const std::string& geometryId, const std::string& indices, int count) {
    return "<triangles material=\"m\" count=\"" + std::to_string(count) +
           "\"><input semantic=\"VERTEX\" source=\"#" + geometryId + "-v\" offset=\"0\"/><p>" +
           indices + "</p></triangles>";
}

// A node instancing a geometry bound to a material.
inline std::string meshNode(const std::string& name, const std::string& geometryId,
                            const std::string& materialId, const std::string& inner = "") {
    return "<node id=\"" + name + "\" name=\"" + name + "\">" + inner +
           "<instance_geometry url=\"#" + geometryId +
           "\"><bind_material><technique_common><instance_material symbol=\"m\" target=\"#" +
           materialId + "\"/></technique_common></bind_material></instance_geometry></node>";
}

// The whole document. `images` maps image ids to file names.
inline std::string document(const std::string& images, const std::string& effects,
                            const std::string& materials, const std::string& geometries,
                            const std::string& nodes) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\">"
           "<asset><unit meter=\"1\" name=\"meter\"/><up_axis>Y_UP</up_axis></asset>"
           "<library_images>" +
           images + "</library_images><library_effects>" + effects +
           "</library_effects><library_materials>" + materials +
           "</library_materials><library_geometries>" + geometries +
           "</library_geometries><library_visual_scenes><visual_scene id=\"Scene\" "
           "name=\"Scene\">" +
           nodes +
           "</visual_scene></library_visual_scenes><scene><instance_visual_scene "
           "url=\"#Scene\"/></scene></COLLADA>\n";
}

inline std::string image(const std::string& id, const std::string& file) {
    return "<image id=\"" + id + "-img\"><init_from>" + file + "</init_from></image>";
}

inline std::string materialEntry(const std::string& id, const std::string& name) {
    return "<material id=\"" + id + "\" name=\"" + name + "\"><instance_effect url=\"#" + id +
           "-fx\"/></material>";
}

} // namespace ColladaFixture
