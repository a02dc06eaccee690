#pragma once
// A dialog the program keeps as an object while its window comes and goes: created on demand,
// shown, hidden and destroyed by its owner, as the frame does with its boxes. The object holds
// the state of every control (by control id), so that the program's logic and the tests work
// without a window; the window, when there is one, shows that state.

#include <QDialog>
#include <map>
#include <optional>
#include <string>

#include "platform/win_types.h"
#include "ui/modeless_window.h"
#include "ui/progress_model.h"

namespace dialogs {

class ModelessDialog : public ui::ModelessWindow {
public:
    ModelessDialog(int templateId, std::string caption);

    int TemplateId() const { return m_templateId; }

    // Repaints the window at once.
    void UpdateWindow();
    // What ends a modeless dialog: its window is hidden, not destroyed.
    void EndDialog(int result);

    void SetWindowText(const std::string& text);
    const std::string& GetWindowText() const { return m_caption; }

    // Controls by id (their object names are the ids); texts are program text (Latin-1).
    void SetDlgItemText(int id, const std::string& text);
    std::string GetDlgItemText(int id) const;
    void ShowItem(int id, bool show);
    bool IsItemVisible(int id) const;
    void EnableItem(int id, bool enable);
    bool IsItemEnabled(int id) const;
    void CheckItem(int id, bool check);
    bool IsItemChecked(int id) const;
    // The same for a control that has a name instead of an id.
    void ShowItem(const std::string& name, bool show);
    bool IsItemVisible(const std::string& name) const;
    void EnableItem(const std::string& name, bool enable);
    bool IsItemEnabled(const std::string& name) const;

    // Progress bars.
    void SetProgressRange(int id, int lower, int upper);
    void SetProgressPos(int id, int pos);
    void SetProgressStep(int id, int step);
    // Returns the position before the step.
    int StepProgress(int id);
    int GetProgressPos(int id) const;

    // WM_SHOWWINDOW: the window shows up (or goes).
    virtual void OnShowWindow(BOOL show, unsigned status);

protected:
    // Lays out the controls, each with its id as object name.
    virtual void BuildControls(QDialog& dialog) = 0;
    // Runs once the window exists (WM_INITDIALOG).
    virtual void OnInitDialog() {}
    // The close box; FALSE leaves the window open. By default the box cancels.
    virtual bool OnClose() { return true; }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    virtual void OnOK() { EndDialog(IDOK); }

    // Pushes the state of every control into the window.
    void SyncControls();

private:
    ui::HookedDialog::Hooks WindowHooks() override;
    void BuildWindow(QDialog& window) override;

    struct Item {
        std::optional<std::string> text;
        std::optional<bool> visible;
        bool enabled = true;
        bool checked = false;
        std::optional<ui::ProgressModel> progress;
    };
    Item& At(const std::string& name) { return m_items[name]; }
    const Item* Find(const std::string& name) const;
    void SyncItem(const std::string& name, const Item& item);

    int m_templateId;
    std::string m_caption;
    std::map<std::string, Item> m_items;
};

// "\r\n" and lone "\r" or "\n" as line breaks, Latin-1 to Unicode.
QString ToDisplayText(const std::string& text);

}  // namespace dialogs
