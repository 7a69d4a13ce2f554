#include "LibraryFilter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>

using Matches = std::vector<std::size_t>;

TEST(LibraryFilter, KeepsThePathsHoldingTheTextInAnyCaseAndStepsThroughThemWrapping) {
    LibraryFilter filter({"dwarves/head.mesh", "monsters/Orc/orc.mesh", "monsters/troll.mesh",
                          "orc_chief.mesh", "people/head.mesh"});
    EXPECT_EQ(filter.countText(), "5 of 5");
    EXPECT_EQ((Matches{*filter.next(std::nullopt), *filter.previous(std::nullopt)}),
              (Matches{0, 4}));
    EXPECT_EQ((Matches{*filter.next(4), *filter.previous(0)}), (Matches{0, 4}));
    filter.setText("s/h"); // across a folder's end
    EXPECT_EQ(filter.matches(), Matches{0});

    filter.setText("oRC");
    EXPECT_EQ(filter.matches(), (Matches{1, 3}));
    EXPECT_EQ(filter.countText(), "2 of 5");
    EXPECT_EQ((Matches{*filter.next(1), *filter.next(3), *filter.previous(1)}), (Matches{3, 1, 3}));
    // From a model the filter hides, to the nearest match on that side of it.
    EXPECT_EQ((Matches{*filter.next(2), *filter.previous(2), *filter.next(4)}), (Matches{3, 1, 1}));
    EXPECT_EQ((Matches{*filter.positionOf(1), *filter.positionOf(3)}), (Matches{0, 1}));
    EXPECT_EQ(filter.positionOf(2), std::nullopt);
    EXPECT_EQ(filter.positionOf(99), std::nullopt);

    filter.setText("dragon");
    EXPECT_EQ(filter.countText(), "0 of 5");
    EXPECT_EQ(filter.next(1), std::nullopt);
    EXPECT_EQ(filter.previous(std::nullopt), std::nullopt);
}

TEST(LibraryFilter, FollowsEachKeystrokeOnTwoThousandNamesInWellUnderFiftyMilliseconds) {
    std::vector<std::string> names;
    for (int model = 0; model < 2000; ++model)
        names.push_back("characters/set" + std::to_string(model / 10) + "/model_" +
                        std::to_string(model % 10) + ".mesh");
    LibraryFilter filter(names);
    const std::string typed = "SET17/MODEL_3";
    double slowest = 0.0;
    for (std::size_t length = 1; length <= typed.size(); ++length) {
        const auto start = std::chrono::steady_clock::now();
        filter.setText(typed.substr(0, length));
        slowest = std::max(slowest, std::chrono::duration<double, std::milli>(
                                        std::chrono::steady_clock::now() - start)
                                        .count());
    }
    EXPECT_EQ(filter.matches(), Matches{173});
    EXPECT_LT(slowest, 25.0);
    std::cout << "slowest keystroke: " << slowest << " ms\n";
}
