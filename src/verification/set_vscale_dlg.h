#pragma once
// The manual reading window: the operator reads the instrument under test's display and types
// up to three channel values (and ticks the overload box in the overload test). The object
// keeps the fields; its window, while there is one, shows them.

#include <array>
#include <memory>
#include <string>

#include "platform/win_types.h"
#include "ui/modeless_window.h"

class CSet_VScale_Dlg : public ui::ModelessWindow {
public:
    static constexpr int IDD = 297;
    static constexpr int IDC_OVERLOAD = 1788;
    static constexpr std::array<int, 3> IDC_VALUES = {1433, 1432, 1434};
    static constexpr std::array<int, 3> IDC_LABELS = {1610, 1611, 1612};
    // Values outside this range are no reading of a sound level meter.
    static constexpr double kLowestValue = 1.0;
    static constexpr double kHighestValue = 200.0;

    CSet_VScale_Dlg();
    ~CSet_VScale_Dlg() override;

    // Channel labels; an empty one is a channel the test does not read.
    std::array<std::string, 3> m_strLabels;
    int m_bOverload = 0;
    std::array<std::string, 3> m_strValues;

    void ShowOverloadBox(bool show);
    bool IsOverloadBoxShown() const { return m_overloadShown; }

    // What the operator does: types a value, ticks the box, presses OK or Cancel.
    void SetValueText(int channel, const std::string& text);
    void SetOverload(bool ticked);
    // OK: accepted and hidden when every labelled channel holds a number from 1 to 200;
    // otherwise a box names the first channel that does not, and the window stays.
    void OnOK();
    void OnCancel();
    // Whether the last showing ended with accepted values.
    bool Accepted() const { return m_accepted; }

private:
    ui::HookedDialog::Hooks WindowHooks() override;
    void BuildWindow(QDialog& dialog) override;
    // The window shows up: empty fields, the labels, the unread channels disabled.
    void OnShow();
    void Sync();

    bool m_overloadShown = false;
    bool m_accepted = false;
};
