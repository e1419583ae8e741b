#include "ColladaWriter.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace Tools {

namespace {

std::string number(float value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", static_cast<double>(value));
    const std::string text = buffer;
    return text == "-0" ? "0" : text;
}

std::string colour(const Colour& c) {
    return number(c[0]) + " " + number(c[1]) + " " + number(c[2]) + " " + number(c[3]);
}

const ModelMaterial* findMaterial(const Model& model, const std::string& name) {
    for (const ModelMaterial& m : model.materials) {
        if (m.name == name) {
            return &m;
        }
    }
    return nullptr;
}

void writeEffects(std::ostream& out, const Model& model) {
    out << "  <library_images>\n";
    for (const ModelMaterial& m : model.materials) {
        if (!m.texture.empty()) {
            out << "    <image id=\"" << m.name << "-image\" name=\"" << m.name
                << "-image\"><init_from>" << m.texture << "</init_from></image>\n";
        }
    }
    out << "  </library_images>\n  <library_effects>\n";
    for (const ModelMaterial& m : model.materials) {
        out << "    <effect id=\"" << m.name << "-effect\">\n      <profile_COMMON>\n";
        if (!m.texture.empty()) {
            out << "        <newparam sid=\"" << m.name
                << "-surface\"><surface type=\"2D\"><init_from>" << m.name
                << "-image</init_from></surface></newparam>\n"
                << "        <newparam sid=\"" << m.name << "-sampler\"><sampler2D><source>"
                << m.name << "-surface</source></sampler2D></newparam>\n";
        }
        out << "        <technique sid=\"common\">\n          <phong>\n"
            << "            <emission><color sid=\"emission\">" << colour(m.emission)
            << "</color></emission>\n"
            << "            <ambient><color sid=\"ambient\">" << colour(m.ambient)
            << "</color></ambient>\n";
        if (m.texture.empty()) {
            out << "            <diffuse><color sid=\"diffuse\">" << colour(m.diffuse)
                << "</color></diffuse>\n";
        } else {
            out << "            <diffuse><texture texture=\"" << m.name
                << "-sampler\" texcoord=\"UVSET0\"/></diffuse>\n";
        }
        out << "            <specular><color sid=\"specular\">" << colour(m.specular)
            << "</color></specular>\n"
            << "            <shininess><float sid=\"shininess\">" << number(m.shininess)
            << "</float></shininess>\n"
            << "          </phong>\n        </technique>\n      </profile_COMMON>\n    </effect>\n";
    }
    out << "  </library_effects>\n  <library_materials>\n";
    for (const ModelMaterial& m : model.materials) {
        out << "    <material id=\"" << m.name << "-material\" name=\"" << m.name
            << "\"><instance_effect url=\"#" << m.name << "-effect\"/></material>\n";
    }
    out << "  </library_materials>\n";
}

template <typename Vector>
void writeSource(std::ostream& out, const std::string& id, const std::vector<Vector>& values,
                 const char* params) {
    const std::size_t stride = Vector().size();
    out << "        <source id=\"" << id << "\">\n          <float_array id=\"" << id
        << "-array\" count=\"" << values.size() * stride << "\">";
    for (std::size_t i = 0; i < values.size(); ++i) {
        for (std::size_t k = 0; k < stride; ++k) {
            out << (i + k == 0 ? "" : " ") << number(values[i][k]);
        }
    }
    out << "</float_array>\n          <technique_common><accessor source=\"#" << id
        << "-array\" count=\"" << values.size() << "\" stride=\"" << stride << "\">";
    for (const char* p = params; *p != '\0'; ++p) {
        out << "<param name=\"" << *p << "\" type=\"float\"/>";
    }
    out << "</accessor></technique_common>\n        </source>\n";
}

std::string geometryId(const ModelNode& node, const Surface& surface) {
    return node.name + "-" + surface.material + "-mesh";
}

void writeGeometries(std::ostream& out, const Model& model) {
    out << "  <library_geometries>\n";
    for (const ModelNode& node : model.nodes) {
        for (const Surface& surface : node.surfaces) {
            const ModelMaterial* material = findMaterial(model, surface.material);
            const bool textured = material != nullptr && !material->texture.empty();
            const std::string id = geometryId(node, surface);
            out << "    <geometry id=\"" << id << "\" name=\"" << id << "\">\n      <mesh>\n";
            writeSource(out, id + "-positions", surface.positions, "XYZ");
            writeSource(out, id + "-normals", surface.normals, "XYZ");
            if (textured) {
                writeSource(out, id + "-uvs", surface.texCoords, "ST");
            }
            out << "        <vertices id=\"" << id
                << "-vertices\"><input semantic=\"POSITION\" source=\"#" << id
                << "-positions\"/></vertices>\n"
                << "        <triangles material=\"" << surface.material << "\" count=\""
                << surface.positions.size() / 3 << "\">\n"
                << "          <input semantic=\"VERTEX\" source=\"#" << id
                << "-vertices\" offset=\"0\"/>\n"
                << "          <input semantic=\"NORMAL\" source=\"#" << id
                << "-normals\" offset=\"0\"/>\n";
            if (textured) {
                out << "          <input semantic=\"TEXCOORD\" source=\"#" << id
                    << "-uvs\" offset=\"0\" set=\"0\"/>\n";
            }
            out << "          <p>";
            for (std::size_t i = 0; i < surface.positions.size(); ++i) {
                out << (i == 0 ? "" : " ") << i;
            }
            out << "</p>\n        </triangles>\n      </mesh>\n    </geometry>\n";
        }
    }
    out << "  </library_geometries>\n";
}

void writeScene(std::ostream& out, const Model& model) {
    out << "  <library_visual_scenes>\n    <visual_scene id=\"Scene\" name=\"Scene\">\n";
    for (const ModelNode& node : model.nodes) {
        out << "      <node id=\"" << node.name << "\" name=\"" << node.name
            << "\" type=\"NODE\">\n        <matrix sid=\"transform\">1 0 0 "
            << number(node.translation[0]) << " 0 1 0 " << number(node.translation[1]) << " 0 0 1 "
            << number(node.translation[2]) << " 0 0 0 1</matrix>\n";
        for (const Surface& surface : node.surfaces) {
            out << "        <instance_geometry url=\"#" << geometryId(node, surface)
                << "\"><bind_material><technique_common><instance_material symbol=\""
                << surface.material << "\" target=\"#" << surface.material
                << "-material\"><bind_vertex_input semantic=\"UVSET0\" input_semantic=\"TEXCOORD\" "
                   "input_set=\"0\"/></instance_material></technique_common></bind_material>"
                   "</instance_geometry>\n";
        }
        out << "      </node>\n";
    }
    out << "    </visual_scene>\n  </library_visual_scenes>\n"
        << "  <scene><instance_visual_scene url=\"#Scene\"/></scene>\n";
}

} // namespace

bool writeCollada(const Model& model, const std::string& path) {
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        << "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\">\n"
        << "  <asset>\n    <contributor><authoring_tool>Brumbly model generator</authoring_tool>"
           "</contributor>\n"
        << "    <created>2000-01-01T00:00:00</created>\n"
        << "    <modified>2000-01-01T00:00:00</modified>\n"
        << "    <unit name=\"meter\" meter=\"1\"/>\n    <up_axis>Y_UP</up_axis>\n  </asset>\n";
    writeEffects(out, model);
    writeGeometries(out, model);
    writeScene(out, model);
    out << "</COLLADA>\n";
    ensureParentDirectory(path);
    std::ofstream file(path, std::ios::binary);
    file << out.str();
    return file.good();
}

} // namespace Tools
