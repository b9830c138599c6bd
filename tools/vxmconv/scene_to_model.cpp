#include "scene_to_model.h"

#include <assimp/material.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <limits>
#include <map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "colour_reduction.h"
#include "conversion_error.h"
#include "file_paths.h"
#include "scene_pose.h"
#include "triangle_strips.h"

namespace vxmconv {

namespace {

namespace fs = std::filesystem;
using vexel::MeshObjectX;
using vexel::MeshVertex;

// Counts in a mesh file are signed 32-bit numbers.
constexpr uint64_t kMostRecords = std::numeric_limits<int32_t>::max();
constexpr int32_t kWhite = 0xFFFFFF;

struct Placement {
    const aiNode* node;
    const aiMesh* mesh;
    uint64_t triangles;
};

uint64_t triangle_count(const aiMesh& mesh) {
    if (!mesh.mFaces || !mesh.mVertices) return 0;
    uint64_t count = 0;
    for (unsigned i = 0; i < mesh.mNumFaces; ++i) {
        if (mesh.mFaces[i].mNumIndices == 3 && mesh.mFaces[i].mIndices) ++count;
    }
    return count;
}

// Every mesh with triangles that a node places, in the order of the node tree.
std::vector<Placement> placements(const aiScene& scene) {
    std::vector<Placement> found;
    std::vector<const aiNode*> pending;
    std::unordered_set<const aiNode*> seen;
    if (scene.mRootNode) pending.push_back(scene.mRootNode);
    while (!pending.empty()) {
        const aiNode* node = pending.back();
        pending.pop_back();
        if (!seen.insert(node).second) continue;
        for (unsigned i = 0; node->mMeshes && i < node->mNumMeshes; ++i) {
            const unsigned index = node->mMeshes[i];
            if (!scene.mMeshes || index >= scene.mNumMeshes || !scene.mMeshes[index]) continue;
            const uint64_t triangles = triangle_count(*scene.mMeshes[index]);
            if (triangles > 0) found.push_back({node, scene.mMeshes[index], triangles});
        }
        for (unsigned i = node->mChildren ? node->mNumChildren : 0; i-- > 0;) {
            if (node->mChildren[i]) pending.push_back(node->mChildren[i]);
        }
    }
    return found;
}

// Scale, then the turn that makes the model's y-up the engine's z-up: (x, y, z) -> (x, -z, y).
aiMatrix4x4 engine_axes(const BuildSettings& settings) {
    const float s = settings.scale;
    if (settings.up == UpAxis::kY)
        return aiMatrix4x4(s, 0, 0, 0, 0, s, 0, 0, 0, 0, s, 0, 0, 0, 0, 1);
    return aiMatrix4x4(s, 0, 0, 0, 0, 0, -s, 0, 0, s, 0, 0, 0, 0, 0, 1);
}

aiMatrix3x3 normal_matrix(const aiMatrix4x4& m) {
    aiMatrix3x3 n(m);
    if (std::fabs(n.Determinant()) < 1e-30f) return n;
    return n.Inverse().Transpose();
}

int32_t to_colour(const aiColor4D& c) {
    const auto channel = [](float value) {
        if (!(value > 0)) return 0;
        if (value >= 1) return 255;
        return static_cast<int>(std::lround(value * 255.0f));
    };
    return channel(c.r) | channel(c.g) << 8 | channel(c.b) << 16;
}

const aiMaterial* material_of(const aiScene& scene, const aiMesh& mesh) {
    if (!scene.mMaterials || mesh.mMaterialIndex >= scene.mNumMaterials) return nullptr;
    return scene.mMaterials[mesh.mMaterialIndex];
}

int32_t material_colour(const aiMaterial* material) {
    aiColor4D colour;
    if (material && material->Get(AI_MATKEY_COLOR_DIFFUSE, colour) == AI_SUCCESS)
        return to_colour(colour);
    if (material && material->Get(AI_MATKEY_BASE_COLOR, colour) == AI_SUCCESS)
        return to_colour(colour);
    return kWhite;
}

// What a mesh looks like whatever the frame: colour and texture coordinates of each vertex.
struct MeshLook {
    std::vector<int32_t> colours;  // one per vertex, or empty
    int32_t colour = kWhite;       // when there are no vertex colours
    const aiVector3D* texture_coordinates = nullptr;
};

MeshLook look_of(const aiScene& scene, const aiMesh& mesh) {
    MeshLook look;
    look.texture_coordinates = mesh.mTextureCoords[0];
    if (mesh.mColors[0]) {
        look.colours.resize(mesh.mNumVertices);
        for (unsigned v = 0; v < mesh.mNumVertices; ++v)
            look.colours[v] = to_colour(mesh.mColors[0][v]);
    } else {
        look.colour = material_colour(material_of(scene, mesh));
    }
    return look;
}

struct PosedMesh {
    std::vector<aiVector3D> positions;
    std::vector<aiVector3D> normals;  // empty when the mesh has none
};

// Morph targets hold whole replacement positions; a weight moves the vertex that share of the
// way from the base towards the target.
void apply_morph(const aiMesh& mesh, const std::vector<float>& weights, PosedMesh& posed) {
    for (size_t i = 0; i < weights.size(); ++i) {
        const aiAnimMesh* target = mesh.mAnimMeshes[i];
        if (weights[i] == 0 || !target || target->mNumVertices != mesh.mNumVertices) continue;
        for (unsigned v = 0; target->mVertices && v < mesh.mNumVertices; ++v)
            posed.positions[v] += (target->mVertices[v] - mesh.mVertices[v]) * weights[i];
        for (unsigned v = 0; target->mNormals && mesh.mNormals && v < mesh.mNumVertices; ++v)
            posed.normals[v] += (target->mNormals[v] - mesh.mNormals[v]) * weights[i];
    }
}

void transform_all(const aiMatrix4x4& m, PosedMesh& posed) {
    const aiMatrix3x3 n = normal_matrix(m);
    for (aiVector3D& p : posed.positions)
        p = m * p;
    for (aiVector3D& normal : posed.normals)
        normal = (n * normal).NormalizeSafe();
}

// Each vertex goes where the weighted mean of its bones takes it; a vertex no bone holds stays
// with the mesh's node.
void apply_skin(const aiMesh& mesh, const ScenePose& pose, const aiMatrix4x4& to_engine,
                const aiMatrix4x4& node_transform, PosedMesh& posed) {
    const unsigned count = mesh.mNumVertices;
    std::vector<aiVector3D> positions(count);
    std::vector<aiVector3D> normals(posed.normals.size());
    std::vector<float> total(count, 0.0f);
    for (unsigned b = 0; b < mesh.mNumBones; ++b) {
        const aiBone* bone = mesh.mBones[b];
        const aiNode* node = bone ? pose.node_named(bone->mName) : nullptr;
        if (!node || !bone->mWeights) continue;
        const aiMatrix4x4 m = to_engine * pose.global(node) * bone->mOffsetMatrix;
        const aiMatrix3x3 n = normal_matrix(m);
        for (unsigned w = 0; w < bone->mNumWeights; ++w) {
            const aiVertexWeight& weight = bone->mWeights[w];
            if (weight.mVertexId >= count || !(weight.mWeight > 0)) continue;
            positions[weight.mVertexId] += (m * posed.positions[weight.mVertexId]) * weight.mWeight;
            if (!normals.empty())
                normals[weight.mVertexId] += (n * posed.normals[weight.mVertexId]) * weight.mWeight;
            total[weight.mVertexId] += weight.mWeight;
        }
    }
    PosedMesh rest = posed;
    transform_all(node_transform, rest);
    for (unsigned v = 0; v < count; ++v) {
        if (total[v] > 0) {
            posed.positions[v] = positions[v] / total[v];
            if (!normals.empty()) posed.normals[v] = normals[v].NormalizeSafe();
        } else {
            posed.positions[v] = rest.positions[v];
            if (!normals.empty()) posed.normals[v] = rest.normals[v];
        }
    }
}

void pose_mesh(const aiMesh& mesh, const aiNode& node, const ScenePose& pose,
               const aiMatrix4x4& to_engine, PosedMesh& posed) {
    posed.positions.assign(mesh.mVertices, mesh.mVertices + mesh.mNumVertices);
    posed.normals.clear();
    if (mesh.mNormals) posed.normals.assign(mesh.mNormals, mesh.mNormals + mesh.mNumVertices);
    if (mesh.mAnimMeshes) apply_morph(mesh, pose.morph_weights(mesh, node), posed);
    const aiMatrix4x4 node_transform = to_engine * pose.global(&node);
    if (mesh.mBones && mesh.mNumBones > 0) {
        apply_skin(mesh, pose, to_engine, node_transform, posed);
    } else {
        transform_all(node_transform, posed);
    }
}

// Whether the node's transform turns the mesh inside out (skinned meshes follow their bones
// and count as not mirrored).
bool is_mirrored(const aiMesh& mesh, const aiNode& node, const ScenePose& pose,
                 const aiMatrix4x4& to_engine) {
    if (mesh.mBones && mesh.mNumBones > 0) return false;
    return aiMatrix3x3(to_engine * pose.global(&node)).Determinant() < 0;
}

// The mesh's triangles as strips. Modelling tools wind front faces counter-clockwise, the
// engine clockwise, so the corners are reversed unless asked not to.
std::vector<uint32_t> triangle_layout(const aiMesh& mesh, bool reverse,
                                      const std::string& model_path) {
    std::vector<uint32_t> corners;
    corners.reserve(3 * static_cast<size_t>(mesh.mNumFaces));
    const unsigned order[2][3] = {{0, 1, 2}, {0, 2, 1}};
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices != 3 || !face.mIndices) continue;
        for (unsigned k : order[reverse ? 1 : 0]) {
            const unsigned v = face.mIndices[k];
            if (v >= mesh.mNumVertices)
                throw ConversionError(model_path + ": a face names vertex " + std::to_string(v) +
                                      " of a mesh with " + std::to_string(mesh.mNumVertices));
            corners.push_back(v);
        }
    }
    return strip_triangles(corners, mesh.mNumVertices);
}

