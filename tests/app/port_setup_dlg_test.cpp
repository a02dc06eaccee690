// "Impostazioni connessione": the ports offered from a fake port list, the stored port kept by
// its exact name, what OK and Cancel leave in the records and in "port.ini", and the dialog on
// screen.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <functional>

#include "app/frame_command_ids.h"
#include "app/frame_commands.h"
#include "app/kx9monitor_app.h"
#include "app/main_frame.h"
#include "app/port_setup_dlg.h"
#include "link/fake_tty_tree.h"
#include "link/port_record.h"
#include "link/serial_port_list.h"
#include "platform/com_ports.h"
#include "platform/event_loop.h"
#include "support/dialog_steps.h"
#include "support/test_env.h"
#include "ui/program_images.h"

namespace {

constexpr const char* kDialog = "CPortSetupDlg";

class PortSetupDlgTest : public ::testing::Test {
protected:
    PortSetupDlgTest() {
        app.m_strProgramDir = folder.Path();
        SetTtyClassRoot(tree.RootText());
        // COM1 to COM10, in that order.
        for (int i = 0; i < 10; ++i)
            tree.Uart("ttyS" + std::to_string(i));
    }
    ~PortSetupDlgTest() override {
        SetTtyClassRoot("");
        platform::SetEnumeratedComDevices({});
        platform::ClearComDevices();
        platform::EventLoop::ClearQuit();
    }

    void StorePorts(int reference, int target) {
        PortRecord ref;
        PortRecord dut;
        ref.m_nComPort = reference;
        dut.m_nComPort = target;
        ASSERT_TRUE(SavePortIni(folder.File("port.ini"), ref, dut));
    }
    // Runs the command with the operator doing `steps` in the dialog.
    void RunSettings(std::function<int(CPortSetupDlg&)> steps) {
        op.ExpectDialog(kDialog, [steps](platform::ModalDialog& dialog) {
            return steps(dynamic_cast<CPortSetupDlg&>(dialog));
        });
        frame.Commands().OnCommand(cmd::ID_CONNECTION_SETTINGS);
    }

    testenv::ScratchFolder folder;
    testenv::TestOperator op;
    linktest::FakeTtyTree tree{folder.Path() + "sys/class/tty"};
    CKX9MonitorApp app;
    CMainFrame frame;
};

template <typename Widget>
Widget* Control(QDialog& dialog, int id) {
    auto* widget = dialog.findChild<Widget*>(QString::number(id));
    EXPECT_NE(widget, nullptr) << id;
    return widget;
}

}  // namespace

TEST_F(PortSetupDlgTest, AStoredPortIsSelectedByItsWholeNameAndOkStoresTheChoice) {
    StorePorts(10, 1);
    std::vector<std::string> entries;
    std::string shownTarget;
    std::string shownReference;
    RunSettings([&](CPortSetupDlg& dialog) {
        entries = dialog.PortEntries();
        shownTarget = dialog.EntryText(dialog.m_nTargetPortSel);
        shownReference = dialog.EntryText(dialog.m_nRefPortSel);
        return IDOK;
    });
    ASSERT_EQ(entries.size(), 10u);
    EXPECT_EQ(entries[8] + entries[9], "COM9COM10");
    EXPECT_EQ(shownTarget, "COM1");  // although COM10 begins with it
    EXPECT_EQ(shownReference, "COM10");

    // A stored port the list lacks keeps its number.
    StorePorts(42, 4);
    RunSettings([](CPortSetupDlg& dialog) {
        EXPECT_EQ(dialog.m_nRefPortSel, CPortSetupDlg::kNoSelection);
        dialog.m_nTargetPortSel = dialog.FindPortEntry("COM7");
        return IDOK;
    });
    EXPECT_EQ(app.m_TargetPort.m_nComPort, 7);
    EXPECT_EQ(app.m_TargetPort.m_nBaudRate, 38400);
    EXPECT_EQ(app.m_RefPort.m_nComPort, 42);
    PortRecord ref;
    PortRecord dut;
    ASSERT_TRUE(LoadPortIni(folder.File("port.ini"), ref, dut));
    EXPECT_EQ(dut.m_nComPort, 7);
    EXPECT_EQ(ref.m_nComPort, 42);
}

