#pragma once
// The handbook viewer: the program's HTML handbook, "Manuale.html" in the program folder, in a
// text browser. A handbook that is missing is said so in a box; the viewer never opens empty.

#include <QDialog>
#include <memory>
#include <string>

#include "platform/operator.h"

namespace ui {

class CHandBookDlg : public platform::ModalDialog {
public:
    static constexpr int IDD = 259;
    static constexpr int IDC_BROWSER = 1348;
    static constexpr const char* kHandbookFile = "Manuale.html";

    explicit CHandBookDlg(std::string programFolder) : m_strFolder(std::move(programFolder)) {}

    std::string DialogName() const override { return "CHandBookDlg"; }
    int RunOnScreen() override;

    std::string HandbookPath() const;
    // The viewer through the operator when the handbook is there; else the box.
    int Show();
    // The window at the handbook, built and not shown.
    std::unique_ptr<QDialog> BuildWindow() const;

private:
    std::string m_strFolder;
};

}  // namespace ui
