#include "app/dialogs/notice_dlgs.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt_text.h"
#include "ui/posted_click.h"
#include "ui/program_images.h"

namespace {
constexpr const char* kProgramCaption = "KX9 Monitor";

QLabel* AddText(QDialog& dialog, QBoxLayout& layout, int id, const char* text) {
    auto* label = new QLabel(platform::ToQt(text), &dialog);
    label->setObjectName(id ? QString::number(id) : QStringLiteral("text"));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setMinimumSize(280, 40);
    layout.addWidget(label);
    return label;
}

void AddOk(QDialog& dialog, QBoxLayout& layout) {
    auto* ok = new QPushButton("OK", &dialog);
    ok->setObjectName(QString::number(IDOK));
    ok->setDefault(true);
    ui::OnClickedLater(ok, &dialog, [&dialog] { dialog.accept(); });
    layout.addWidget(ok, 0, Qt::AlignHCenter);
}

QLabel* AddPicture(QDialog& dialog, QBoxLayout& layout, int id, int iconId) {
    auto* picture = new QLabel(&dialog);
    picture->setObjectName(id ? QString::number(id) : QStringLiteral("picture"));
    picture->setPixmap(ui::ProgramIcon(iconId).pixmap(32, 32));
    picture->setAlignment(Qt::AlignCenter);
    layout.addWidget(picture);
    return picture;
}
}  // namespace

CBattWarningDlg::CBattWarningDlg() : ModelessDialog(IDD, "QS4060KRTN_VP") {}

void CBattWarningDlg::BuildControls(QDialog& dialog) {
    auto* layout = new QVBoxLayout(&dialog);
    AddText(dialog, *layout, IDC_TEXT, "Low battery detected, advised substitution");
    AddOk(dialog, *layout);
}

CErrMsgDlg::CErrMsgDlg() : ModelessDialog(IDD, kProgramCaption) {}

void CErrMsgDlg::OnShowWindow(BOOL show, unsigned) {
    if (show)
        SetDlgItemText(IDC_TEXT, m_strText);
}

void CErrMsgDlg::BuildControls(QDialog& dialog) {
    auto* layout = new QVBoxLayout(&dialog);
    AddText(dialog, *layout, IDC_TEXT, "");
    AddOk(dialog, *layout);
}

CExportToExcelDlg::CExportToExcelDlg() : ModelessDialog(IDD, kProgramCaption) {}

void CExportToExcelDlg::BuildControls(QDialog& dialog) {
    auto* layout = new QVBoxLayout(&dialog);
    AddText(dialog, *layout, IDC_TEXT, "Wait... exporting to Excel");
}

CSplashScreenDlg::CSplashScreenDlg()
    : ModelessDialog(IDD, kProgramCaption), m_timers([this](int id) { OnTimer(id); }) {}

CSplashScreenDlg::~CSplashScreenDlg() {
    m_timers.KillAll();
}

void CSplashScreenDlg::OnInitDialog() {
    m_timers.Set(kTimerId, kShowMs);
}

void CSplashScreenDlg::OnTimer(int id) {
    if (id != kTimerId)
        return;
    m_timers.Kill(kTimerId);
    ShowWindow(false);
    DestroyWindow();
}

void CSplashScreenDlg::BuildControls(QDialog& dialog) {
    dialog.setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    auto* layout = new QVBoxLayout(&dialog);
    AddPicture(dialog, *layout, 0, ui::IDR_MAINFRAME);
    AddText(dialog, *layout, 0, "KX9 Monitor");
}

CViewSchedLoggingDlg::CViewSchedLoggingDlg() : ModelessDialog(IDD, "QS4060KRTN_VP") {}

void CViewSchedLoggingDlg::BuildControls(QDialog& dialog) {
    auto* layout = new QVBoxLayout(&dialog);
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QString::number(IDC_LIST));
    list->setMinimumSize(320, 100);
    layout->addWidget(list);
    for (const char* line : {"1- Impostare controlli volume di windows al massimo.",
                             "2- Premere OK dopo aver eseguito."}) {
        auto* label = new QLabel(platform::ToQt(line), &dialog);
        layout->addWidget(label);
    }
    AddOk(dialog, *layout);
}

CWaitExportingToExcelDlg::CWaitExportingToExcelDlg() : ModelessDialog(IDD, kProgramCaption) {}

void CWaitExportingToExcelDlg::OnShowWindow(BOOL show, unsigned) {
    if (!show)
        return;
    ShowItem(IDC_PICTURE_CLEAR, !m_bFlag);
    ShowItem(IDC_PICTURE_SET, m_bFlag != 0);
    SetDlgItemText(IDC_TEXT, m_strText);
}

void CWaitExportingToExcelDlg::BuildControls(QDialog& dialog) {
    auto* layout = new QVBoxLayout(&dialog);
    AddText(dialog, *layout, IDC_PICTURE_CLEAR, "Exporting operation could take some minutes: ");
    AddText(dialog, *layout, IDC_PICTURE_SET, "please wait....");
    AddText(dialog, *layout, IDC_TEXT, "");
}

CWaitInstrRebootDlg::CWaitInstrRebootDlg() : ModelessDialog(IDD, kProgramCaption) {}

void CWaitInstrRebootDlg::BuildControls(QDialog& dialog) {
    auto* layout = new QVBoxLayout(&dialog);
    AddText(dialog, *layout, IDC_TEXT, "Instrument reboot... please wait 10 sec");
}

CWaitElabInfoDlg::CWaitElabInfoDlg() : ModelessDialog(IDD, kProgramCaption) {}

void CWaitElabInfoDlg::BuildControls(QDialog& dialog) {
    auto* layout = new QVBoxLayout(&dialog);
    AddText(dialog, *layout, 0, "Processing info...please wait");
}
