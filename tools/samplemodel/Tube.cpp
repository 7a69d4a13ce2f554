#include "Tube.h"

#include <algorithm>
#include <stdexcept>

namespace samplemodel {
namespace {

constexpr int sides = 12;

// Around the ring from the back (-Z) through the left (+X) and the front back to the back,
// where the texture seam lies.
Vec3 ringPoint(const Tube& tube, const Ring& ring, int step) {
    const double angle = -M_PI + 2 * M_PI * step / sides;
    return {tube.centerX + ring.halfX * std::sin(angle), ring.y,
            tube.centerZ + ring.halfZ * std::cos(angle)};
}

// The normal from the neighbouring points around and along the surface, wrapping around the
// seam so that both copies of a seam vertex get the same normal.
Vec3 sideNormal(const Tube& tube, size_t ringIndex, int step) {
    const Ring& ring = tube.rings[ringIndex];
    const Ring& below = tube.rings[ringIndex == 0 ? 0 : ringIndex - 1];
    const Ring& above = tube.rings[std::min(ringIndex + 1, tube.rings.size() - 1)];
    const Vec3 around = ringPoint(tube, ring, step + 1) - ringPoint(tube, ring, step - 1);
    const Vec3 along = ringPoint(tube, above, step) - ringPoint(tube, below, step);
    return normalized(cross(around, along));
}

class TubeBuilder {
public:
    TubeBuilder(const Tube& tube, const Transform& boneToModel, int16_t parent, SkmDesc& skm)
        : tube_(tube), boneToModel_(boneToModel), parent_(parent), skm_(skm) {}

    void build() {
        const size_t sideStart = skm_.vertices.size();
        for (size_t r = 0; r < tube_.rings.size(); ++r) {
            addRing(r);
        }
        for (size_t r = 0; r + 1 < tube_.rings.size(); ++r) {
            addBand(sideStart + r * (sides + 1));
        }
        addCap(tube_.rings.front(), -1);
        addCap(tube_.rings.back(), 1);
    }

private:
    uint16_t addVertex(Vec3 position, Vec3 normal, float u, float v, double ownWeight) {
        if (skm_.vertices.size() > 0xFFFF) {
            throw std::length_error("the figure has more vertices than 16-bit faces can reach");
        }
        const Vec3 p = apply(boneToModel_, position);
        const Vec3 n = rotate(boneToModel_.rotation, normal);
        SkmVertexDesc vertex;
        vertex.position = {float(p.x), float(p.y), float(p.z)};
        vertex.normal = {float(n.x), float(n.y), float(n.z)};
        vertex.uv = {u, v};
        vertex.boneIndex[0] = tube_.bone;
        vertex.boneWeight[0] = 1;
        vertex.weightCount = 1;
        if (ownWeight < 1 && parent_ >= 0) {
            vertex.boneIndex[1] = static_cast<uint16_t>(parent_);
            vertex.boneWeight = {float(ownWeight), float(1 - ownWeight), 0, 0, 0, 0};
            vertex.weightCount = 2;
        }
        skm_.vertices.push_back(vertex);
        return static_cast<uint16_t>(skm_.vertices.size() - 1);
    }

    void addFace(size_t a, size_t b, size_t c) {
        skm_.faces.push_back(
            {tube_.material,
             {static_cast<uint16_t>(a), static_cast<uint16_t>(b), static_cast<uint16_t>(c)}});
    }

    // One more vertex than there are sides: the seam needs u = 0 and u = 1.
    void addRing(size_t r) {
        const Ring& ring = tube_.rings[r];
        const double length = tube_.rings.back().y - tube_.rings.front().y;
        const auto v = float((ring.y - tube_.rings.front().y) / length);
        for (int step = 0; step <= sides; ++step) {
            addVertex(ringPoint(tube_, ring, step), sideNormal(tube_, r, step), float(step) / sides,
                      v, ring.ownWeight);
        }
    }

    void addBand(size_t lower) {
        const size_t upper = lower + sides + 1;
        for (int step = 0; step < sides; ++step) {
            addFace(lower + step, lower + step + 1, upper + step + 1);
            addFace(lower + step, upper + step + 1, upper + step);
        }
    }

    // A flat fan; `facing` is -1 for the cap at the start of the bone, 1 at its end.
    void addCap(const Ring& ring, double facing) {
        const Vec3 normal{0, facing, 0};
        const size_t center =
            addVertex({tube_.centerX, ring.y, tube_.centerZ}, normal, 0.5f, 0.5f, ring.ownWeight);
        for (int step = 0; step < sides; ++step) {
            const double angle = -M_PI + 2 * M_PI * step / sides;
            addVertex(ringPoint(tube_, ring, step), normal, float(0.5 + 0.5 * std::sin(angle)),
                      float(0.5 + 0.5 * std::cos(angle)), ring.ownWeight);
        }
        for (int step = 0; step < sides; ++step) {
            const size_t here = center + 1 + step;
            const size_t next = center + 1 + (step + 1) % sides;
            if (facing > 0) {
                addFace(center, here, next);
            } else {
                addFace(center, next, here);
            }
        }
    }

    const Tube& tube_;
    const Transform& boneToModel_;
    int16_t parent_;
    SkmDesc& skm_;
};

} // namespace

void appendTube(const Tube& tube, const Transform& boneToModel, int16_t parent, SkmDesc& skm) {
    if (tube.rings.size() < 2) {
        throw std::invalid_argument("a tube needs at least two rings");
    }
    TubeBuilder(tube, boneToModel, parent, skm).build();
}

} // namespace samplemodel
