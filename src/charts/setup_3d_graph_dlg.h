#pragma once
// "3D Spectrum Properties": the level and spectrum ranges, the rotation and the origin of the
// main view's 3-D chart. Every change goes to the chart at once and has it drawn again. The
// object keeps the fields; its window, while there is one, shows them.

#include <QDialog>
#include <memory>
#include <string>

#include "charts/charts_host.h"
#include "platform/win_types.h"
#include "ui/modeless_window.h"

namespace charts {

class CSetup3DGraphDlg : public ui::ModelessWindow {
public:
    static constexpr int IDD = 347;
    static constexpr int IDC_Y_MAX = 1520;
    static constexpr int IDC_Y_MIN = 1519;
    static constexpr int IDC_Z_MAX = 1521;
    static constexpr int IDC_Z_MIN = 1522;
    static constexpr int IDC_ROTATE_UP = 1525;
    static constexpr int IDC_ROTATE_DOWN = 1021;
    static constexpr int IDC_ORIGIN_LEFT = 1526;
    static constexpr int IDC_ORIGIN_RIGHT = 1022;
    static constexpr int IDC_ORIGIN_UP = 1527;
    static constexpr int IDC_ORIGIN_DOWN = 1023;
    static constexpr int IDC_APPLY = 1528;
    static constexpr int kMaxSpectra = 3000;

    // `spectrumKind`: the record kind of the loaded data ("OCTAVE", "TOCTAVE", ...).
    CSetup3DGraphDlg(ChartsHost& host, const std::string& spectrumKind);
    ~CSetup3DGraphDlg() override;

    // The chart's ranges into the fields, the angles back to -30 and 30.
    void OnInitDialog();
    // Both angles one degree up (+1) or down (-1).
    void OnRotate(int step);
    // The origin: left -1, right +1 (horizontal), up +5, down -5 (vertical).
    void OnMoveOrigin(double horizontal, double vertical);
    // Checks the ranges and gives them to the chart; a wrong range is told in a box.
    void OnApply();

    // The fields, as the operator types them.
    int m_nYMax = 0;
    int m_nYMin = 0;
    int m_nZMax = 0;
    int m_nZMin = 0;
    int FirstAngle() const { return m_nFirstAngle; }
    int SecondAngle() const { return m_nSecondAngle; }

private:
    void BuildWindow(QDialog& dialog) override;
    void Sync();

    ChartsHost& m_host;
    const std::string& m_spectrumKind;
    int m_nFirstAngle = -30;
    int m_nSecondAngle = 30;
};

// The level grid divisions of a range of `levels` dB: steps of 20 dB when they fit it, else of
// 10 dB, else five steps; at least one.
int LevelGridDivisions(int levels);

}  // namespace charts
