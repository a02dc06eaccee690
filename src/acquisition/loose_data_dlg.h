#pragma once
// The lost-data notice (dialog 382): tells the operator, without stopping the recording, that
// the record stream had a gap. It is made on the first loss, OK hides it, and every further
// loss shows the same window again.

#include <memory>

class QDialog;
class QWidget;
namespace ui {
class HookedDialog;
}

namespace acquisition {

class CLooseDataDlg {
public:
    static constexpr int IDD = 382;

    CLooseDataDlg();
    ~CLooseDataDlg();
    CLooseDataDlg(const CLooseDataDlg&) = delete;
    CLooseDataDlg& operator=(const CLooseDataDlg&) = delete;

    // Builds the window (hidden); true also when it exists already.
    bool Create(QWidget* parent = nullptr);
    bool HasWindow() const { return m_window != nullptr; }
    void ShowWindow(bool show);
    bool IsWindowVisible() const;
    QDialog* Window() const;

    // A loss was found: the window made when missing, and shown.
    void ShowLoss();

private:
    std::unique_ptr<ui::HookedDialog> m_window;
};

}  // namespace acquisition
