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
#include "support/test_env.h"

namespace viewtest {

class RecordingViewServices : public ViewServices {
public:
    CInstrStatus& CurrentSetup() override { return setup; }
    void SetCrossReference(BOOL on) override { crossReference = on; }
    void ClearMenuState() override { calls.push_back("ClearMenuState"); }
    int SelectedPage() const override { return page; }
    int RecordsPerPage() const override { return recordsPerPage; }
    bool AbsoluteTimes() const override { return absoluteTimes; }
    std::string FormatSampleTime(int row) override { return "sample " + std::to_string(row); }
    std::string RecordStatusText(int kind, int row) const override {
        return "status " + std::to_string(kind) + "/" + std::to_string(row);
    }
    std::string SetupBlock() const override { return block; }
    bool LoadingRecording() const override { return loading; }
    double ScheduleRepeatDays() const override { return repeatDays; }
    double ScheduleAcquisitionDays() const override { return acquisitionDays; }
    void ShowNavigator(bool show) override { navigator = show; }
    void HideDemoWindows() override { calls.push_back("HideDemoWindows"); }
    void UpdateAudioLabelWindow() override { calls.push_back("UpdateAudioLabelWindow"); }
    void OpenDataFile(const std::string& path, int first, int last) override {
        opened.emplace_back(path, first, last);
    }
    void ShowSpectrumGraph(const std::string& text) override { spectra.push_back(text); }
    void RefreshGraphWindows() override { calls.push_back("RefreshGraphWindows"); }

    CInstrStatus setup;
    BOOL crossReference = FALSE;
    int page = 0;
    int recordsPerPage = 0;
    bool absoluteTimes = false;
    std::string block;
    bool loading = false;
    double repeatDays = 0;
    double acquisitionDays = 0;
    bool navigator = false;
    std::vector<std::string> calls;
    std::vector<std::tuple<std::string, int, int>> opened;
    std::vector<std::string> spectra;
};

class ViewTest : public ::testing::Test {
protected:
    ViewTest() {
        app.m_strProgramDir = folder.Path();
        view.SetServices(&services);
    }
    ~ViewTest() override { view.SetServices(nullptr); }

    bool GraphShown(ViewGraph which) const {
        const graph::CGraphWnd* graph = view.GraphWindow(which);
        return graph && graph->IsWindowVisible();
    }

    testenv::ScratchFolder folder;
    testenv::TestOperator op;
    CKX9MonitorApp app;
    CMainFrame frame;
    RecordingViewServices services;
    CKX9MonitorView view;
};

}  // namespace viewtest
