// The gallery page as a browser shows it: Debian's headless Chromium loads the page the writer
// made, its script filters by the page's "?filter=" text, and screenshots show the thumbnails
// (each a picture of one flat colour, counted in the screenshot's pixels).
#include "GalleryPage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string outputOf(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    while (const std::size_t read = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, read);
    pclose(pipe);
    return output;
}

std::size_t countOf(const std::string& text, const std::string& pattern) {
    const std::regex wanted(pattern);
    return static_cast<std::size_t>(
        std::distance(std::sregex_iterator(text.begin(), text.end(), wanted), {}));
}

} // namespace

class GalleryInChromium : public ::testing::Test {
protected:
    // No blank or quote in it, so it goes into the commands as it is.
    fs::path top = fs::temp_directory_path() / ("velmora-gallery-" + std::to_string(getpid()));

    void SetUp() override {
        fs::create_directories(top / "profile");
        // A '#' and a blank in the folder: the page must address the picture past them.
        for (const auto& [picture, colour] :
             {std::pair{"orc #1/orc.png", "#FF0000"}, std::pair{"people/head.png", "#0000FF"}}) {
            fs::create_directories((top / picture).parent_path());
            ASSERT_EQ(std::system(("convert -size 64x48 'xc:" + std::string(colour) + "' '" +
                                   (top / picture).string() + "'")
                                      .c_str()),
                      0);
        }
        ASSERT_EQ(
            writeGalleryPage(
                top / "index.html",
                {{"orc #1/orc.mesh", "orc #1/orc.png", 120, 200, 24, {{"wave", 1.5f}}, {}, ""},
                 {"people/head.mesh", "people/head.png", 80, 100, 0, {}, {"skin.tga"}, ""},
                 {"people/broken.mesh", "", 0, 0, 0, {}, {}, "the mesh file is damaged"}}),
            "");
    }
    void TearDown() override { fs::remove_all(top); }

    // Chromium on the page, with everything that would reach out of the test switched off.
    std::string chromium(const std::string& filter, const std::string& action) const {
        return "timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic "
               "--no-first-run --disable-background-networking --disable-component-update "
               "--disable-sync --hide-scrollbars --user-data-dir=" +
               (top / "profile").string() + " " + action + " 'file://" +
               (top / "index.html").string() + "?filter=" + filter + "' 2>/dev/null";
    }

    // How many pixels of an 800 × 900 screenshot of the page have the colour.
    long pixelsOf(const std::string& filter, const std::string& colour) const {
        const std::string shot = (top / "shot.png").string();
        fs::remove(shot);
        outputOf(chromium(filter, "--window-size=800,900 --screenshot=" + shot));
        const std::string histogram =
            outputOf("convert " + shot + " -alpha off -format %c histogram:info:-");
        std::smatch line;
        const bool found =
            std::regex_search(histogram, line, std::regex("([0-9]+): \\([^)]*\\) " + colour));
        return found ? std::stol(line[1]) : 0;
    }
};

TEST_F(GalleryInChromium, TheFilterHidesTheModelsWhosePathDoesNotHoldItsText) {
    const std::string all = outputOf(chromium("", "--dump-dom"));
    EXPECT_NE(all.find("<span id=\"count\">3 of 3</span>"), std::string::npos) << all;
    EXPECT_EQ(countOf(all, " hidden"), 0u);

    const std::string orcs = outputOf(chromium("ORC", "--dump-dom"));
    EXPECT_NE(orcs.find("<span id=\"count\">1 of 3</span>"), std::string::npos) << orcs;
    EXPECT_EQ(countOf(orcs, "<figure data-path=\"orc #1/orc.mesh\">"), 1u) << orcs;
    EXPECT_EQ(countOf(orcs, "<figure[^>]* hidden"), 2u) << orcs;
    EXPECT_EQ(countOf(orcs, "<section hidden"), 1u) << orcs;
}

TEST_F(GalleryInChromium, TheScreenshotShowsTheThumbnailsOfTheMatchingModels) {
    const long thumbnail = 200 * 150; // the page shows them 200 pixels wide
    EXPECT_GT(pixelsOf("", "#FF0000"), thumbnail * 8 / 10);
    EXPECT_GT(pixelsOf("", "#0000FF"), thumbnail * 8 / 10);
    EXPECT_EQ(pixelsOf("head", "#FF0000"), 0);
    EXPECT_GT(pixelsOf("head", "#0000FF"), thumbnail * 8 / 10);
}
