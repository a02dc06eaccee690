// Connecting to a meter on the monitoring link over pseudo-terminals: the search over a fake
// port list and its rates, the stored port, and the modem link with its hang-up.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <algorithm>
#include <memory>

#include "app/frame_boxes.h"
#include "app/frame_scheduler.h"
#include "app/frame_timers.h"
#include "app/frame_ui.h"
#include "app/meter_connection.h"
#include "app/monitoring_session.h"
#include "frame_test_support.h"
#include "link/fake_tty_tree.h"
#include "link/serial_port_list.h"
#include "modem_responder.h"

using namespace frametest;
using simmeter::ModemResponder;

namespace {

constexpr const char* kNotResponding =
    "Warning : Instrument not respondig.\nPlease check port settings";

class FrameConnectTest : public FrameLinkTest {
protected:
    FrameConnectTest() {
        SetTtyClassRoot(tree.RootText());
        app.m_RefPort.m_nComPort = kCom;
        app.m_RefPort.m_nBaudRate = 38400;
    }
    ~FrameConnectTest() override {
        SetTtyClassRoot("");
        platform::SetEnumeratedComDevices({});
    }

    bool RefPortOpen() { return frame.Link().IsPortOpen(LinkSide::Reference); }
    long Probes() const {
        const auto lines = meter.Lines();
        return std::count(lines.begin(), lines.end(), "SET:INS:?");
    }
    std::shared_ptr<ModemResponder> UseModem(ModemResponder::Dial outcome) {
        auto modem = ModemResponder::Create();
        modem->SetDialOutcome(outcome, "CONNECT 9600", 2000);
        modem->InstallOn(meter);
        app.m_bModemLink = 1;
        app.m_strModemNumber = "0123456";
        return modem;
    }
    void ExpectPane(const std::string& text, COLORREF on, COLORREF off = 0xFFFF00) {
        EXPECT_EQ(ui.panes[FrameUi::kStatusPane].text, text);
        EXPECT_EQ(ui.panes[FrameUi::kStatusPane].on, on);
        EXPECT_EQ(ui.panes[FrameUi::kStatusPane].off, off);
    }
    void ExpectBaudSetting(const std::string& text) {
        EXPECT_EQ(app.m_InstrStatus.m_strBaudRate, text);
        EXPECT_EQ(app.m_EditStatus.m_strBaudRate, text);
    }

    // Slower than the queue's tests: the modem's replies are read once, half a second of program
    // time after each command, and this pace keeps that 50 ms of real time.
    platform::ScopedClockSpeed probeSpeed{10.0};
    linktest::FakeTtyTree tree{folder.Path() + "sys/class/tty"};
};

}  // namespace

TEST_F(FrameConnectTest, SearchSkipsAPortThatWillNotOpenAndFindsTheMeterAtItsRate) {
    // COM1 is a UART whose device is gone; the meter is a USB adapter after the two ttyS.
    tree.Uart("ttyS0").EmptySlot("ttyS1").Port("ttyUSB0", true);
    platform::SetComDevice(1, folder.File("gone"));
    meter.SetBaud(9600);
    op.ExpectBox(
        "Instrument is connected at 9600 baud.\nFor a faster data transferring set baudrate to "
        "115200 on your instrument");

    frame.Scheduler().Connection().ConnectInstrument();

    EXPECT_TRUE(frame.Mode().IsLinkActive());
    EXPECT_EQ(frame.Link().Side(), LinkSide::Reference);
    EXPECT_EQ(app.m_RefPort.m_nComPort, 3);
    EXPECT_EQ(app.m_RefPort.m_nBaudRate, 9600);
    ExpectBaudSetting("9600");
    // 115200, 57600, 38400 and 19200 went unanswered.
    EXPECT_EQ(Probes(), 5);
    EXPECT_EQ(SerialOf(LinkSide::Reference).GetBaudrate(), 9600);
    EXPECT_EQ(SerialOf(LinkSide::Reference).GetHandshaking(), CSerial::HardwareHandshake);
    ExpectPane("Connected to COM3 9600 8,N,1", 0x00FF00);
    EXPECT_EQ(op.types, (std::vector<unsigned>{MB_ICONINFORMATION}));
}

TEST_F(FrameConnectTest, SearchInSchedulerModeLogsTheConnectionOfCom12Silently) {
    for (int i = 0; i < 10; ++i)
        tree.EmptySlot("ttyS" + std::to_string(i));
    tree.Port("ttyUSB1", true);
    platform::SetComDevice(12, meter.SlavePath());
    meter.SetBaud(115200);
    frame.Mode().EnterSchedulerMode();
    frame.Scheduler().Run().SetState(7);

    frame.Scheduler().Connection().ConnectInstrument();

    EXPECT_TRUE(frame.Mode().IsLinkActive());
    ExpectPane("Connected to COM12 115200 8,N,1", 0x00FF00);
    EXPECT_EQ(frame.Boxes().m_TryConnDlg.m_strText,
              "Connecting to...\r\rPort = COM12\rBaudrate = 115200");
    EXPECT_EQ(SchedulerLog(), (std::vector<std::string>{"Connection established "}));
    EXPECT_EQ(frame.Scheduler().Run().State(), 0);
    EXPECT_EQ(Probes(), 1);
}

