#pragma once
// A main view with its frame and application, whose neighbours record what the view asked of
// them.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "support/record_kinds.h"
#include "support/test_env.h"

namespace viewtest {

using testkinds::kOctave;
using testkinds::kProfile;
using testkinds::kSoundLevelMeter;
using testkinds::kThirdOctave;

class ViewTest : public ::testing::Test {
protected:
    ViewTest() { app.m_strProgramDir = folder.Path(); }

    bool GraphShown(ViewGraph which) const {
        const graph::CGraphWnd* graph = view.GraphWindow(which);
        return graph && graph->IsWindowVisible();
    }

    testenv::ScratchFolder folder;
    testenv::TestOperator op;
    CKX9MonitorApp app;
    CMainFrame frame;
    CKX9MonitorView view{&frame.ViewUses()};
};

}  // namespace viewtest
