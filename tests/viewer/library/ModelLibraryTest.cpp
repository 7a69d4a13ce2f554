#include "ModelLibrary.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iostream>
#include <unistd.h>

namespace fs = std::filesystem;

class ModelTree : public ::testing::Test {
protected:
    fs::path top = fs::temp_directory_path() / ("velmora-library-" + std::to_string(getpid()));

    void SetUp() override {
        fs::remove_all(top);
        for (const char* file :
             {"tree/monsters/orc/orc.mesh", "tree/monsters/orc/orc.skeleton",
              "tree/elves/head.mesh", "tree/dwarves/head.mesh", "tree/a.mesh", "tree/notes.txt"})
            write(file);
        fs::create_directories(top / "tree/empty");
        fs::create_directories(top / "tree/fake.mesh");
        // A link back up the tree: followed, it would list the tree again and again.
        fs::create_directory_symlink(top / "tree", top / "tree/monsters/loop");
    }
    void TearDown() override { fs::remove_all(top); }

    void write(const std::string& relative) const {
        fs::create_directories((top / relative).parent_path());
        std::ofstream(top / relative) << "x";
    }
    std::string path(const std::string& relative) const { return (top / relative).string(); }
};

TEST_F(ModelTree, AFolderGivesItsMeshesAtAnyDepthAndAFileItselfOnce) {
    const ModelLibrary library =
        listModels({path("tree") + "/", path("tree/monsters/orc/./orc.mesh")});
    EXPECT_EQ(relativePaths(library),
              (std::vector<std::string>{"a.mesh", "dwarves/head.mesh", "elves/head.mesh",
                                        "monsters/orc/orc.mesh"}));
    EXPECT_EQ(library.notes.size() + library.error.size(), 0u);
    EXPECT_EQ(library.models.back().file, top / "tree/monsters/orc/orc.mesh");
    // One folder each for the two heads: each shows with its own skeleton and textures.
    EXPECT_EQ(modelFolders(library),
              (std::vector<fs::path>{top / "tree", top / "tree/dwarves", top / "tree/elves",
                                     top / "tree/monsters/orc"}));
    EXPECT_EQ(relativePaths(listModels({path("tree/monsters/orc/orc.mesh")})),
              std::vector<std::string>{"orc.mesh"});
}

TEST_F(ModelTree, PathsWithoutMeshesAreSkippedWithANoteUnlessNothingElseIsLeft) {
    const std::vector<std::string> withoutMeshes = {path("tree/empty"), path("absent"),
                                                    path("tree/notes.txt"), path("tree/fake.mesh")};
    const std::vector<std::string> notes = {path("tree/empty") + ": holds no .mesh file",
                                            path("absent") + ": no such file or folder",
                                            path("tree/notes.txt") + ": holds no .mesh file",
                                            path("tree/fake.mesh") + ": holds no .mesh file"};
    std::vector<std::string> paths = withoutMeshes;
    paths.insert(paths.begin() + 2, path("tree/elves"));
    const ModelLibrary some = listModels(paths);
    EXPECT_EQ(relativePaths(some), std::vector<std::string>{"head.mesh"});
    EXPECT_EQ(some.notes, notes);
    EXPECT_EQ(some.error, "");
    EXPECT_EQ(listModels(withoutMeshes).error, notes.front());
}

TEST_F(ModelTree, TwoThousandModelsListFromTheirNamesAlone) {
    for (int model = 0; model < 2000; ++model)
        write("big/set" + std::to_string(model / 10) + "/m" + std::to_string(model % 10) + ".mesh");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(listModels({path("big")}).models.size(), 2000u);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took.count(), 1.0); // generous for a loaded machine
    std::cout << "2000 models listed in " << took.count() * 1000 << " ms\n";
}
