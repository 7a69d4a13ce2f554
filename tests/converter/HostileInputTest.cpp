// Damaged and hostile files through the real binary, under a time limit and an address-space
// limit of 1 GiB: each run ends with status 0 or 1 and says what was wrong, never a signal.
// What each builder makes of damaged records is tested next to the builder.
#include "ByteWriter.h"
#include "TestBytes.h"
#include "skeleton/SkaRecords.h"
#include "skm/SkmRecords.h"
#include "support/ConverterProcess.h"
#include "support/SmallModel.h"

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <functional>

namespace {

struct HostileCase {
    const char* name;
    std::function<void(SmallModel&)> damageModel;
    std::function<void(std::string& skm, std::string& ska)> damageBytes;
    int exitStatus;
    const char* message;
};

// Offsets of the small model's SKA: header, two bones, then the two animation headers.
constexpr std::size_t skaAnimationTable = skaHeaderSize + 2 * skaBoneSize;

const HostileCase hostileCases[] = {
    {"vertex count beyond the file", nullptr,
     [](std::string& skm, std::string&) {
         patchInt32(skm, skmHeaderField::vertexCount, 2147483647);
     },
     1, "vertex table at offset"},
    {"negative bone count", nullptr,
     [](std::string& skm, std::string&) { patchInt32(skm, skmHeaderField::boneCount, -1); }, 1,
     "Mesh claims -1 bones; a skeleton holds 1 to 256."},
    {"parents in a cycle", [](SmallModel& m) { m.skm.bones[1].parent = 0; }, nullptr, 1,
     "The parents of bone \"tip\" form a cycle."},
    {"material path empty", [](SmallModel& m) { m.skm.materialPaths[0] = ""; }, nullptr, 1,
     "Converting file .mdf failed: no material script can hold the name \"\""},
    {"key data without end word", nullptr,
     [](std::string&, std::string& ska) { ska.resize(ska.size() - 2); }, 0,
     "ends before its end word"},
    {"animation count beyond the file", nullptr,
     [](std::string&, std::string& ska) {
         patchInt32(ska, skaHeaderField::animationCount, 2147483647);
     },
     1, "animation table at offset 224 claims 2147483647 records"},
    {"negative animation offset", nullptr,
     [](std::string&, std::string& ska) {
         patchInt32(ska, skaHeaderField::animationOffset, -100000);
     },
     0, "animation 0 has no name; kept as \"Animation0\""},
    {"stream count beyond the header", nullptr,
     [](std::string&, std::string& ska) {
         patchInt32(ska, skaAnimationTable + skaAnimationField::streamCount, -1);
     },
     0, "claims 4294967295 streams"},
    {"streams of many animations reading the same long key data", nullptr,
     [](std::string&, std::string& ska) {
         // Appended key data: zero factors, 3000 bone states of zeros, the end word, one empty
         // frame and the end word again. Behind it, 120 copies of the header of "walk" whose
         // ten streams all read it: some 80 MB of reading in all.
         const auto keyData = static_cast<int32_t>(ska.size());
         ska.append(8 + 3000 * 22, '\0');
         ska.append("\xFE\xFF\0\0\xFE\xFF", 6);
         const std::string walk = ska.substr(skaAnimationTable, skaAnimationSize);
         patchInt32(ska, skaHeaderField::animationCount, 120);
         patchInt32(ska, skaHeaderField::animationOffset, static_cast<int32_t>(ska.size()));
         for (int k = 0; k < 120; ++k) {
             std::string header = walk;
             patchInt32(header, skaAnimationField::streamCount, 10);
             for (std::size_t slot = 0; slot < 10; ++slot) {
                 patchInt32(header,
                            skaAnimationField::streamSlots + skaStreamSlotSize * slot +
                                skaStreamField::dataOffset,
                            keyData - static_cast<int32_t>(ska.size()));
             }
             ska += header;
         }
     },
     0,
     "read key data that other streams share, past the 67108864 bytes such repeated reading may "
     "take; skipped."},
    {"SKA bone the skeleton lacks", [](SmallModel& m) { m.ska.bones[0].name = "wing"; }, nullptr, 0,
     "SKA bone \"wing\" is not in the skeleton; skipped."},
};

class HostileInputTest : public testing::TestWithParam<HostileCase> {};

TEST_P(HostileInputTest, EndsCleanlyWithAMessage) {
    const HostileCase& hostile = GetParam();
    SmallModel model = makeSmallModel();
    if (hostile.damageModel) {
        hostile.damageModel(model);
    }
    TemporaryDirectory work;
    writeSmallModel(model, work.path(), "small");
    if (hostile.damageBytes) {
        std::string skm = readFileText(work / "small.skm");
        std::string ska = readFileText(work / "small.ska");
        hostile.damageBytes(skm, ska);
        samplemodel::writeFile(work / "small.skm", skm);
        samplemodel::writeFile(work / "small.ska", ska);
    }
    const auto start = std::chrono::steady_clock::now();
    const ConverterRun run = runTarnwick(work.path(), {"small.skm"}, "", 10, 1LL << 30);
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
    EXPECT_EQ(run.exitStatus, hostile.exitStatus) << run.output << run.errors;
    EXPECT_NE(run.output.find(hostile.message), std::string::npos) << run.output;
    EXPECT_EQ(run.errors, "");
    EXPECT_LT(seconds.count(), 2.0);
}

INSTANTIATE_TEST_SUITE_P(Files, HostileInputTest, testing::ValuesIn(hostileCases),
                         [](const testing::TestParamInfo<HostileCase>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c) {
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             }
                             return name;
                         });

} // namespace
