#pragma once
// The lost-data notice (dialog 382): tells the operator, without stopping the recording, that
// the record stream had a gap. It is made on the first loss, OK hides it, and every further
// loss shows the same window again.

#include "ui/modeless_window.h"

namespace acquisition {

class CLooseDataDlg : public ui::ModelessWindow {
public:
    static constexpr int IDD = 382;

    // A loss was found: the window made when missing, and shown.
    void ShowLoss();

private:
    void BuildWindow(QDialog& dialog) override;
};

}  // namespace acquisition
