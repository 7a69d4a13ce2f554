#include "BatchReport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

TEST(BatchReportTest, HoldsEveryModelAndCountsThem) {
    ModelResult converted{"a/x.skm",
                          ModelStatus::converted,
                          {"a/x.mesh"},
                          {"Warning: w"},
                          std::nullopt,
                          {"a/skin.tga"},
                          {"art/gone.tga", "art/lost.tga"},
                          0.5};
    ModelResult skipped{"a/y.skm", ModelStatus::skipped, {}, {}, std::nullopt, {}, {}, 0};
    ModelResult failed{"b/z.skm", ModelStatus::failed, {}, {}, "killed by signal 11", {}, {}, 1};
    const std::vector<ModelResult> results = {converted, skipped, failed};
    const nlohmann::json report =
        nlohmann::json::parse(reportText({"1.0.0", "/src", "/out", false}, results, 2.26));

    EXPECT_EQ(report["version"], "1.0.0");
    EXPECT_EQ(report["source_root"], "/src");
    EXPECT_FALSE(report.contains("interrupted"));
    ASSERT_EQ(report["models"].size(), 3U);
    const nlohmann::json& first = report["models"][0];
    EXPECT_EQ(first["status"], "converted");
    EXPECT_TRUE(first["error"].is_null());
    EXPECT_EQ(first["textures_missing"].size(), 2U);
    EXPECT_EQ(report["models"][2]["error"], "killed by signal 11");
    EXPECT_EQ(report["summary"],
              nlohmann::json::parse(R"({"converted":1,"skipped":1,"failed":1,"with_warnings":1,
                                        "textures_missing":2,"seconds":2.26})"));
    EXPECT_EQ(summaryLine(totalsOf(results), 2.26),
              "1 converted, 1 skipped, 1 failed, 1 with warnings, 2 textures missing, 2.3 s");
}

TEST(BatchReportTest, BytesThatAreNotUtf8DoNotLoseTheReport) {
    ModelResult odd{"a/\xe9p\xe9"
                    ".skm",
                    ModelStatus::failed,
                    {},
                    {},
                    "bad \xff",
                    {},
                    {},
                    0};
    const nlohmann::json report =
        nlohmann::json::parse(reportText({"1.0.0", "/src", "/out", true}, {odd}, 0));
    EXPECT_EQ(report["models"][0]["source"], "a/\xef\xbf\xbdp\xef\xbf\xbd.skm");
    EXPECT_EQ(report["interrupted"], true);
}

} // namespace
