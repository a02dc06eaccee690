#pragma once
// The calibration-expiry dialog: on creation it reads the instrument under test and looks up
// its new values, then shows the fields as they are in the meter and as they will be; applying
// writes them and records the change. Its result string tells the frame how it ended: "OK"
// once the meter was written, "-1" when the reading failed or the operator cancelled.
//
// The window is modeless. The operator is asked through the operator seam once the reading is
// done: on screen the window's buttons answer later; a script answers at once (IDOK applies,
// IDCANCEL cancels).

#include <string>

#include "maintenance/calib_expiry_update.h"
#include "platform/operator.h"
#include "platform/win_types.h"
#include "ui/modeless_window.h"

class CFonoConfigDlg : public platform::ModalDialog, public ui::ModelessWindow {
public:
    static constexpr int IDD = 420;
    // RunOnScreen's answer: the window is shown and its buttons answer.
    static constexpr int kAnswerOnWindow = 0;
    static constexpr const char* kFieldTableName = "fields";

    explicit CFonoConfigDlg(const maintenance::CalibExpiryUpdate::Uses& uses);
    ~CFonoConfigDlg() override;

    std::string DialogName() const override { return "CFonoConfigDlg"; }
    int RunOnScreen() override;

    // Builds and shows the window, reads the meter and asks the operator.
    BOOL Create();

    // "Applica": writes the meter, records the change, sets "OK" and closes; a failure is
    // shown, sets "-1" and closes.
    void OnApply();
    // "Annulla" and the close box: closes the port of the instrument under test, sets "-1"
    // and closes.
    void OnCancel();

    const maintenance::CalibExpiryUpdate& Update() const { return m_update; }

    std::string m_strResult;

private:
    ui::HookedDialog::Hooks WindowHooks() override;
    void BuildWindow(QDialog& dialog) override;
    void ShowFields();
    // Records the change on the server; false, logged, when the server did not take it.
    bool Record();
    // For a box after a recorded change: that its journal could not go, and why; else empty.
    std::string JournalKeptText() const;
    void Close(const std::string& result);

    // Where the failed server record is logged, and the port a cancel closes.
    InstrLog& m_log;
    LinkSession& m_link;
    maintenance::CalibExpiryUpdate m_update;
};
