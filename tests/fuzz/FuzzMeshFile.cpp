// Any bytes through the viewer's structural check of mesh and skeleton files, which must answer
// every input without a crash, a sanitizer report or a hang.
#include "MeshBytesCheck.h"
#include "SkeletonBytesCheck.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkMeshBytes(bytes);
    checkSkeletonBytes(bytes);
    return 0;
}