void append_records(const std::vector<uint32_t>& layout, const PosedMesh& posed,
                    const MeshLook& look, std::vector<MeshVertex>& stream, ProgressLine& progress) {
    constexpr size_t kProgressStep = 1 << 16;
    for (size_t i = 0; i < layout.size(); ++i) {
        if (i % kProgressStep == kProgressStep - 1) progress.advance(kProgressStep);
        const uint32_t item = layout[i];
        if (is_mark(item)) {
            stream.push_back(vexel::make_marker(item == kStripMark ? vexel::kMarkerStrip
                                                                   : vexel::kMarkerTriangles));
            continue;
        }
        MeshVertex record;
        const aiVector3D& p = posed.positions[item];
        record.position = vexel::Vec3f{p.x, p.y, p.z};
        if (!posed.normals.empty()) {
            const aiVector3D& n = posed.normals[item];
            record.normal = vexel::Vec3f{n.x, n.y, n.z};
        }
        if (look.texture_coordinates) {
            // A script's v runs down the picture and the record keeps it negated, which is the
            // modelling tools' v running up from the bottom: the record takes v as it is.
            record.u = look.texture_coordinates[item].x;
            record.v = look.texture_coordinates[item].y;
        }
        record.set_colour(look.colours.empty() ? look.colour : look.colours[item]);
        stream.push_back(record);
    }
    progress.advance(layout.size() % kProgressStep);
}

