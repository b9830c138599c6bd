// The tool's model between reading and writing: meshes already in the engine's own form (build
// streams with markers, in the engine's axes and clockwise winding) and the textures they use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mesh/mesh_object.h"

namespace vxmconv {

struct ModelTexture {
    std::string name;                // as the model names it, for messages
    std::string path;                // the picture file; empty when embedded or not found
    std::string looked_for;          // where a picture that was not found should have been
    std::vector<uint8_t> embedded;   // picture bytes carried inside the model file
    std::string embedded_extension;  // "png", "jpg", ... for embedded pictures
    bool raw_texels = false;         // embedded as bare texels, which no picture file holds

    bool found() const { return !path.empty() || !embedded.empty(); }
};

struct ModelPart {
    vexel::MeshObjectX mesh;
    int texture_a = -1;  // index into Model::textures, -1 for none
    int texture_b = -1;
};

struct Model {
    std::vector<ModelPart> parts;
    std::vector<ModelTexture> textures;
    std::vector<std::string> notes;  // what the conversion had to give up, for the user
};

}  // namespace vxmconv
