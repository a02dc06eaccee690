#pragma once
// The main view's neighbours that live in other parts of the program: the current setup
// record, the frame's state of a loaded or live recording and its floating windows, the charts
// and the data files. The view calls through here; until a part installs itself these keep
// plain values and do nothing.

#include <string>
#include <vector>

#include "link/instr_status.h"
#include "platform/win_types.h"

class CKX9MonitorView;

// How the view sets up its 3-D chart (CChart3d).
struct Chart3DSetup {
    std::string title;
    std::string xTitle = "X";
    std::string yTitle = "Y";
    int gridX = 5;
    int gridY = 2;
    int style = 0;
    double geometry[6] = {0, 30, 0, 140, 0, 100};
    double valueFrom = -30;
    double valueTo = 30;
};

class ViewServices {
public:
    virtual ~ViewServices() = default;

    // --- the current setup record (CKX9MonitorApp::m_InstrStatus)
    virtual CInstrStatus& CurrentSetup() { return m_currentSetup; }

    // --- the frame's state
    virtual void SetCrossReference(BOOL /*on*/) {}
    // Clears the state word that the frame's menu update handler tests.
    virtual void ClearMenuState() {}
    virtual int SelectedSegment() const { return m_selectedSegment; }
    virtual void SetSelectedSegment(int segment) { m_selectedSegment = segment; }
    virtual int SelectedRecord() const { return m_selectedRecord; }
    virtual void SetSelectedRecord(int record) { m_selectedRecord = record; }
    virtual int SelectedPage() const { return 0; }
    virtual int RecordsPerPage() const { return 0; }
    // The frame's date-time switch: full time stamps in the lists' time column.
    virtual bool AbsoluteTimes() const { return false; }
    // CMainFrame::FormatSampleTime for a data-list row in scheduler mode.
    virtual std::string FormatSampleTime(int /*row*/) { return std::string(); }
    // One level text per band, for the equal-loudness row.
    virtual std::vector<std::string> EqualLoudnessLevels() const { return {}; }
    // The status text of a stored spectrum record (kinds 2 and 3).
    virtual std::string RecordStatusText(int /*kind*/, int /*row*/) const { return {}; }
    // The frame's copy of the recording's stored setup (500 bytes).
    virtual std::string SetupBlock() const { return std::string(); }
    // A recording is being loaded (either of the data-file reader's two loading flags).
    virtual bool LoadingRecording() const { return false; }
    // The schedule's repetition and acquisition times, in days.
    virtual double ScheduleRepeatDays() const { return 0; }
    virtual double ScheduleAcquisitionDays() const { return 0; }

    // --- the frame's floating windows
    virtual void ShowNavigator(bool /*show*/) {}
    // Shows the graph legend again when it was created.
    virtual void ShowGraphLegend() {}
    virtual void HideDemoWindows() {}
    // Creates the audio-label window, or refreshes it and shows it as the label flag says.
    virtual void UpdateAudioLabelWindow() {}

    // --- data files: loads pages of a data file into the data buffer
    virtual void OpenDataFile(const std::string& /*path*/, int /*firstPage*/, int /*lastPage*/) {}

    // --- charts
    // Default initialisation of a band chart (1482 or 1604) with its tooltips, empty title,
    // layout and settings; FALSE when it fails.
    virtual BOOL InitBandChart(CKX9MonitorView& /*view*/, int /*id*/) { return TRUE; }
    virtual void Init3DChart(const Chart3DSetup& /*setup*/) {}
    // The spectrum graph routine: lines "band\tlevel\r\n" of one report row.
    virtual void ShowSpectrumGraph(const std::string& /*text*/) {}
    // Redraws the graph windows for the frame's selected record.
    virtual void RefreshGraphWindows() {}

private:
    CInstrStatus m_currentSetup;
    int m_selectedSegment = -1;
    int m_selectedRecord = -1;
};
