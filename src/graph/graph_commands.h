#pragma once
// The command ids of a graph's context menu (kFirstGraphCommand to kLastGraphCommand). The
// three fit commands are FitCommand's (view_range.h).

#include "graph/view_range.h"

namespace graph {

enum GraphCommand : int {
    kPointMarksCommand = 4097,
    kLinesOffCommand = 4098,  // no menu item
    kReadoutCommand = 4099,   // no menu item
    kAxisCommand = 4100,
    kZoomToolCommand = 4101,
    kZoomInCommand = 4102,
    kZoomOutCommand = 4103,
    kPointListCommand = 4107,  // the frame's "Points"
    kPropertiesCommand = 4108,
    kMarkerACommand = 4109,
    kMarkerBCommand = 4110,
    kClearMarkersCommand = 4111,
    kStatusLastCommand = 4112,
    kInsertLabelCommand = 4113,
    kClearLabelsCommand = 4114,
};

}  // namespace graph
