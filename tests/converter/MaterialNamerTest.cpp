#include "MaterialNamer.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

namespace {

// Calls the namer with standard input and output redirected.
class MaterialNamerTest : public testing::Test {
protected:
    std::string name(bool interactive, const std::string& path) {
        std::streambuf* originalInput = std::cin.rdbuf(typed.rdbuf());
        testing::internal::CaptureStdout();
        const std::string result = MaterialNamer(interactive)(path);
        output += testing::internal::GetCapturedStdout();
        std::cin.rdbuf(originalInput);
        std::cin.clear();
        return result;
    }

    std::istringstream typed;
    std::string output;
};

TEST_F(MaterialNamerTest, NamesAfterTheFileAndDropsTheDirectory) {
    EXPECT_EQ(name(false, "models\\knight\\knight.mdf"), "knight");
    EXPECT_EQ(name(false, "knight.MDF"), "knight");
    EXPECT_EQ(output, "");
}

TEST_F(MaterialNamerTest, AppendsTheMissingExtensionWithAWarning) {
    EXPECT_EQ(name(false, "models/knight/knight"), "knight");
    EXPECT_EQ(name(false, ""), "");
    EXPECT_EQ(output, "Warning: .mdf extension was appended to material name.\n"
                      "Warning: .mdf extension was appended to material name.\n");
}

TEST_F(MaterialNamerTest, InteractiveAnswersReplaceTheSuggestionExactly) {
    typed.str(" steel plate\n\n");
    EXPECT_EQ(name(true, "models/knight/knight"), " steel plate");
    EXPECT_EQ(name(true, "cloak.mdf"), "cloak"); // an empty line keeps the suggestion
    EXPECT_EQ(output, "Warning: .mdf extension was appended to material name.\n"
                      "Suggested name for material: knight\n"
                      "Confirm or enter your own : "
                      "Suggested name for material: cloak\n"
                      "Confirm or enter your own : ");
}

TEST_F(MaterialNamerTest, EndedInputKeepsEverySuggestion) {
    EXPECT_EQ(name(true, "a.mdf"), "a");
    EXPECT_EQ(name(true, "b.mdf"), "b");
    EXPECT_EQ(output, "Suggested name for material: a\nConfirm or enter your own : "
                      "Suggested name for material: b\nConfirm or enter your own : ");
}

} // namespace
