#include "BenchSkeleton.h"

namespace samplemodel {

std::vector<FigureBone> chainBones(int count) {
    constexpr double twistDegrees = 3;
    std::vector<FigureBone> bones;
    for (int i = 0; i < count; ++i) {
        const Vec3 offset = i == 0 ? Vec3{} : Vec3{0, boneLength, 0};
        bones.push_back({"bone" + std::to_string(i),
                         static_cast<int16_t>(i - 1),
                         {offset, aboutY(twistDegrees)}});
    }
    return bones;
}

} // namespace samplemodel
