// Where every node of a scene stands at one moment of an animation, and the morph weights of its
// meshes then. Without an animation the scene stands as the file describes it.
#pragma once

#include <assimp/scene.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace vxmconv {

class ScenePose {
public:
    // animation may be null: the nodes' own transforms and the meshes' own morph weights.
    ScenePose(const aiScene& scene, const aiAnimation* animation, double ticks);

    // The node's transform to the scene's root space.
    const aiMatrix4x4& global(const aiNode* node) const;
    // The node of that name, null when none.
    const aiNode* node_named(const aiString& name) const;
    // One weight per morph target of the mesh placed by the node; empty for a mesh without
    // targets.
    std::vector<float> morph_weights(const aiMesh& mesh, const aiNode& node) const;

private:
    const aiAnimation* animation_;
    double ticks_;
    std::unordered_map<const aiNode*, aiMatrix4x4> globals_;
    std::unordered_map<std::string, const aiNode*> nodes_by_name_;
};

// The times, in ticks, of `frames` samples spread evenly from the start to the end of the
// animation, both ends included.
std::vector<double> sample_times(const aiAnimation& animation, int frames);

}  // namespace vxmconv
