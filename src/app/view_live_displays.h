#pragma once
// The main view's live graph and live band chart as the live recorder feeds them: the
// application's current view's, while one exists; nothing otherwise.

#include "acquisition/live_displays.h"

class ViewLookup;

class ViewLiveDisplays : public acquisition::LiveDisplays {
public:
    explicit ViewLiveDisplays(const ViewLookup& views) : m_views(views) {}

    void AddLiveRecord(int record, const std::vector<std::string>& levels) override;
    void AddLiveGraphPoint(int sample, const std::string& level) override;
    bool ShowsLiveSpectrum() const override;
    void RearrangeGraphWindows(const std::string& reply) override;
    void ClearLiveChart() override;
    void RepaintLiveGraph() override;

private:
    const ViewLookup& m_views;
};
