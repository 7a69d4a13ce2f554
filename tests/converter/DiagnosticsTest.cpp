#include "Diagnostics.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// Held back and passed on, the entries read on the console as if written at once.
TEST(DiagnosticsTest, TheConsoleShowsEachPlacementInItsShape) {
    DiagnosticList held;
    held.progress("Reading bones from file:a.skm");
    held.progress(textOf("Mesh contains ", 3, " bones."), Placement::step);
    held.warning("Warning: Variation count != 0.", Placement::spaced);
    held.error("no SKA file a.ska beside it", Placement::unshown);
    held.error("Importing Skeleton Failed!", Placement::open);
    held.warning(textOf("Warning: frame time ", 0.125f), Placement::step);
    held.error("Error: disk full", Placement::freshLine);
    std::ostringstream console;
    ConsoleDiagnostics shown(console);
    held.passOn(shown);
    EXPECT_EQ(console.str(), "Reading bones from file:a.skm\n"
                             "\tMesh contains 3 bones.\n"
                             " Warning: Variation count != 0.\n"
                             "Importing Skeleton Failed!\tWarning: frame time 0.125\n"
                             "\nError: disk full\n");
    ASSERT_EQ(held.entries().size(), 7U);
    EXPECT_EQ(held.entries()[3],
              (Diagnostic{Severity::error, "no SKA file a.ska beside it", Placement::unshown}));
}

} // namespace