TEST_F(PortSetupDlgTest, PortsMappedToADeviceOfTheirOwnAreOfferedSoOkKeepsTheWorkingOne) {
    platform::SetComDevice(12, folder.File("pts12"));
    platform::SetComDevice(3, folder.File("pts3"));
    StorePorts(1, 12);
    std::vector<std::string> entries;
    RunSettings([&](CPortSetupDlg& dialog) {
        entries = dialog.PortEntries();
        EXPECT_EQ(dialog.EntryText(dialog.m_nTargetPortSel), "COM12");
        return IDOK;
    });
    // COM3 is the machine's own already.
    ASSERT_EQ(entries.size(), 11u);
    EXPECT_EQ(entries.back(), "COM12");
    EXPECT_EQ(app.m_TargetPort.m_nComPort, 12);
}

TEST_F(PortSetupDlgTest, CancelPutsBackWhatPortIniHeldAndStillRewritesIt) {
    StorePorts(2, 5);
    app.m_TargetPort.m_nComPort = 9;
    app.m_TargetPort.m_nBaudRate = 115200;
    folder.Write("port.ini", "TARGET_INSTR_COM=5\n");
    RunSettings([](CPortSetupDlg& dialog) {
        dialog.m_nTargetPortSel = dialog.FindPortEntry("COM3");
        return IDCANCEL;
    });
    EXPECT_EQ(app.m_TargetPort.m_nComPort, 5);
    EXPECT_EQ(app.m_TargetPort.m_nBaudRate, 38400);
    EXPECT_EQ(folder.Read("port.ini"), FormatPortIni(app.m_RefPort, app.m_TargetPort));
}

TEST_F(PortSetupDlgTest, OnlyTheInstrumentUnderTestAndTheConnectionTypeAreOffered) {
    StorePorts(1, 2);
    CPortSetupDlg dialog;
    dialog.OnInitDialog();
    for (int id : {CPortSetupDlg::IDC_REF_PORT, CPortSetupDlg::IDC_REF_RATE,
                   CPortSetupDlg::IDC_TARGET_RATE, CPortSetupDlg::IDC_AUTO_DETECT})
        EXPECT_FALSE(dialog.IsItemVisible(id)) << id;
    EXPECT_TRUE(dialog.IsItemVisible(CPortSetupDlg::IDC_TARGET_PORT));
    EXPECT_EQ(dialog.m_nConnectionType, CPortSetupDlg::kCable);
    EXPECT_FALSE(dialog.IsItemEnabled(CPortSetupDlg::IDC_MODEM_NUMBER));
    EXPECT_EQ(dialog.RateEntries().back(), "230400 (usb)");
    EXPECT_EQ(dialog.m_nTargetRateSel, 7);  // 38400

    // The check stays set on screen; cleared, it warns and takes the port away.
    dialog.m_bTargetCheck = FALSE;
    op.ExpectBox("Per strumenti NON Corvanex l'inserimento dei valori misurati");
    dialog.OnTargetCheck();
    EXPECT_FALSE(dialog.IsItemEnabled(CPortSetupDlg::IDC_TARGET_PORT));
}

TEST_F(PortSetupDlgTest, TheModemChoiceAndItsNumberAreKeptForTheLink) {
    RunSettings([](CPortSetupDlg& dialog) {
        dialog.m_nConnectionType = CPortSetupDlg::kModem;
        dialog.OnModem();
        EXPECT_TRUE(dialog.IsItemEnabled(CPortSetupDlg::IDC_MODEM_NUMBER));
        dialog.m_strModemNumber = " 0123456 ";
        return IDOK;
    });
    EXPECT_EQ(app.m_bModemLink, 1);
    EXPECT_EQ(app.m_strModemNumber, "0123456");

    // A number with more than dial characters in it is refused and the old one kept.
    op.ExpectBox("Numero del modem non valido");
    RunSettings([](CPortSetupDlg& dialog) {
        dialog.m_strModemNumber = "012\rATH";
        return IDOK;
    });
    EXPECT_EQ(app.m_strModemNumber, "0123456");

    RunSettings([](CPortSetupDlg& dialog) {
        EXPECT_EQ(dialog.m_nConnectionType, CPortSetupDlg::kModem);
        EXPECT_EQ(dialog.m_strModemNumber, "0123456");
        dialog.m_nConnectionType = CPortSetupDlg::kCable;
        dialog.OnCable();
        EXPECT_EQ(dialog.m_strModemNumber, "");
        EXPECT_FALSE(dialog.IsItemEnabled(CPortSetupDlg::IDC_MODEM_NUMBER));
        return IDOK;
    });
    EXPECT_EQ(app.m_bModemLink, 0);
    EXPECT_EQ(app.m_strModemNumber, "");
}

