#pragma once
// The About box, run modally through the operator.

#include <QDialog>
#include <memory>
#include <string>

#include "platform/operator.h"

class CAboutDlg : public platform::ModalDialog {
public:
    static constexpr int IDD = 100;

    std::string DialogName() const override { return "CAboutDlg"; }
    int RunOnScreen() override;
    // The window, built and not shown.
    static std::unique_ptr<QDialog> BuildWindow();
};
