#pragma once
// The small notice and wait boxes of the frame, the application and the main view. Their
// templates carry the texts; a few add a line of behaviour.

#include <string>

#include "app/dialogs/modeless_dialog.h"
#include "platform/window_timers.h"

// Shown by the verification bench on a low battery reading.
class CBattWarningDlg : public dialogs::ModelessDialog {
public:
    static constexpr int IDD = 305;
    static constexpr int IDC_TEXT = 1701;
    CBattWarningDlg();

protected:
    void BuildControls(QDialog& dialog) override;
};

// Shows the text it was given each time it becomes visible.
class CErrMsgDlg : public dialogs::ModelessDialog {
public:
    static constexpr int IDD = 265;
    static constexpr int IDC_TEXT = 1354;
    CErrMsgDlg();
    void OnShowWindow(BOOL show, unsigned status) override;

    std::string m_strText;

protected:
    void BuildControls(QDialog& dialog) override;
};

class CExportToExcelDlg : public dialogs::ModelessDialog {
public:
    static constexpr int IDD = 355;
    static constexpr int IDC_TEXT = 1527;
    CExportToExcelDlg();

protected:
    void BuildControls(QDialog& dialog) override;
};

// Goes by itself 1500 ms after its window is created.
class CSplashScreenDlg : public dialogs::ModelessDialog {
public:
    static constexpr int IDD = 230;
    static constexpr int kTimerId = 5;
    static constexpr unsigned kShowMs = 1500;
    CSplashScreenDlg();
    ~CSplashScreenDlg() override;
    void OnTimer(int id);

protected:
    void BuildControls(QDialog& dialog) override;
    void OnInitDialog() override;
    void OnDestroy() override { m_timers.KillAll(); }

private:
    platform::WindowTimers m_timers;
};

class CViewSchedLoggingDlg : public dialogs::ModelessDialog {
public:
    static constexpr int IDD = 377;
    static constexpr int IDC_LIST = 1443;
    CViewSchedLoggingDlg();

    std::string m_strText;
    int m_bFlag = 1;

protected:
    void BuildControls(QDialog& dialog) override;
};

// Shows one of its two pictures by its flag, then its text.
class CWaitExportingToExcelDlg : public dialogs::ModelessDialog {
public:
    static constexpr int IDD = 266;
    static constexpr int IDC_TEXT = 1701;
    static constexpr int IDC_PICTURE_CLEAR = 1702;
    static constexpr int IDC_PICTURE_SET = 1703;
    CWaitExportingToExcelDlg();
    void OnShowWindow(BOOL show, unsigned status) override;

    int m_bFlag = 0;
    std::string m_strText;

protected:
    void BuildControls(QDialog& dialog) override;
};

class CWaitInstrRebootDlg : public dialogs::ModelessDialog {
public:
    static constexpr int IDD = 280;
    static constexpr int IDC_TEXT = 1460;
    CWaitInstrRebootDlg();

protected:
    void BuildControls(QDialog& dialog) override;
};

class CWaitElabInfoDlg : public dialogs::ModelessDialog {
public:
    static constexpr int IDD = 247;
    CWaitElabInfoDlg();

protected:
    void BuildControls(QDialog& dialog) override;
};
