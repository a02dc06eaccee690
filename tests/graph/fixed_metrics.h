#pragma once
// Screen measures that do not depend on the machine: 96 pixels per inch, every character 7
// pixels wide, lines 16 pixels high.

#include <string_view>

#include "graph/graph_metrics.h"

namespace graphtest {

class FixedMetrics : public graph::GraphMetrics {
public:
    static constexpr int kCharWidth = 7;
    static constexpr int kLineHeight = 16;

    int PixelsPerInchX() const override { return 96; }
    int PixelsPerInchY() const override { return 96; }
    int TextWidth(std::string_view text, int) const override {
        return kCharWidth * static_cast<int>(text.size());
    }
    int TextHeight(int) const override { return kLineHeight; }
};

}  // namespace graphtest
