#pragma once

// Converts one SKM model (with its SKA file and the MDF files it names) into a .skeleton, a
// .mesh and a .material. Returns the exit status: 0 when everything was converted, 1 after
// the usage text, an argument error or any failure, each reported on standard output.
int runConversion(int argc, const char* const* argv);
