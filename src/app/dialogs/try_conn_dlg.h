#pragma once
// The frame's please-wait box: one line that says what the program is doing, shown while the
// web service, the connect routines or the bench work.

#include <string>

#include "app/dialogs/modeless_dialog.h"

class CTryConnDlg : public dialogs::ModelessDialog {
public:
    static constexpr int IDD = 313;
    static constexpr int IDC_TEXT = 1462;

    CTryConnDlg();
    // Keeps the text and shows it at once when the window exists.
    void SetText(const std::string& text);
    void OnShowWindow(BOOL show, unsigned status) override;

    std::string m_strText;

protected:
    void BuildControls(QDialog& dialog) override;
};