TEST_F(FrameConnectTest, AMeterThatNeverAnswersIsTriedAtEveryRateThenReported) {
    tree.Port("ttyUSB0", true);
    platform::SetComDevice(1, meter.SlavePath());
    meter.SilenceNext("SET:INS:?", -1);
    frame.Mode().OnMeterAnswered();
    op.ExpectBox(kNotResponding);
    // Between the rates only the connecting box's input is let through: a frame timer that
    // falls due meanwhile runs afterwards.
    app.m_strTechnicianId = "T1";
    frame.Timers().Set(FrameTimers::kCalibExpiryUpdate, 1);
    ASSERT_TRUE(frame.Boxes().m_TryConnDlg.Create());

    frame.Scheduler().Connection().ConnectInstrument();

    EXPECT_FALSE(CalibExpiryUpdateStarted());
    ASSERT_TRUE(PumpUntil([&] { return CalibExpiryUpdateStarted(); }));
    EXPECT_EQ(Probes(), 10);
    EXPECT_EQ(app.m_RefPort.m_nBaudRate, 300);
    EXPECT_FALSE(frame.Mode().IsLinkActive());
    EXPECT_FALSE(RefPortOpen());
    ExpectBaudSetting("-1");
    ExpectPane("Error :connection failure", 0x0000FF);

    // In scheduler mode, with no port at all, the search ends at once into the log.
    tree.Remove("ttyUSB0");
    meter.ClearLog();
    frame.Mode().EnterSchedulerMode();
    frame.Scheduler().Connection().ConnectInstrument();
    EXPECT_EQ(meter.LineCount(), 0u);
    EXPECT_EQ(SchedulerLog(), (std::vector<std::string>{"WARNING: CONNECTION FAILURE."}));
}

TEST_F(FrameConnectTest, ABusyUsbPortIsShownAndPassedOver) {
    tree.Port("ttyUSB0", true);
    platform::SetComDevice(1, meter.SlavePath());
    CSerial elsewhere;
    ASSERT_EQ(elsewhere.Open(meter.SlavePath()), 0);
    op.ExpectBox(kNotResponding);

    frame.Scheduler().Connection().ConnectInstrument();

    EXPECT_EQ(frame.Boxes().m_TryConnDlg.m_strText, "Connecting to...\r\rPort = COM1\r Port busy.");
    EXPECT_EQ(meter.LineCount(), 0u);
    EXPECT_FALSE(frame.Mode().IsLinkActive());
}

