// The engine's own script compiler judges the spellings: every name that gets one must come
// back from a compiled script as exactly that name, and every name refused (other than empty or
// holding a line break) must be one that no quoting brings through the compiler.
#include "mdf/ScriptName.h"
#include "support/ConverterProcess.h"
#include "support/ReadBack.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::vector<std::string> hostileNames() {
    std::vector<std::string> names;
    for (int byte = 0; byte < 256; ++byte) {
        const std::string c(1, static_cast<char>(byte));
        for (const std::string& name : {c, "a" + c + "b", "a" + c, c + "b", c + c, c + " x"}) {
            names.push_back(name);
        }
    }
    const std::string alphabet = "\"\\/*#{} \t\r:$ab";
    std::mt19937 random(9);
    for (int i = 0; i < 1500; ++i) {
        std::string name;
        for (std::size_t length = 1 + random() % 6; name.size() < length;) {
            name += alphabet[random() % alphabet.size()];
        }
        names.push_back(name);
    }
    return names;
}

std::string scriptDefining(const std::string& spelling) {
    return "material " + spelling + "\n{\n\ttechnique\n\t{\n\t\tpass\n\t\t{\n\t\t}\n\t}\n}\n";
}

// The plain quoting the compiler would need if it took '\' as an escape of its own.
std::string quotedWithEscapes(const std::string& name) {
    std::string quoted = "\"";
    for (char c : name) {
        quoted += (c == '"' || c == '\\') ? std::string{'\\', c} : std::string(1, c);
    }
    return quoted + "\"";
}

std::string compiledName(ReadBack& readBack, const std::string& spelling) {
    const std::vector<Ogre::MaterialPtr> materials =
        readBack.compiledMaterials(scriptDefining(spelling));
    return materials.size() == 1 ? materials[0]->getName()
                                 : "(" + std::to_string(materials.size()) + " materials)";
}

TEST(ScriptNameTest, TheCompilerReadsEverySpellingBackAsItsName) {
    const TemporaryDirectory work;
    ReadBack readBack(work / "scriptname.log");
    std::size_t refused = 0;
    for (const std::string& name : hostileNames()) {
        const std::optional<std::string> spelling = scriptSpelling(name);
        if (spelling) {
            EXPECT_EQ(compiledName(readBack, *spelling), name) << printableName(name);
        } else {
            ++refused;
            // A line break or a NUL survives quotes in a script, but not a .mesh.
            if (name.find_first_of(std::string("\n\0", 2)) == std::string::npos &&
                name.back() != '\r') {
                EXPECT_NE(compiledName(readBack, quotedWithEscapes(name)), name)
                    << printableName(name);
            }
        }
    }
    EXPECT_GT(refused, 0u);
    EXPECT_LT(refused, 500u);
}

TEST(ScriptNameTest, OrdinaryNamesStandAsTheyAre) {
    for (const std::string name :
         {"body", "knight_2", "\xc3\xa9t\xc3\xa9", "q\"uote", "a\\b", "#1"}) {
        EXPECT_EQ(scriptSpelling(name), name);
    }
    EXPECT_EQ(scriptSpelling("steel plate"), "\"steel plate\"");
    EXPECT_EQ(scriptSpelling("say \"hi\""), "\"say \\\"hi\\\"\"");
}

TEST(ScriptNameTest, EmptyNamesAndLineEndsHaveNoSpelling) {
    EXPECT_EQ(scriptSpelling(""), std::nullopt);
    EXPECT_EQ(scriptSpelling("two\nlines"), std::nullopt);
    EXPECT_EQ(scriptSpelling("line\n"), std::nullopt);
    EXPECT_EQ(scriptSpelling("return\r"), std::nullopt);
    EXPECT_EQ(scriptSpelling(std::string("n\0l", 3)), std::nullopt);
    EXPECT_EQ(scriptSpelling("carriage\rreturn"), "\"carriage\rreturn\"");
    EXPECT_EQ(printableName("two\nlines\x7f"), "two\\x0alines\\x7f");
}

} // namespace
