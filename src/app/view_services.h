#pragma once
// The main view's neighbours that live in other parts of the program: the current setup
// record, the frame's state of a loaded or live recording and its floating windows, the graph
// windows of loaded data and the data files. The view calls through here; until a part
// installs itself these keep plain values and do nothing.

#include <string>

#include "link/instr_status.h"
#include "platform/win_types.h"

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
    virtual void HideDemoWindows() {}
    // Creates the audio-label window, or refreshes it and shows it as the label flag says.
    virtual void UpdateAudioLabelWindow() {}

    // --- data files: loads pages of a data file into the data buffer
    virtual void OpenDataFile(const std::string& /*path*/, int /*firstPage*/, int /*lastPage*/) {}

    // --- the graph windows of loaded data
    // The spectrum graph routine: lines "band\tlevel\r\n" of one report row.
    virtual void ShowSpectrumGraph(const std::string& /*text*/) {}
    // Redraws the graph windows for the frame's selected record.
    virtual void RefreshGraphWindows() {}

private:
    CInstrStatus m_currentSetup;
    int m_selectedSegment = -1;
    int m_selectedRecord = -1;
};