// Records [first, end) of every frame that came without normals.
struct RecordRange {
    size_t first;
    size_t end;
};

// Normals the file did not give are made with the engine's own rule: face normals summed over
// the vertices that share a position.
void complete_normals(MeshObjectX& mesh, const std::vector<RecordRange>& missing) {
    mesh.normals_valid = 0;
    if (missing.empty()) {
        mesh.normals_valid = 1;
        return;
    }
    const size_t records = mesh.frames[0].build_stream.size();
    if (missing.size() == 1 && missing[0].first == 0 && missing[0].end == records) {
        vexel::generate_normals(mesh, 2, false);
        return;
    }
    MeshObjectX made;
    made.frames.resize(mesh.frames.size());
    for (size_t f = 0; f < mesh.frames.size(); ++f)
        made.frames[f].build_stream = mesh.frames[f].build_stream;
    vexel::generate_normals(made, 2, false);
    for (size_t f = 0; f < mesh.frames.size(); ++f) {
        for (const RecordRange& range : missing) {
            for (size_t i = range.first; i < range.end; ++i)
                mesh.frames[f].build_stream[i].normal = made.frames[f].build_stream[i].normal;
        }
    }
    mesh.normals_valid = 1;
}

std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The picture kind from its first bytes, for embedded pictures that do not say.
std::string picture_extension(const uint8_t* bytes, size_t size) {
    if (size >= 4 && bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G')
        return "png";
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8) return "jpg";
    if (size >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return "bmp";
    return "bin";
}

ModelTexture find_texture(const aiScene& scene, const std::string& name, const fs::path& folder) {
    ModelTexture texture;
    texture.name = name;
    if (const aiTexture* embedded = scene.GetEmbeddedTexture(name.c_str())) {
        if (embedded->mHeight == 0 && embedded->pcData) {
            const auto* bytes = reinterpret_cast<const uint8_t*>(embedded->pcData);
            texture.embedded.assign(bytes, bytes + embedded->mWidth);
            texture.embedded_extension = lower(embedded->achFormatHint);
            if (texture.embedded_extension.empty() ||
                texture.embedded_extension.find_first_not_of(
                    "abcdefghijklmnopqrstuvwxyz0123456789") != std::string::npos)
                texture.embedded_extension = picture_extension(bytes, texture.embedded.size());
        } else {
            texture.raw_texels = true;
        }
        return texture;
    }
    std::string file = name;
    std::replace(file.begin(), file.end(), '\\', '/');
    const fs::path given(file);
    std::vector<fs::path> candidates;
    if (given.is_absolute()) candidates.push_back(given);
    candidates.push_back(folder / given);
    candidates.push_back(folder / given.filename());
    std::error_code error;
    for (const fs::path& candidate : candidates) {
        if (fs::is_regular_file(candidate, error)) {
            texture.path = candidate.lexically_normal().string();
            return texture;
        }
    }
    texture.looked_for = fs::absolute(candidates.front()).lexically_normal().string();
    return texture;
}

class TextureTable {
public:
    TextureTable(const aiScene& scene, const std::string& model_path, Model& model)
        : scene_(scene), folder_(folder_of(model_path)), model_(model) {}

    // The index of the material's texture of that kind and layer, -1 when it has none.
    int texture(const aiMaterial* material, aiTextureType type, unsigned layer) {
        aiString name;
        if (!material || material->GetTexture(type, layer, &name) != AI_SUCCESS || name.length == 0)
            return -1;
        const auto [entry, added] =
            indices_.try_emplace(name.C_Str(), static_cast<int>(model_.textures.size()));
        if (added) model_.textures.push_back(find_texture(scene_, name.C_Str(), folder_));
        return entry->second;
    }

    // The first two pictures laid over the base colour: the diffuse layers 0 and 1 (the base
    // colour texture of materials that have no diffuse one).
    std::pair<int, int> textures_of(const aiMaterial* material) {
        int first = texture(material, aiTextureType_DIFFUSE, 0);
        if (first < 0) first = texture(material, aiTextureType_BASE_COLOR, 0);
        return {first, texture(material, aiTextureType_DIFFUSE, 1)};
    }

private:
    const aiScene& scene_;
    fs::path folder_;
    Model& model_;
    std::map<std::string, int> indices_;
};

}  // namespace

