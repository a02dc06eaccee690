// One picture of each dialog: every control lies inside its window, no two overlap, and the
// texts are drawn.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <memory>

#include "app/dialogs/about_dlg.h"
#include "app/dialogs/download_status_dlg.h"
#include "app/dialogs/notice_dlgs.h"
#include "app/dialogs/try_conn_dlg.h"
#include "app/dialogs/view_instr_status_dlg.h"
#include "app/dialogs/wait_get_status_dlg.h"
#include "app/frame_boxes.h"
#include "platform/event_loop.h"
#include "support/test_env.h"

namespace {
bool IsControl(const QWidget* widget) {
    const QString name = widget->objectName();
    bool number = false;
    name.toInt(&number);
    return number || name == "PROF." || name == "text" || name == "picture";
}

// Pixels of `area` that stand out from the window's background: ink.
int Ink(const QImage& picture, const QRect& area, const QColor& background) {
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            ink += std::abs(c.lightness() - background.lightness()) > 80;
        }
    return ink;
}

QImage CheckPicture(QDialog& window, const testenv::ScratchFolder& folder, const char* name) {
    window.show();
    platform::EventLoop::ProcessPending();
    const QImage picture = window.grab().toImage();
    picture.save(QString::fromStdString(folder.File(std::string(name) + ".png")));
    EXPECT_GT(picture.width(), 100) << name;
    EXPECT_GT(picture.height(), 30) << name;
    const QColor background = window.palette().color(QPalette::Window);

    std::vector<QWidget*> controls;
    for (QWidget* child : window.findChildren<QWidget*>())
        if (IsControl(child) && child->isVisibleTo(&window))
            controls.push_back(child);
    EXPECT_FALSE(controls.empty()) << name;
    for (QWidget* control : controls) {
        const std::string where = std::string(name) + " " + control->objectName().toStdString();
        const QRect area(control->mapTo(&window, QPoint(0, 0)), control->size());
        EXPECT_TRUE(window.rect().contains(area)) << where;
        EXPECT_TRUE(area.width() > 4 && area.height() > 4) << where;
        for (QWidget* other : controls)
            if (other != control && other->parentWidget() == control->parentWidget()) {
                EXPECT_FALSE(control->geometry().intersects(other->geometry()))
                    << where << " overlaps " << other->objectName().toStdString();
            }
        const auto* label = qobject_cast<QLabel*>(control);
        const auto* button = qobject_cast<QAbstractButton*>(control);
        if ((label && !label->text().isEmpty()) || (button && !button->text().isEmpty())) {
            EXPECT_GT(Ink(picture, area, background), 10) << where;
        }
    }
    return picture;
}

template <typename Dialog>
QImage Picture(Dialog& dialog, const testenv::ScratchFolder& folder, const char* name) {
    dialog.Create();
    return CheckPicture(*dialog.Window(), folder, name);
}

// How many pixels of a progress bar's row differ from the colour at its right end.
int Filled(const QImage& picture, QWidget& window, int id) {
    auto* bar = window.findChild<QProgressBar*>(QString::number(id));
    const QRect area(bar->mapTo(&window, QPoint(0, 0)), bar->size());
    const int y = area.center().y();
    const QColor empty = picture.pixelColor(area.right() - 3, y);
    int filled = 0;
    for (int x = area.left() + 3; x < area.right() - 3; ++x)
        filled += picture.pixelColor(x, y) != empty;
    return filled * 100 / std::max(1, area.width() - 6);
}
}  // namespace

TEST(DialogPictureTest, EveryDialogLaysOutItsControls) {
    testenv::ScratchFolder folder;
    testenv::TestOperator op;

    CTryConnDlg tryConn;
    tryConn.m_strText = "Connessione con il server in corso..";
    Picture(tryConn, folder, "try_conn");

    CWaitGetStatusDlg setup;
    setup.SetText("Receiving Setup parameters from instrument...\r\nPlease wait.");
    Picture(setup, folder, "wait_get_status");
    setup.DestroyWindow();

    CDownloadStatusDlg download;
    download.SetDlgItemText(CDownloadStatusDlg::IDC_RECORD_NUMBER, "3");
    download.SetDlgItemText(CDownloadStatusDlg::IDC_RECORD_BLOCKS, "120");
    download.SetProgressRange(CDownloadStatusDlg::IDC_PROGRESS, 0, 20);
    download.SetProgressPos(CDownloadStatusDlg::IDC_PROGRESS, 10);
    const QImage downloading = Picture(download, folder, "download_status");
    const int half = Filled(downloading, *download.Window(), CDownloadStatusDlg::IDC_PROGRESS);
    EXPECT_GT(half, 35);
    EXPECT_LT(half, 65);

    CErrMsgDlg error;
    error.m_strText = "Errore di comunicazione";
    Picture(error, folder, "err_msg");
    CBattWarningDlg battery;
    Picture(battery, folder, "batt_warning");
    CExportToExcelDlg excel;
    Picture(excel, folder, "export_to_excel");
    CViewSchedLoggingDlg logging;
    Picture(logging, folder, "view_sched_logging");
    CWaitExportingToExcelDlg exporting;
    exporting.m_strText = "file 1";
    Picture(exporting, folder, "wait_exporting");
    CWaitInstrRebootDlg reboot;
    Picture(reboot, folder, "wait_instr_reboot");
    CWaitElabInfoDlg elab;
    Picture(elab, folder, "wait_elab_info");
    CSplashScreenDlg splash;
    Picture(splash, folder, "splash");

    const std::unique_ptr<QDialog> about = CAboutDlg::BuildWindow();
    CheckPicture(*about, folder, "about");
}

TEST(DialogPictureTest, InstrumentStatusShowsItsBarsAndTicks) {
    testenv::ScratchFolder folder;
    testenv::TestOperator op;
    CViewInstrStatusDlg status(
        {[] { return std::string("QS4160_L"); }, [] { return false; }, nullptr, nullptr});
    status.Create();
    status.Window()->show();
    status.m_strStatusText =
        "STATUS:DISPL:SLM\r\nSET:AUTO_P:ON\r\nSTATUS:ACQUISITION:RUN\r\nINTEGRATION:SINGLE\r\n"
        "BATTERY:75\r\nMEMORY:20\r\nFree: 1200\r\nUsed: 300\r\nFiles: 4\r\n"
        "RECORDER: SLM OCTAVE ON\r\n";
    status.ShowStatus();
    const QImage picture = CheckPicture(*status.Window(), folder, "view_instr_status");
    QWidget& window = *status.Window();
    EXPECT_GT(Filled(picture, window, CViewInstrStatusDlg::IDC_BATTERY_BAR), 60);
    EXPECT_LT(Filled(picture, window, CViewInstrStatusDlg::IDC_MEMORY_BAR), 35);
    EXPECT_TRUE(window.findChild<QCheckBox*>("1565")->isChecked());
    EXPECT_FALSE(window.findChild<QCheckBox*>("1566")->isChecked());
    EXPECT_EQ(window.findChild<QGroupBox*>("1631")->title(), "Recorder ON");
}
