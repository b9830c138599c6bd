#include "model_export.h"

#include <assimp/material.h>
#include <assimp/scene.h>
#include <assimp/Exporter.hpp>

#include <cctype>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <unordered_map>

#include "conversion_error.h"
#include "file_paths.h"
#include "mesh/triangulation.h"
#include "texture_files.h"

namespace vxmconv {

namespace {

namespace fs = std::filesystem;
using vexel::MeshVertex;

constexpr int32_t kWhite = 0xFFFFFF;

// Where an ending has a text and a binary exporter, the binary one: smaller and exact.
const std::map<std::string, std::string> kPreferredExporters = {
    {"glb", "glb2"}, {"gltf", "gltf2"}, {"stl", "stlb"}, {"ply", "plyb"}, {"fbx", "fbx"}};

std::string lower_extension(const std::string& path) {
    std::string extension = fs::path(path).extension().string();
    if (!extension.empty()) extension.erase(0, 1);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

// A vertex of the exported mesh: records equal in all of these become one.
struct ExportVertex {
    float values[8];  // position, normal, u, v
    int32_t colour;

    bool operator==(const ExportVertex& other) const {
        return std::memcmp(this, &other, sizeof *this) == 0;
    }
};

struct ExportVertexHash {
    size_t operator()(const ExportVertex& v) const {
        size_t seed = static_cast<size_t>(v.colour);
        for (float value : v.values) {
            uint32_t bits = 0;
            std::memcpy(&bits, &value, sizeof bits);
            seed ^= bits + 0x9E3779B9u + (seed << 6) + (seed >> 2);
        }
        return seed;
    }
};

// The engine's z-up turned back into y-up: (x, y, z) -> (x, z, -y).
aiVector3D to_model_axes(const vexel::Vec3f& v, const ExportSettings& settings, float scale) {
    if (settings.up == UpAxis::kY) return aiVector3D(v.x, v.y, v.z) * scale;
    return aiVector3D(v.x, v.z, -v.y) * scale;
}

aiColor4D colour_floats(int32_t colour) {
    const std::array<float, 4> c = vexel::colour_floats(colour);
    return aiColor4D(c[0], c[1], c[2], c[3]);
}

std::unique_ptr<aiMesh> export_mesh(const vexel::MeshObjectX& mesh, const ExportSettings& settings,
                                    int32_t& uniform_colour) {
    const std::vector<MeshVertex>& stream = mesh.frames[0].build_stream;
    std::unordered_map<ExportVertex, unsigned, ExportVertexHash> indices;
    std::vector<ExportVertex> vertices;
    std::vector<unsigned> corners;
    bool one_colour = true;
    uniform_colour = kWhite;
    const auto add = [&](const MeshVertex& r) {
        ExportVertex key{};
        const float values[8] = {r.position.x, r.position.y, r.position.z, r.normal.x,
                                 r.normal.y,   r.normal.z,   r.u,          r.v};
        for (int i = 0; i < 8; ++i)
            key.values[i] = values[i] + 0.0f;
        key.colour = r.colour >= 0 && r.colour <= kWhite ? r.colour : kWhite;
        if (vertices.empty()) uniform_colour = key.colour;
        if (key.colour != uniform_colour) one_colour = false;
        const auto [entry, added] =
            indices.try_emplace(key, static_cast<unsigned>(vertices.size()));
        if (added) vertices.push_back(key);
        corners.push_back(entry->second);
    };
    // The engine's clockwise triangles go back to counter-clockwise unless asked not to.
    vexel::for_each_triangle(stream, [&](size_t a, size_t b, size_t c) {
        add(stream[a]);
        add(stream[settings.flip_winding ? b : c]);
        add(stream[settings.flip_winding ? c : b]);
    });
    if (corners.empty()) return nullptr;

    auto out = std::make_unique<aiMesh>();
    out->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    out->mNumVertices = static_cast<unsigned>(vertices.size());
    out->mVertices = new aiVector3D[vertices.size()];
    out->mNormals = new aiVector3D[vertices.size()];
    out->mTextureCoords[0] = new aiVector3D[vertices.size()];
    out->mNumUVComponents[0] = 2;
    if (!one_colour) out->mColors[0] = new aiColor4D[vertices.size()];
    for (size_t i = 0; i < vertices.size(); ++i) {
        const float* v = vertices[i].values;
        out->mVertices[i] = to_model_axes({v[0], v[1], v[2]}, settings, settings.scale);
        out->mNormals[i] = to_model_axes({v[3], v[4], v[5]}, settings, 1).NormalizeSafe();
        // The record's negated script v is the modelling tools' v (see scene_to_model.cpp).
        out->mTextureCoords[0][i] = aiVector3D(v[6], v[7], 0);
        if (out->mColors[0]) out->mColors[0][i] = colour_floats(vertices[i].colour);
    }
    out->mNumFaces = static_cast<unsigned>(corners.size() / 3);
    out->mFaces = new aiFace[out->mNumFaces];
    for (unsigned f = 0; f < out->mNumFaces; ++f) {
        out->mFaces[f].mNumIndices = 3;
        out->mFaces[f].mIndices =
            new unsigned[3]{corners[3 * f], corners[3 * f + 1], corners[3 * f + 2]};
    }
    if (!one_colour) uniform_colour = kWhite;
    return out;
}

aiMaterial* export_material(const ModelPart& part, const std::vector<std::string>& pictures,
                            int32_t colour, size_t number) {
    auto* material = new aiMaterial();
    const aiString name("vxmconv_" + std::to_string(number));
    material->AddProperty(&name, AI_MATKEY_NAME);
    const aiColor4D diffuse = colour_floats(colour);
    material->AddProperty(&diffuse, 1, AI_MATKEY_COLOR_DIFFUSE);
    const int layers[2] = {part.texture_a, part.texture_b};
    for (unsigned layer = 0; layer < 2; ++layer) {
        if (layers[layer] < 0 || static_cast<size_t>(layers[layer]) >= pictures.size()) continue;
        const aiString file(pictures[static_cast<size_t>(layers[layer])]);
        material->AddProperty(&file, AI_MATKEY_TEXTURE(aiTextureType_DIFFUSE, layer));
    }
    return material;
}

}  // namespace

std::string export_format_for(const std::string& output) {
    const std::string extension = lower_extension(output);
    const auto preferred = kPreferredExporters.find(extension);
    if (preferred != kPreferredExporters.end()) return preferred->second;
    Assimp::Exporter exporter;
    std::string known;
    for (size_t i = 0; i < exporter.GetExportFormatCount(); ++i) {
        const aiExportFormatDesc* format = exporter.GetExportFormatDescription(i);
        if (!format) continue;
        const std::string ending = format->fileExtension;
        if (!extension.empty() && extension == ending) return format->id;
        if ((" " + known + " ").find(" ." + ending + " ") == std::string::npos)
            known += (known.empty() ? "." : " .") + ending;
    }
    throw ConversionError(output + ": no writer for files ending in \"." + extension +
                          "\"; write .vxm or one of " + known);
}

void export_model(const Model& model, const std::string& output, const ExportSettings& settings,
                  std::vector<std::string>& notes) {
    const std::string format = export_format_for(output);
    const fs::path folder = folder_of(output);
    const std::string stem = fs::path(output).stem().string();
    // A picture that is not found keeps the name the model gave it.
    std::vector<std::string> pictures;
    for (size_t i = 0; i < model.textures.size(); ++i) {
        const std::string name = picture_file_name(model.textures[i], i + 1, folder, stem);
        pictures.push_back(name.empty() ? model.textures[i].name : name);
    }
    auto scene = std::make_unique<aiScene>();
    std::vector<std::unique_ptr<aiMesh>> meshes;
    std::vector<aiMaterial*> materials;
    size_t frames = 1;
    for (const ModelPart& part : model.parts) {
        if (part.mesh.frames.empty()) continue;
        frames = std::max(frames, part.mesh.frames.size());
        int32_t colour = kWhite;
        std::unique_ptr<aiMesh> mesh = export_mesh(part.mesh, settings, colour);
        if (!mesh) continue;
        mesh->mMaterialIndex = static_cast<unsigned>(materials.size());
        materials.push_back(export_material(part, pictures, colour, materials.size() + 1));
        meshes.push_back(std::move(mesh));
    }
    if (meshes.empty()) {
        for (aiMaterial* material : materials)
            delete material;
        throw ConversionError(output + ": the mesh holds no triangles to write");
    }
    if (frames > 1)
        notes.push_back(output + ": frame 0 written; the mesh has " + std::to_string(frames) +
                        " frames");

    scene->mNumMaterials = static_cast<unsigned>(materials.size());
    scene->mMaterials = new aiMaterial*[materials.size()];
    std::copy(materials.begin(), materials.end(), scene->mMaterials);
    scene->mNumMeshes = static_cast<unsigned>(meshes.size());
    scene->mMeshes = new aiMesh*[meshes.size()];
    scene->mRootNode = new aiNode("vxmconv");
    scene->mRootNode->mNumMeshes = scene->mNumMeshes;
    scene->mRootNode->mMeshes = new unsigned[meshes.size()];
    for (size_t i = 0; i < meshes.size(); ++i) {
        scene->mMeshes[i] = meshes[i].release();
        scene->mMeshes[i]->mName = aiString("mesh_" + std::to_string(i + 1));
        scene->mRootNode->mMeshes[i] = static_cast<unsigned>(i);
    }

    Assimp::Exporter exporter;
    if (exporter.Export(scene.get(), format, output) != AI_SUCCESS)
        throw ConversionError(output + ": cannot write: " + exporter.GetErrorString());
}

}  // namespace vxmconv