uint64_t count_placed_triangles(const aiScene& scene) {
    uint64_t total = 0;
    for (const Placement& placement : placements(scene))
        total += placement.triangles;
    return total;
}

Model build_model(const aiScene& scene, const BuildSettings& settings, ProgressLine& progress) {
    const std::string& path = settings.model_path;
    const std::vector<Placement> placed = placements(scene);
    if (placed.empty()) throw ConversionError(path + ": the model holds no triangles");

    const aiAnimation* animation = nullptr;
    std::vector<double> times = {0.0};
    if (settings.frames > 0) {
        if (!scene.mAnimations || scene.mNumAnimations == 0 || !scene.mAnimations[0])
            throw ConversionError(path + ": --frames samples an animation, and the model has none");
        animation = scene.mAnimations[0];
        times = sample_times(*animation, settings.frames);
    }

    // One strip layout per mesh and winding, for every frame: frames must match record for
    // record.
    const aiMatrix4x4 to_engine = engine_axes(settings);
    const ScenePose first_pose(scene, animation, times[0]);
    std::map<std::pair<const aiMesh*, bool>, std::vector<uint32_t>> layouts;
    std::vector<const std::vector<uint32_t>*> layout_of;
    for (const Placement& placement : placed) {
        const bool reverse = settings.flip_winding ==
                             is_mirrored(*placement.mesh, *placement.node, first_pose, to_engine);
        auto [entry, added] = layouts.try_emplace({placement.mesh, reverse});
        if (added) entry->second = triangle_layout(*placement.mesh, reverse, path);
        layout_of.push_back(&entry->second);
    }

    Model model;
    const size_t part_count = settings.part_per_mesh ? placed.size() : 1;
    model.parts.resize(part_count);
    std::vector<uint64_t> records(part_count, 0);
    for (size_t i = 0; i < placed.size(); ++i)
        records[settings.part_per_mesh ? i : 0] += layout_of[i]->size();
    for (const uint64_t count : records) {
        if (count > kMostRecords)
            throw ConversionError(path + ": more vertices than a mesh file holds (" +
                                  std::to_string(count) + " vertex records, at most " +
                                  std::to_string(kMostRecords) + ")");
    }
    for (size_t p = 0; p < part_count; ++p) {
        model.parts[p].mesh.frames.resize(times.size());
        for (vexel::MeshFrame& frame : model.parts[p].mesh.frames)
            frame.build_stream.reserve(records[p]);
    }

    TextureTable textures(scene, path, model);
    std::vector<MeshLook> looks;
    for (size_t i = 0; i < placed.size(); ++i) {
        const aiMesh& mesh = *placed[i].mesh;
        looks.push_back(look_of(scene, mesh));
        const auto [a, b] = textures.textures_of(material_of(scene, mesh));
        if (settings.part_per_mesh) {
            model.parts[i].texture_a = a;
            model.parts[i].texture_b = b;
        }
    }

    uint64_t all_records = 0;
    for (const uint64_t count : records)
        all_records += count;
    progress.stage("building", all_records * times.size());
    std::vector<std::vector<RecordRange>> missing_normals(part_count);
    PosedMesh posed;
    for (size_t f = 0; f < times.size(); ++f) {
        const ScenePose pose(scene, animation, times[f]);
        for (size_t i = 0; i < placed.size(); ++i) {
            const size_t p = settings.part_per_mesh ? i : 0;
            std::vector<MeshVertex>& stream = model.parts[p].mesh.frames[f].build_stream;
            const size_t first = stream.size();
            pose_mesh(*placed[i].mesh, *placed[i].node, pose, to_engine, posed);
            append_records(*layout_of[i], posed, looks[i], stream, progress);
            if (f == 0 && !placed[i].mesh->mNormals)
                missing_normals[p].push_back({first, stream.size()});
        }
    }

    for (size_t p = 0; p < part_count; ++p) {
        MeshObjectX& mesh = model.parts[p].mesh;
        complete_normals(mesh, missing_normals[p]);
        if (const size_t had = fit_colours_to_palette(mesh)) {
            model.notes.push_back("the model has " + std::to_string(had) +
                                  " vertex colours and a mesh file at most 255: similar "
                                  "colours were merged");
        }
        vexel::build_palette(mesh);
    }
    return model;
}

}  // namespace vxmconv