TEST_F(FrameConnectTest, EscInTheConnectingBoxEndsTheRateSearchSilently) {
    tree.Port("ttyUSB0", true);
    platform::SetComDevice(1, meter.SlavePath());
    ASSERT_TRUE(frame.Boxes().m_TryConnDlg.Create());
    frame.Boxes().m_TryConnDlg.ShowWindow(true);
    QCoreApplication::postEvent(frame.Boxes().m_TryConnDlg.Window(),
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    frame.Mode().OnMeterAnswered();

    frame.Scheduler().Connection().ConnectInstrument();

    // No box (the operator would fail the test), no probe, no pane, nothing else changed.
    EXPECT_EQ(meter.LineCount(), 0u);
    EXPECT_FALSE(RefPortOpen());
    EXPECT_TRUE(frame.Mode().IsLinkActive());
    EXPECT_EQ(ui.panes.count(FrameUi::kStatusPane), 0u);
    // The key was the search's: the box is still there.
    EXPECT_TRUE(frame.Boxes().m_TryConnDlg.IsWindowVisible());
    frame.Boxes().m_TryConnDlg.DestroyWindow();
}

TEST_F(FrameConnectTest, StoredPortConnectsAndAtTheLowestRateWarnsItIsTooLow) {
    op.ExpectBox(
        "Instrument is connected at 38400 baud.\nFor a faster data transferring set baudrate "
        "to 115200 on your instrument");
    frame.Scheduler().Connection().ConnectInstrumentPort();
    EXPECT_TRUE(frame.Mode().IsLinkActive());
    EXPECT_TRUE(RefPortOpen());
    ExpectPane("Connected to COM3 38400 8,N,1", 0x00FF00);
    ExpectBaudSetting("38400");
    EXPECT_EQ(Probes(), 1);

    // Connecting again over the open port closes it first.
    meter.SetBaud(300);
    app.m_RefPort.m_nBaudRate = 300;
    op.ExpectBox(
        "Instrument is connected at 300 baud.\nThis baudrete is too low to comunicate with "
        "PC.\n\nPlease select higher baudrate on your instrument");
    frame.Scheduler().Connection().ConnectInstrumentPort();
    EXPECT_TRUE(frame.Mode().IsLinkActive());
    EXPECT_EQ(op.types.back(), static_cast<unsigned>(MB_ICONEXCLAMATION));
}

TEST_F(FrameConnectTest, StoredPortThatWillNotOpenOrStaysSilentIsReported) {
    app.m_RefPort.m_nComPort = 7;
    platform::SetComDevice(7, folder.File("gone"));
    op.ExpectBox("Error : fail opening COM port.");
    frame.Scheduler().Connection().ConnectInstrumentPort();
    ExpectPane("Error : connection failure", 0x0000FF);
    ExpectBaudSetting("-1");
    EXPECT_EQ(op.types, (std::vector<unsigned>{MB_ICONSTOP}));

    // A silent meter leaves the link closed.
    app.m_RefPort.m_nComPort = kCom;
    meter.SilenceNext("SET:INS:?", -1);
    frame.Mode().EnterSchedulerMode();
    frame.Mode().OnMeterAnswered();
    frame.Scheduler().Connection().ConnectInstrumentPort();
    EXPECT_EQ(Probes(), 1);
    EXPECT_FALSE(RefPortOpen());
    EXPECT_FALSE(frame.Mode().IsLinkActive());
    EXPECT_EQ(SchedulerLog(), (std::vector<std::string>{"WARNING: CONNECTION FAILURE"}));
    ExpectPane("Error : connection failure", 0x0000FF);
}

TEST_F(FrameConnectTest, AModemCallCarriesTheLinkAndDisconnectHangsUpWithGuardTimes) {
    auto modem = UseModem(ModemResponder::Dial::Connect);

    frame.Scheduler().Connection().ConnectInstrumentPort();

    EXPECT_TRUE(frame.Mode().IsLinkActive());
    EXPECT_EQ(modem->DialledNumbers(), (std::vector<std::string>{"0123456"}));
    ExpectPane("Connected: MODEM (Num: 0123456)", 0x00FF00);
    EXPECT_EQ(Probes(), 1);

    frame.Session().Disconnect();

    const auto escapes = modem->Escapes();
    ASSERT_EQ(escapes.size(), 1u);
    EXPECT_GE(escapes[0].silenceBefore, ModemResponder::kGuardMs);
    EXPECT_GE(escapes[0].silenceAfter, ModemResponder::kGuardMs);
    EXPECT_EQ(modem->HangUps(), 1);
    EXPECT_FALSE(modem->Carrier());
    EXPECT_FALSE(RefPortOpen());
    ExpectPane("Disconnected", 0x00FFFF, 0x000080);

    // A call without a meter behind it is hung up.
    meter.SilenceNext("SET:INS:?", -1);
    op.ExpectBox("Instrument not responding");
    frame.Scheduler().Connection().ConnectInstrumentPort();
    EXPECT_EQ(modem->HangUps(), 2);
    EXPECT_FALSE(RefPortOpen());
}

TEST_F(FrameConnectTest, ABusyRemoteModemEndsTheSearchIntoTheLog) {
    tree.Port("ttyUSB0", true);
    platform::SetComDevice(1, meter.SlavePath());
    auto modem = UseModem(ModemResponder::Dial::Busy);

    frame.Scheduler().Connection().ConnectInstrument();

    EXPECT_EQ(modem->DialledNumbers().size(), 1u);
    // The modem's answer keeps its line ends in the log.
    EXPECT_EQ(folder.Read(acquisition::SchedulerLog::kLogName).substr(21),
              "CONNECTION FAILURE (Line: \r\nBUSY\r\n) - Monitoring skipped.\r\r\n");
    EXPECT_FALSE(frame.Mode().IsLinkActive());
    EXPECT_FALSE(RefPortOpen());
    ExpectBaudSetting("-1");
    ExpectPane("Error :connection failure", 0x0000FF);
    EXPECT_EQ(Probes(), 0);
}

TEST_F(FrameConnectTest, NoModemOnTheStoredPortIsReported) {
    app.m_bModemLink = 1;
    app.m_strModemNumber = "0123456";
    op.ExpectBox("CONNECTION FAILURE: Modem not responding.");

    frame.Scheduler().Connection().ConnectInstrumentPort();

    EXPECT_EQ(meter.Lines(), (std::vector<std::string>{"AT"}));
    EXPECT_FALSE(RefPortOpen());
    EXPECT_EQ(op.types, (std::vector<unsigned>{MB_OK}));
}
