#pragma once
// Copying chosen pages of a recording into a new data file. A single page file is saved as a
// page file of the chosen pages; an index with its page files is saved as one zip archive that
// holds the chosen page files, the scheduler log of a scheduled recording and a new index under
// the target's own name. Nothing shows anything here: the result tells what the operator is to
// see.
//
// The target is written beside its name and renamed over it once whole, so a failed save leaves
// whatever was there before, and saving a recording onto itself reads every byte before the
// rename. Page lengths and offsets come from the recording's own setup block.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace acquisition {

// One page as the view's page list shows it: its name ("PAGE 3", or "CURR PAGE" for the page
// being recorded) and its start time.
struct PageListItem {
    std::string name;
    std::string date;
};

// The page list's rows taken two at a time (name, then start time). While live monitoring runs
// the page being recorded and what follows it are not offered.
std::vector<PageListItem> OfferedPages(const std::vector<std::string>& rows, bool monitoring);

// The page an item names among `itemCount` items: "CURR" the last one, "PAGE n" page n; nothing
// for any other name or a negative number.
std::optional<int> ChosenPage(std::string_view name, int itemCount);

// The target as it is saved: ".kr9" added when the typed name does not end in it.
std::string SaveTargetPath(std::string_view typed);

// "<path without its extension>_LogScheduler.txt".
std::string SchedulerLogPath(std::string_view dataPath);

struct PageSaveResult {
    bool saved = false;
    // What the operator is told when nothing was saved.
    std::string failure;
    // A scheduled single file's log, saved beside the target under this name.
    std::string schedulerLog;
};

// `source` is the current recording, a single page file or an index, readable as a data set.
// The pages are written in the recording's order, each once.
PageSaveResult SaveSelectedPages(const std::string& source, const std::string& target,
                                 std::vector<int> pages);

}  // namespace acquisition
