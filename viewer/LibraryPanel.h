#pragma once

#include "LibraryFilter.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class MyFrameListener;
class TimingLog;
namespace CEGUI {
class Editbox;
class EventArgs;
class Listbox;
class Window;
} // namespace CEGUI

// The filter box, the count beside it and the list of the library's models that the filter
// leaves: typing narrows the list, Enter shows the first match, a click shows that model, and N
// and P (or Ctrl+Down and Ctrl+Up) show the next and previous match. The list follows the model
// on show. It only turns these events into calls of `showModel` with the model's index in the
// library. Without the list in the layout the panel is off; without the box nothing filters.
// Each change of the filter text is timed in the timing log, up to the list refilled.
class LibraryPanel {
public:
    LibraryPanel(CEGUI::Window& sheet, std::vector<std::string> relativePaths,
                 std::function<void(std::size_t)> showModel, TimingLog& timingLog);

    void bindKeys(MyFrameListener& input);
    // A fresh listing of the library, filtered by the text in the box.
    void relist(std::vector<std::string> relativePaths);
    // Marks the model on show in the list and scrolls it into view.
    void modelShown(std::size_t model);

    void showNext();
    void showPrevious();

private:
    bool handleTextChanged(const CEGUI::EventArgs& args);
    bool handleTextAccepted(const CEGUI::EventArgs& args);
    bool handleSelectionChanged(const CEGUI::EventArgs& args);
    void fillList();
    void markShown();
    bool typing() const;
    void show(std::optional<std::size_t> model);

    CEGUI::Editbox* filterBox;
    CEGUI::Window* countText;
    CEGUI::Listbox* modelList;
    std::function<void(std::size_t)> showModel;
    TimingLog& timingLog;
    std::vector<std::string> names;
    LibraryFilter filter;
    std::optional<std::size_t> shown;
    bool marking = false; // the list's selection is being set to the model on show
};
