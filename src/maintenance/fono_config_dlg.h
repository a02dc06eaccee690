#pragma once
// The calibration-expiry dialog: on creation it reads the instrument under test and looks up
// its new values, then shows the fields as they are in the meter and as they will be; applying
// writes them and records the change. Its result string tells the frame how it ended: "OK"
// once the meter was written, "-1" when the reading failed or the operator cancelled.
//
// The window is modeless. The operator is asked through the operator seam once the reading is
// done: on screen the window's buttons answer later; a script answers at once (IDOK applies,
// IDCANCEL cancels).

class QWidget;
#include <memory>
#include <string>

#include "maintenance/calib_expiry_update.h"
#include "platform/operator.h"
#include "platform/win_types.h"

namespace ui {
class HookedDialog;
}

class CFonoConfigDlg : public platform::ModalDialog {
public:
    static constexpr int IDD = 420;
    // RunOnScreen's answer: the window is shown and its buttons answer.
    static constexpr int kAnswerOnWindow = 0;
    static constexpr const char* kFieldTableName = "fields";

    explicit CFonoConfigDlg(maintenance::CalibExpiryHost& host);
    ~CFonoConfigDlg() override;

    std::string DialogName() const override { return "CFonoConfigDlg"; }
    int RunOnScreen() override;

    // Builds and shows the window, reads the meter and asks the operator.
    BOOL Create();
    BOOL DestroyWindow();
    bool HasWindow() const { return m_window != nullptr; }
    void ShowWindow(bool show);
    QWidget* Window() const;

    // "Applica": writes the meter, records the change, sets "OK" and closes; a failure is
    // shown, sets "-1" and closes.
    void OnApply();
    // "Annulla" and the close box: closes the port of the instrument under test, sets "-1"
    // and closes.
    void OnCancel();

    const maintenance::CalibExpiryUpdate& Update() const { return m_update; }

    std::string m_strResult;

private:
    void BuildWindow();
    void ShowFields();
    // Records the change on the server; false, logged, when the server did not take it.
    bool Record();
    void Close(const std::string& result);

    maintenance::CalibExpiryHost& m_host;
    maintenance::CalibExpiryUpdate m_update;
    std::unique_ptr<ui::HookedDialog> m_window;
};
