#include "GalleryPage.h"
#include "PictureFreshness.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <set>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(GalleryPage, GroupsTheModelsByFolderWithTheirFactsAndProblemsInRed) {
    const std::string page = galleryPage({
        {"people/head.mesh", "people/head.png", 1, 1, 1, {}, {"skin.tga"}, ""},
        {"orc/orc.mesh", "orc/orc.png", 120, 200, 24, {{"idle", 2.0f}, {"wave", 1.25f}}, {}, ""},
        {"people/broken.mesh", "", 0, 0, 0, {}, {}, "not a mesh file"},
        {"top.mesh", "top.png", 3, 1, 0, {}, {}, ""},
    });
    const auto at = [&](const std::string& part) { return page.find(part); };
    EXPECT_LT(at("<h2>.</h2>"), at("<h2>orc</h2>"));
    EXPECT_LT(at("<h2>orc</h2>"), at("<h2>people</h2>"));
    EXPECT_LT(at("<h2>people</h2>"), at("broken.mesh"));
    EXPECT_EQ(page.find("<h2>people</h2>", at("<h2>people</h2>") + 1), std::string::npos);
    EXPECT_NE(at("120 vertices, 200 triangles<br>24 bones<br>idle 2.00 s, wave 1.25 s"),
              std::string::npos);
    EXPECT_NE(at("1 vertex, 1 triangle<br>1 bone<br>no animations"), std::string::npos);
    EXPECT_NE(at("<span class=\"problem\">missing texture: skin.tga</span>"), std::string::npos);
    EXPECT_NE(at("<span class=\"problem\">cannot be shown: not a mesh file</span>"),
              std::string::npos);
    EXPECT_EQ(at("src=\"\""), std::string::npos);
    EXPECT_NE(at("<p>4 models, <span class=\"problem\">1 cannot be shown</span>, "
                 "<span class=\"problem\">1 with missing textures</span></p>"),
              std::string::npos);
}

TEST(GalleryPage, EscapesEveryNameAndAddressesEveryPicture) {
    const std::string page = galleryPage(
        {{"<b>&\"'/x#1 %.mesh", "<b>&\"'/x#1 %.png", 1, 1, 0, {{"<i>", 1.0f}}, {"<u>"}, ""},
         {"é/ok.mesh", "é/ok.png", 1, 1, 0, {}, {}, "<s>"}});
    const auto at = [&](const std::string& part) { return page.find(part); };
    EXPECT_NE(at("<h2>&lt;b&gt;&amp;&quot;&#39;</h2>"), std::string::npos);
    EXPECT_NE(at("data-path=\"&lt;b&gt;&amp;&quot;&#39;/x#1 %.mesh\""), std::string::npos);
    EXPECT_NE(at("src=\"%3Cb%3E%26%22%27/x%231%20%25.png\""), std::string::npos);
    EXPECT_NE(at("src=\"%C3%A9/ok.png\""), std::string::npos);
    for (const char* tag : {"<b>", "<i>", "<u>", "<s>"})
        EXPECT_EQ(at(tag), std::string::npos) << tag;
}

class GalleryFiles : public ::testing::Test {
protected:
    fs::path top = fs::temp_directory_path() / ("velmora-gallery-" + std::to_string(getpid()));

    void SetUp() override { fs::create_directories(top); }
    void TearDown() override { fs::remove_all(top); }
};

TEST_F(GalleryFiles, ThePageReplacesTheOldOneWholeAndAFailureIsNamed) {
    std::ofstream(top / "index.html") << "old";
    EXPECT_EQ(writeGalleryPage(top / "index.html", {{"a.mesh", "a.png", 1, 1, 0, {}, {}, ""}}), "");
    std::ifstream written(top / "index.html");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}),
              galleryPage({{"a.mesh", "a.png", 1, 1, 0, {}, {}, ""}}));
    EXPECT_EQ(std::distance(fs::directory_iterator(top), {}), 1); // no temporary left
    const std::string failure = writeGalleryPage(top / "absent/index.html", {});
    EXPECT_NE(failure.find((top / "absent/index.html").string()), std::string::npos) << failure;
}

TEST_F(GalleryFiles, APictureIsUpToDateWhenNewerThanItsMeshSkeletonAndMaterials) {
    const fs::file_time_type drawn = fs::file_time_type::clock::now() - std::chrono::hours(1);
    const fs::file_time_type before = drawn - std::chrono::minutes(1);
    for (const char* name : {"orc.mesh", "orc.skeleton", "orc.material", "shared.material",
                             "troll.skeleton", "skin.tga", "troll.mesh", "orc.png"}) {
        std::ofstream(top / name) << "x";
        fs::last_write_time(top / name, name == std::string("orc.png") ? drawn : before);
    }
    const std::vector<fs::path> files = picturedFiles(top / "orc.mesh");
    EXPECT_EQ(std::set<fs::path>(files.begin(), files.end()),
              (std::set<fs::path>{top / "orc.mesh", top / "orc.skeleton", top / "orc.material",
                                  top / "shared.material"}));
    EXPECT_TRUE(pictureIsUpToDate(top / "orc.png", files));
    EXPECT_FALSE(pictureIsUpToDate(top / "absent.png", files));
    for (const fs::path& file : files) {
        fs::last_write_time(file, drawn); // the same time: the change may have come after
        EXPECT_FALSE(pictureIsUpToDate(top / "orc.png", files)) << file;
        fs::last_write_time(file, before);
    }
    fs::remove(top / "orc.material");
    EXPECT_FALSE(pictureIsUpToDate(top / "orc.png", files)); // listed, then gone
}
