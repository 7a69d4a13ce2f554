#pragma once

#include <iosfwd>
#include <string>
#include <vector>

class MyApplication;
class TimingLog;
struct ViewerOptions;

// The command line's --screenshot on a started application: the first mesh into the file the
// options name, or, when that names a folder, every mesh into <mesh>.png there. Each mesh is
// posed as the options say and framed. Returns the exit status: 1 when any mesh could not be
// shown, posed or written (each named by one line on `errors`; the others are still written).
int writeScreenshots(MyApplication& application, const ViewerOptions& options,
                     const std::vector<std::string>& meshNames, TimingLog& timingLog,
                     std::ostream& errors);
