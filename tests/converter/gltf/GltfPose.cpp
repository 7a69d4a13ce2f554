#include "GltfPose.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

namespace {

struct NodeTransform {
    Ogre::Vector3 translation = Ogre::Vector3::ZERO;
    Ogre::Quaternion rotation = Ogre::Quaternion::IDENTITY;
    Ogre::Vector3 scale = Ogre::Vector3::UNIT_SCALE;
};

NodeTransform restTransform(const nlohmann::json& node) {
    NodeTransform transform;
    if (node.contains("translation")) {
        const auto& t = node["translation"];
        transform.translation = {t[0], t[1], t[2]};
    }
    if (node.contains("rotation")) {
        const auto& r = node["rotation"];
        transform.rotation = {r[3], r[0], r[1], r[2]};
    }
    if (node.contains("scale")) {
        const auto& s = node["scale"];
        transform.scale = {s[0], s[1], s[2]};
    }
    return transform;
}

// The channel's value at the time: held before the first and after the last key.
std::vector<double> sample(const Glb& glb, const nlohmann::json& sampler, float time) {
    const std::vector<double> times = glb.values(sampler.at("input"));
    const std::vector<double> outputs = glb.values(sampler.at("output"));
    const std::size_t width = outputs.size() / times.size();
    auto value = [&](std::size_t key) {
        return std::vector<double>(outputs.begin() + key * width,
                                   outputs.begin() + (key + 1) * width);
    };
    const auto after = std::upper_bound(times.begin(), times.end(), time);
    if (after == times.begin()) {
        return value(0);
    }
    if (after == times.end()) {
        return value(times.size() - 1);
    }
    const std::size_t next = after - times.begin();
    const double fraction = (time - times[next - 1]) / (times[next] - times[next - 1]);
    const std::vector<double> a = value(next - 1);
    const std::vector<double> b = value(next);
    std::vector<double> result(width);
    if (width == 4) {
        const Ogre::Quaternion slerped = Ogre::Quaternion::Slerp(
            static_cast<float>(fraction), Ogre::Quaternion(a[3], a[0], a[1], a[2]),
            Ogre::Quaternion(b[3], b[0], b[1], b[2]), true);
        return {slerped.x, slerped.y, slerped.z, slerped.w};
    }
    for (std::size_t c = 0; c < width; ++c) {
        result[c] = a[c] + (b[c] - a[c]) * fraction;
    }
    return result;
}

const nlohmann::json& animationNamed(const Glb& glb, const std::string& name) {
    for (const nlohmann::json& animation : glb.json.at("animations")) {
        if (animation.value("name", "") == name) {
            return animation;
        }
    }
    throw std::out_of_range("no animation " + name);
}

} // namespace

std::vector<Ogre::Affine3> nodeWorldTransforms(const Glb& glb, const std::string& animation,
                                               float time) {
    const nlohmann::json& nodes = glb.json.at("nodes");
    std::vector<NodeTransform> local;
    for (const nlohmann::json& node : nodes) {
        local.push_back(restTransform(node));
    }
    const nlohmann::json& clip = animationNamed(glb, animation);
    for (const nlohmann::json& channel : clip.at("channels")) {
        const std::vector<double> v = sample(glb, clip["samplers"][int(channel["sampler"])], time);
        NodeTransform& target = local.at(channel["target"]["node"]);
        const std::string path = channel["target"]["path"];
        if (path == "translation") {
            target.translation = {float(v[0]), float(v[1]), float(v[2])};
        } else if (path == "rotation") {
            target.rotation = {float(v[3]), float(v[0]), float(v[1]), float(v[2])};
        } else {
            target.scale = {float(v[0]), float(v[1]), float(v[2])};
        }
    }
    std::vector<Ogre::Affine3> world(nodes.size(), Ogre::Affine3::IDENTITY);
    std::function<void(int, const Ogre::Affine3&)> place = [&](int node,
                                                               const Ogre::Affine3& parent) {
        const NodeTransform& t = local[node];
        world[node] = parent * Ogre::Affine3(t.translation, t.rotation, t.scale);
        for (const int child : nodes[node].value("children", std::vector<int>{})) {
            place(child, world[node]);
        }
    };
    for (const int root : glb.json.at("scenes").at(0).at("nodes")) {
        place(root, Ogre::Affine3::IDENTITY);
    }
    return world;
}

std::vector<Ogre::Affine3> inverseBindMatrices(const Glb& glb) {
    const std::vector<double> values = glb.values(glb.json["skins"][0]["inverseBindMatrices"]);
    std::vector<Ogre::Affine3> matrices;
    for (std::size_t m = 0; m + 16 <= values.size(); m += 16) {
        Ogre::Matrix4 matrix;
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 4; ++column) {
                matrix[row][column] = static_cast<float>(values[m + column * 4 + row]);
            }
        }
        matrices.emplace_back(matrix);
    }
    return matrices;
}
