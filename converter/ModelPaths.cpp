#include "ModelPaths.h"

#include "SplitPath.h"

ModelPaths modelPaths(const std::string& skmPath,
                      const std::optional<std::string>& meshDestination) {
    const PathParts source = splitPath(skmPath);
    const std::string meshFile =
        meshDestination.value_or(source.directory + source.baseName + ".mesh");
    const PathParts mesh = splitPath(meshFile);
    const std::string destBase = mesh.directory + mesh.baseName;
    return {skmPath,
            source.directory + source.baseName + ".ska",
            source.directory,
            source.baseName,
            destBase + ".skeleton",
            mesh.baseName + ".skeleton",
            meshFile,
            destBase + ".material",
            destBase + ".glb"};
}

std::string mdfFileName(const std::string& recordPath) {
    const PathParts parts = splitPath(recordPath);
    return parts.baseName + (parts.extension.empty() ? ".mdf" : parts.extension);
}

std::string scriptTextureName(const std::string& texturePath) {
    const PathParts parts = splitPath(texturePath);
    return parts.baseName + parts.extension;
}
