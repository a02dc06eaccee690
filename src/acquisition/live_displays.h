#pragma once
// The displays that follow a live recording as its records arrive: the live graph of levels
// and profile samples, and the live band chart of a spectrum.

#include <string>
#include <vector>

namespace acquisition {

class LiveDisplays {
public:
    virtual ~LiveDisplays() = default;

    // The level texts of level record `record` into the live graph.
    virtual void AddLiveRecord(int record, const std::vector<std::string>& levels) = 0;
    // One profile sample into the live graph.
    virtual void AddLiveGraphPoint(int sample, const std::string& level) = 0;
    // Whether the live band chart is on screen, and a record's band lines (from the first one
    // on) shown in it.
    virtual bool ShowsLiveSpectrum() const = 0;
    virtual void RearrangeGraphWindows(const std::string& reply) = 0;
    // A page ended: the band chart emptied and the live graph drawn again.
    virtual void ClearLiveChart() = 0;
    virtual void RepaintLiveGraph() = 0;
};

}  // namespace acquisition
