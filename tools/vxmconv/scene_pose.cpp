#include "scene_pose.h"

#include <algorithm>
#include <utility>

namespace vxmconv {

namespace {

// The pair of keys around the time and how far between them it lies; times outside the keys
// hold the nearest key.
template <typename Key>
std::pair<size_t, float> bracket(const Key* keys, size_t count, double ticks) {
    if (count == 1 || ticks <= keys[0].mTime) return {0, 0.0f};
    if (ticks >= keys[count - 1].mTime) return {count - 1, 0.0f};
    const Key* after = std::upper_bound(keys, keys + count, ticks,
                                        [](double t, const Key& key) { return t < key.mTime; });
    const size_t next = static_cast<size_t>(after - keys);
    const double span = keys[next].mTime - keys[next - 1].mTime;
    const double along = span > 0 ? (ticks - keys[next - 1].mTime) / span : 0.0;
    return {next - 1, static_cast<float>(along)};
}

aiVector3D vector_at(const aiVectorKey* keys, size_t count, double ticks, aiVector3D fallback) {
    if (count == 0 || !keys) return fallback;
    const auto [first, along] = bracket(keys, count, ticks);
    if (along == 0) return keys[first].mValue;
    return keys[first].mValue + (keys[first + 1].mValue - keys[first].mValue) * along;
}

aiQuaternion rotation_at(const aiQuatKey* keys, size_t count, double ticks, aiQuaternion fallback) {
    if (count == 0 || !keys) return fallback;
    const auto [first, along] = bracket(keys, count, ticks);
    if (along == 0) return keys[first].mValue;
    aiQuaternion result;
    aiQuaternion::Interpolate(result, keys[first].mValue, keys[first + 1].mValue, along);
    return result.Normalize();
}

aiMatrix4x4 animated_transform(const aiNodeAnim& channel, const aiMatrix4x4& rest, double ticks) {
    aiVector3D scaling;
    aiQuaternion rotation;
    aiVector3D position;
    rest.Decompose(scaling, rotation, position);
    return aiMatrix4x4(
        vector_at(channel.mScalingKeys, channel.mNumScalingKeys, ticks, scaling),
        rotation_at(channel.mRotationKeys, channel.mNumRotationKeys, ticks, rotation),
        vector_at(channel.mPositionKeys, channel.mNumPositionKeys, ticks, position));
}

// A key's weights spread over all targets of the mesh.
std::vector<float> key_weights(const aiMeshMorphKey& key, size_t targets) {
    std::vector<float> weights(targets, 0.0f);
    if (!key.mValues || !key.mWeights) return weights;
    for (unsigned i = 0; i < key.mNumValuesAndWeights; ++i) {
        if (key.mValues[i] < targets) weights[key.mValues[i]] = static_cast<float>(key.mWeights[i]);
    }
    return weights;
}

}  // namespace

ScenePose::ScenePose(const aiScene& scene, const aiAnimation* animation, double ticks)
    : animation_(animation), ticks_(ticks) {
    std::unordered_map<std::string, const aiNodeAnim*> channels;
    if (animation && animation->mChannels) {
        for (unsigned i = 0; i < animation->mNumChannels; ++i) {
            const aiNodeAnim* channel = animation->mChannels[i];
            if (channel) channels.emplace(channel->mNodeName.C_Str(), channel);
        }
    }
    // Parents before children, without recursion: a file may nest nodes very deeply.
    std::vector<std::pair<const aiNode*, aiMatrix4x4>> pending;
    if (scene.mRootNode) pending.emplace_back(scene.mRootNode, aiMatrix4x4());
    while (!pending.empty()) {
        auto [node, parent] = pending.back();
        pending.pop_back();
        if (!globals_.emplace(node, aiMatrix4x4()).second) continue;  // a node met twice
        nodes_by_name_.emplace(node->mName.C_Str(), node);
        const auto channel = channels.find(node->mName.C_Str());
        const aiMatrix4x4 local =
            channel == channels.end()
                ? node->mTransformation
                : animated_transform(*channel->second, node->mTransformation, ticks);
        const aiMatrix4x4 global = parent * local;
        globals_[node] = global;
        if (!node->mChildren) continue;
        for (unsigned i = 0; i < node->mNumChildren; ++i) {
            if (node->mChildren[i]) pending.emplace_back(node->mChildren[i], global);
        }
    }
}

const aiMatrix4x4& ScenePose::global(const aiNode* node) const {
    static const aiMatrix4x4 kIdentity;
    const auto found = globals_.find(node);
    return found == globals_.end() ? kIdentity : found->second;
}

const aiNode* ScenePose::node_named(const aiString& name) const {
    const auto found = nodes_by_name_.find(name.C_Str());
    return found == nodes_by_name_.end() ? nullptr : found->second;
}

std::vector<float> ScenePose::morph_weights(const aiMesh& mesh, const aiNode& node) const {
    const size_t targets = mesh.mAnimMeshes ? mesh.mNumAnimMeshes : 0;
    std::vector<float> weights(targets, 0.0f);
    for (size_t i = 0; i < targets; ++i) {
        if (mesh.mAnimMeshes[i]) weights[i] = mesh.mAnimMeshes[i]->mWeight;
    }
    if (!animation_ || !animation_->mMorphMeshChannels || targets == 0) return weights;
    // Importers name a morph channel after the mesh or after the node that holds it.
    for (unsigned c = 0; c < animation_->mNumMorphMeshChannels; ++c) {
        const aiMeshMorphAnim* channel = animation_->mMorphMeshChannels[c];
        if (!channel || !channel->mKeys || channel->mNumKeys == 0) continue;
        if (channel->mName != mesh.mName && channel->mName != node.mName) continue;
        const auto [first, along] = bracket(channel->mKeys, channel->mNumKeys, ticks_);
        weights = key_weights(channel->mKeys[first], targets);
        if (along != 0) {
            const std::vector<float> next = key_weights(channel->mKeys[first + 1], targets);
            for (size_t i = 0; i < targets; ++i)
                weights[i] += (next[i] - weights[i]) * along;
        }
        break;
    }
    return weights;
}

std::vector<double> sample_times(const aiAnimation& animation, int frames) {
    std::vector<double> times(static_cast<size_t>(std::max(frames, 1)), 0.0);
    const double duration = animation.mDuration > 0 ? animation.mDuration : 0.0;
    for (size_t i = 1; i < times.size(); ++i)
        times[i] = duration * static_cast<double>(i) / static_cast<double>(times.size() - 1);
    return times;
}

}  // namespace vxmconv
