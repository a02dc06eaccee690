#pragma once
// What a graph needs of the application: the time texts that label the horizontal ruler,
// which are the first column of the list that shows the graph's recording.

#include <string>

namespace graph {

class GraphHost {
public:
    virtual ~GraphHost() = default;
    // Column 0 of that row of the list in use (the live report list while the last segment is
    // shown, else the data list); empty for a row the list does not have.
    virtual std::string TimeLabel(int row) = 0;
};

}  // namespace graph
