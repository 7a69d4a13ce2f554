#pragma once

#include <filesystem>
#include <string>

// A temporary folder with the sample figure converted by the real Tarnwick: the mesh, its
// skeleton and its material script in models/, kept in memory as well so that a test can damage
// one file and put it back.
class ModelFolder {
public:
    enum class File { mesh, skeleton, material };
    static constexpr const char* meshName = "figure.mesh";

    ModelFolder();
    ~ModelFolder();

    std::string models() const { return (root / "models").string(); }
    static std::string fileName(File file);
    const std::string& original(File file) const;
    void replace(File file, const std::string& bytes) const;
    void restore() const;

private:
    std::filesystem::path root;
    std::string mesh, skeleton, material;
};
