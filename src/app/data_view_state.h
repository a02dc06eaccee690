#pragma once
// What the main view sets on the data-view commands when it is first shown: the cross-reference
// switch and the display-mode word, which the menu's update handlers test. The data-view
// commands (CFrameDataViewCommands) keep them; the view knows no more of those commands.

#include "platform/win_types.h"

class DataViewState {
public:
    virtual ~DataViewState() = default;

    virtual void SetCrossReference(BOOL on) = 0;
    virtual void SetDisplayMode(int mode) = 0;
};
