#pragma once
// What the live record processors need of the application, served by the frame: the current
// setup, the main view's report list and live displays, the lost-data notice and the
// frame's messages.

#include "acquisition/live_recorder_host.h"

class CMainFrame;

class FrameLiveRecorderHost : public acquisition::LiveRecorderHost {
public:
    explicit FrameLiveRecorderHost(CMainFrame& frame) : m_frame(frame) {}

    acquisition::LiveSetup Setup() const override;
    std::string RecordFolder() const override;

    int ReportRowCount() const override;
    void InsertReportRow(int row, const std::string& time) override;
    void SetReportText(int row, int column, const std::string& text) override;
    bool FollowsLastRow() const override;
    void SetFollowsLastRow() override;
    void ShowReportRow(int row) override;
    void InsertEmptyReportRows(int count) override;
    void StartReportTrim() override;

    void AddLiveRecord(int record, const std::vector<std::string>& levels) override;
    void AddLiveGraphPoint(int sample, const std::string& level) override;
    bool ShowsLiveSpectrum() const override;
    void RearrangeGraphWindows(const std::string& reply) override;
    void ClearLiveChart() override;
    void RepaintLiveGraph() override;
    bool HasLiveSpectrumWindow() const override;
    void HideLiveSpectrumWindow() override;
    void AddLiveSpectrum(std::span<const std::uint16_t> bands) override;
    void ClearLiveSpectrum() override;

    void ShowDataLoss() override;
    void LogScheduler(const std::string& text) override;
    void Warn(const std::string& text) override;

private:
    CMainFrame& m_frame;
};
