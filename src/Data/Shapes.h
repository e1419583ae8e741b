#pragma once

#include "Data/Image.h"
#include "Data/Mesh.h"
#include "Tool/Export.h"

namespace Data {

// Meshes built in code. Every one has passed Mesh::check when it is returned.

// The twelve edges of the box (x0, y0, z0)-(x1, y1, z1) as white lines: "linesBox".
BRUMBLY_API MeshPtr makeLinesBox(float x0, float y0, float z0, float x1, float y1, float z1);
// Three lines from the origin, fading from white to red, green and blue: "linesAxis".
BRUMBLY_API MeshPtr makeLinesAxis(float lx, float ly, float lz);
// A coloured cube of edge length s centred at the origin: "triangleBox".
BRUMBLY_API MeshPtr makeTriangleBox(float s);
// The cube turned inside out, textured from six faces stacked vertically: "mySkyBox".
BRUMBLY_API MeshPtr makeMySkyBox(float s, const ImagePtr& image);
// A cube seen from inside, textured from an unfolded cube cross: "skyBox".
BRUMBLY_API MeshPtr makeSkyBox(float s, const ImagePtr& image);
// A double-sided w x h rectangle in the xy plane, texture coordinates from
// (umin, vmin) to (umin + du, vmin + dv).
BRUMBLY_API MeshPtr makeQuad(float w, float h, float du, float dv, float umin, float vmin,
                             const ImagePtr& image);
// A closed sphere of the radius around the origin, its poles on the y axis:
// 2 x segments x (rings - 1) triangles. The texture's u runs from 0 to uRepeat
// around it, v from 0 to 1 from pole to pole: "sphere".
BRUMBLY_API MeshPtr makeSphere(float radius, int segments, int rings, float uRepeat = 1.0f);

} // namespace Data
