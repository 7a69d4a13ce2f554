#include "BenchSkin.h"

#include "BenchSkeleton.h"

#include <algorithm>
#include <cmath>

namespace samplemodel {
namespace {

constexpr double radius = 10;

// Linear blending between the bones below and above the vertex, so that every bone of the
// chain moves part of the skin.
void weighBetweenBones(double y, int bones, SkmVertexDesc& vertex) {
    const double along = y / boneLength;
    const int below = std::min(static_cast<int>(along), bones - 2);
    const double upper = along - below;
    vertex.weightCount = 2;
    vertex.boneIndex[0] = static_cast<uint16_t>(below);
    vertex.boneIndex[1] = static_cast<uint16_t>(below + 1);
    vertex.boneWeight[0] = static_cast<float>(1 - upper);
    vertex.boneWeight[1] = static_cast<float>(upper);
}

void addRing(const RingTube& tube, int ring, SkmDesc& skm) {
    const double v = static_cast<double>(ring) / (tube.rings - 1);
    const double y = v * (tube.bones - 1) * boneLength;
    for (int step = 0; step < tube.ringVertices; ++step) {
        const double u = static_cast<double>(step) / tube.ringVertices;
        const double angle = 2 * M_PI * u;
        SkmVertexDesc vertex;
        vertex.position = {float(radius * std::sin(angle)), float(y),
                           float(radius * std::cos(angle))};
        vertex.normal = {float(std::sin(angle)), 0, float(std::cos(angle))};
        vertex.uv = {float(u), float(v)};
        weighBetweenBones(y, tube.bones, vertex);
        skm.vertices.push_back(vertex);
    }
}

// Two triangles per step around the band between a ring and the next, counter-clockwise seen
// from outside.
void addBand(const RingTube& tube, int ring, SkmDesc& skm) {
    const auto material = static_cast<uint16_t>(ring * tube.materials / (tube.rings - 1));
    const int lower = ring * tube.ringVertices;
    const int upper = lower + tube.ringVertices;
    for (int step = 0; step < tube.ringVertices; ++step) {
        const int next = (step + 1) % tube.ringVertices;
        const auto index = [](int i) { return static_cast<uint16_t>(i); };
        skm.faces.push_back(
            {material, {index(lower + step), index(lower + next), index(upper + next)}});
        skm.faces.push_back(
            {material, {index(lower + step), index(upper + next), index(upper + step)}});
    }
}

} // namespace

void buildRingTube(const RingTube& tube, SkmDesc& skm) {
    for (int ring = 0; ring < tube.rings; ++ring) {
        addRing(tube, ring, skm);
    }
    for (int ring = 0; ring + 1 < tube.rings; ++ring) {
        addBand(tube, ring, skm);
    }
}

} // namespace samplemodel