TEST_F(PortSetupDlgTest, APortListThatCannotBeReadIsToldAndLeavesTheCombosEmpty) {
    SetTtyClassRoot(folder.Path() + "missing");
    StorePorts(1, 2);
    op.ExpectBox("Could not read from");
    RunSettings([](CPortSetupDlg& dialog) {
        EXPECT_TRUE(dialog.PortEntries().empty());
        return IDOK;
    });
    EXPECT_EQ(app.m_TargetPort.m_nComPort, 2);
}

TEST_F(PortSetupDlgTest, OnScreenTheComboShowsTheStoredPortAndTheRadiosDriveTheNumber) {
    StorePorts(0, 10);
    CPortSetupDlg dialog;
    dialog.OnInitDialog();
    testenv::WhenDialogShown([](QDialog& window) {
        EXPECT_EQ(window.windowTitle(), "Impostazioni connessione");
        auto* target = Control<QComboBox>(window, CPortSetupDlg::IDC_TARGET_PORT);
        EXPECT_EQ(target->currentText(), "COM10");
        EXPECT_TRUE(Control<QComboBox>(window, CPortSetupDlg::IDC_REF_PORT)->isHidden());
        auto* number = Control<QLineEdit>(window, CPortSetupDlg::IDC_MODEM_NUMBER);
        EXPECT_FALSE(number->isEnabled());
        Control<QRadioButton>(window, CPortSetupDlg::IDC_MODEM)->click();
        EXPECT_TRUE(number->isEnabled());
        number->setText("555");
        target->setCurrentIndex(2);
        Control<QPushButton>(window, IDOK)->click();
    });
    ASSERT_EQ(dialog.RunOnScreen(), IDOK);
    dialog.OnOK();
    EXPECT_EQ(app.m_TargetPort.m_nComPort, 3);
    EXPECT_EQ(app.m_bModemLink, 1);
    EXPECT_EQ(app.m_strModemNumber, "555");
}

TEST_F(PortSetupDlgTest, OnScreenTheDialogShowsThePictureOfTheMeterOnItsCable) {
    StorePorts(0, 1);
    CPortSetupDlg dialog;
    dialog.OnInitDialog();
    bool shown = false;
    QImage picture;
    testenv::WhenDialogShown([&](QDialog& window) {
        if (auto* label = window.findChild<QLabel*>(QString::number(CPortSetupDlg::IDC_PICTURE))) {
            shown = label->isVisible();
            picture = label->pixmap().toImage();
        }
        window.close();
    });
    EXPECT_EQ(dialog.RunOnScreen(), IDCANCEL);
    EXPECT_TRUE(shown);
    const QImage drawn = ui::ProgramBitmap(ui::IDB_METER_LINK);
    ASSERT_FALSE(drawn.isNull());
    EXPECT_EQ(picture.convertToFormat(QImage::Format_ARGB32), drawn);
    // A picture, not an empty frame: most of it is drawn, its corners stay clear.
    int inked = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            inked += drawn.pixelColor(x, y).alpha() > 0;
    EXPECT_GT(inked, drawn.width() * drawn.height() / 4);
    EXPECT_EQ(drawn.pixelColor(0, 0).alpha(), 0);
    EXPECT_TRUE(ui::ProgramBitmap(4711).isNull());
}
