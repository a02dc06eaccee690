// The verification workflow on the frame: starting and continuing a verification, opening a
// report and editing its header, and validating it with the web service's stand-in.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "../report/verification_file_maker.h"
#include "app/frame_bench.h"
#include "app/frame_boxes.h"
#include "app/frame_timers.h"
#include "app/frame_web.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "app/verification_workflow.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "report/instr_info_dlg.h"
#include "support/test_env.h"
#include "web/code_entry_form.h"
#include "web/web_test_env.h"

namespace {

constexpr const char* kUploadScript = "upload_spectr_3band_2018_quater.php";
constexpr const char* kOfferUpdate = "Aggiornare la data adesso ?";
constexpr const char* kOverwrite = "File pdf gia' presente.\nSovrascriverlo ?";

class VerificationCommandsTest : public ::testing::Test {
protected:
    VerificationCommandsTest() {
        app.m_strProgramDir = folder.Path();
        app.m_strTechnicianId = "123456";
        frame.CreateFrameWindow();
        frame.Web().Databases().m_bCheckInternet = 0;
        platform::SetShellRecorder([this](const platform::ShellRequest& request) {
            opened.push_back(request.path);
            return true;
        });
        Now(2026, 3, 4, 12, 0);
    }
    ~VerificationCommandsTest() override {
        platform::SetShellRecorder(nullptr);
        platform::Clock::SetFixedNow(std::nullopt);
        platform::EventLoop::ClearQuit();
    }
    void SetUp() override {
        ASSERT_TRUE(stub.Running()) << stub.StartError();
        frame.Web().Client().SetEndpoint({stub.Host(), stub.PortText(), "", "", stub.PortText()});
    }

    static void Now(int y, int mo, int d, int h, int mi) {
        platform::Clock::SetFixedNow(platform::DateTime::FromParts(y, mo, d, h, mi).Seconds());
    }
    std::string WriteReport(const std::string& name, const reporttest::FileShape& shape = {}) {
        folder.Write("archivio_verifiche/" + name, reporttest::SealedFile(shape));
        return folder.File("archivio_verifiche/" + name);
    }
    ui::CReportCtrl& ReportList() { return frame.View()->m_ReportList; }
    int UploadRequests() const {
        int count = 0;
        for (const auto& request : stub.Requests())
            count += platform::EndsWith(request.uri, kUploadScript);
        return count;
    }
    // A validation that may go ahead: the right meter, a known technician, a positive report.
    std::string ReadyToValidate(const reporttest::FileShape& shape = {}) {
        frame.Bench().Instruments().target.model = "QS4060KRTN";
        app.m_bTechnicianChecked = 1;
        const std::string path = WriteReport("R1.vpg", shape);
        EXPECT_TRUE(frame.Verification().LoadReport(path));
        return path;
    }

    platform::ScopedClockSpeed fast{1000.0};
    testenv::ScratchFolder folder;
    testenv::TestOperator op;
    webstub::WebStub stub;
    CKX9MonitorApp app;
    CMainFrame frame;
    std::vector<std::string> opened;
};

TEST_F(VerificationCommandsTest, ANewVerificationAsksForTheTechnicianAndOpensTheBench) {
    app.m_strTechnicianId.clear();
    folder.Write("msvcrt80.dll",
                 "Lab Nord;Via Uno 1;Milano;MI;0201;nord@lab.invalid;Mario Rossi;123456;R100\r\n");
    op.ExpectDialog("CSetLabelDlg", [](platform::ModalDialog&) { return IDCANCEL; });
    frame.Verification().OnNewVerification();
    EXPECT_FALSE(frame.Bench().Window().HasWindow());

    frame.Verification().LoadReport(WriteReport("C.vpg", {.verdict = {true, true, true}}));
    ASSERT_TRUE(frame.Verification().Verdict().calibratorOnly);
    op.ExpectDialog("CSetLabelDlg", [](platform::ModalDialog& dialog) {
        dynamic_cast<CSetLabelDlg&>(dialog).m_strText = "123456";
        return IDOK;
    });
    frame.Verification().OnNewVerification();

    EXPECT_EQ(frame.Window()->windowTitle().toStdString(),
              "QS4060KRTN_VP        - ID TECNICO: 123456");
    EXPECT_EQ(app.m_bTechnicianChecked, 1);
    EXPECT_EQ(frame.Verification().TechnicianData().nameAndCode, "Mario Rossi (id=123456)");
    EXPECT_FALSE(frame.Verification().Verdict().calibratorOnly);
    const CSoundDlg& bench = frame.Bench().Window();
    ASSERT_TRUE(bench.HasWindow());
    EXPECT_TRUE(bench.IsWindowVisible());
    EXPECT_EQ(bench.m_bNewVerification, 1);
    EXPECT_EQ(bench.m_bKeyAlignOnly, 0);
    EXPECT_EQ(bench.m_bUnattendedRun, 0);
    EXPECT_TRUE(bench.m_strResumeFile.empty());
}

TEST_F(VerificationCommandsTest, AVerificationContinuesForSixDays23HoursAndNotForSeven) {
    reporttest::FileShape shape;  // begun 2026/03/02 09:30:00
    shape.header[3] = {"CUST_NAME", "Rossi Srl CUST_FON_PROD=Fonotec "};
    shape.header[4] = {"NOTE", "-"};
    const std::string path = WriteReport("Rossi.vpg", shape);

    Now(2026, 3, 9, 9, 30);
    op.ExpectFileChoice(path);
    op.ExpectBox("La prova e' stata eseguita piu' di 7 giorni fa.\nNon e' possibile continuarla");
    frame.Verification().OnContinueVerification();
    EXPECT_FALSE(frame.Bench().Window().HasWindow());
    EXPECT_EQ(ReportList().GetItemCount(), 0);

    Now(2026, 3, 9, 8, 30);
    op.ExpectFileChoice(path);
    frame.Verification().OnContinueVerification();
    const CSoundDlg& bench = frame.Bench().Window();
    ASSERT_TRUE(bench.IsWindowVisible());
    EXPECT_EQ(bench.m_bNewVerification, 0);
    EXPECT_EQ(bench.m_strResumeFolder, folder.File("archivio_verifiche"));
    EXPECT_EQ(bench.m_strResumeFile, "Rossi.vpg");
    // One line fed both keys; the calibrator maker is on a line of its own.
    EXPECT_EQ(bench.m_strCustomerName, "Rossi Srl");
    EXPECT_EQ(bench.m_strMeterMaker, "Fonotec");
    EXPECT_EQ(bench.m_bCalibratorPresent, 1);
    // The report is in the view and is the current file.
    EXPECT_EQ(app.m_strCurrentFile, path);
    EXPECT_EQ(ReportList().GetItemText(4, 1), "Rossi Srl CUST_FON_PROD=Fonotec");
    EXPECT_TRUE(frame.Verification().Verdict().complete && frame.Verification().Verdict().positive);
}

TEST_F(VerificationCommandsTest, ADamagedFileIsNeitherContinuedNorOpened) {
    const std::string path = WriteReport("R.vpg");
    folder.Write("archivio_verifiche/R.vpg",
                 platform::ReplaceAll(folder.Read("archivio_verifiche/R.vpg"), "Rossi", "Bossi"));
    op.ExpectFileChoice(path);
    op.ExpectBox("il sigillo non corrisponde al contenuto");
    frame.Verification().OnContinueVerification();
    EXPECT_FALSE(frame.Bench().Window().HasWindow());

    op.ExpectFileChoice(path);
    op.ExpectBox("il sigillo non corrisponde al contenuto");
    frame.Verification().OnFileOpen();
    EXPECT_EQ(ReportList().GetItemCount(), 0);
    EXPECT_TRUE(app.m_strCurrentFile.empty());

    // The sealed file opens.
    const std::string sealed = WriteReport("S.vpg");
    op.ExpectFileChoice(sealed);
    frame.Verification().OnFileOpen();
    EXPECT_EQ(ReportList().GetItemCount(), 14);
    EXPECT_EQ(app.m_strCurrentFile, sealed);
}

TEST_F(VerificationCommandsTest, TheHeaderIsEditedAndSealedAgainWithinSevenDays) {
    const std::string path = WriteReport("R.vpg");
    ASSERT_TRUE(frame.Verification().LoadReport(path));
    op.ExpectDialog("CInstrInfoDlg", [](platform::ModalDialog& dialog) {
        auto& sheet = dynamic_cast<CInstrInfoDlg&>(dialog);
        EXPECT_EQ(sheet.Value("CUST_NAME"), "Rossi Srl");
        sheet.SetValue("CUST_NAME", "Bianchi Spa");
        return IDOK;
    });
    frame.Verification().OnEditReportHeader();
    EXPECT_EQ(ReportList().GetItemText(4, 1), "Bianchi Spa");
    EXPECT_NE(folder.Read("archivio_verifiche/R.vpg").find("CUST_NAME=Bianchi Spa\r\n"),
              std::string::npos);

    Now(2026, 3, 10, 12, 0);
    op.ExpectBox("Non e' possibile modificarne l'intestazione");
    frame.Verification().OnEditReportHeader();
}

TEST_F(VerificationCommandsTest, ValidationGuardsRefuseInTheirOrder) {
    const struct {
        const char* model;
        BYTE technician;
        report::ReportVerdict verdict;
        const char* refusal;
    } cases[] = {
        {"QS4160", 0, {false, false, false}, "Solo verifiche effettuate su strumentazione"},
        {"QS4060KRTN", 0, {false, false, false}, "La verifica e' stata eseguita da un operatore"},
        {"QS4060KRTN", 1, {false, false, false}, "La verifica e' incompleta."},
        {"QS4060KRTN", 1, {true, false, false}, "La verifica e' fallita."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refusal);
        frame.Bench().Instruments().target.model = c.model;
        app.m_bTechnicianChecked = c.technician;
        ASSERT_TRUE(frame.Verification().LoadReport(WriteReport("R.vpg", {.verdict = c.verdict})));
        op.ExpectBox(std::string("ATTENZIONE:\n") + c.refusal);
        frame.Verification().OnValidateReport();
    }
    EXPECT_EQ(UploadRequests(), 0);
    EXPECT_FALSE(platform::FileExists(folder.File("archivio_verifiche/R.pdf")));
}

TEST_F(VerificationCommandsTest, AValidatedReportIsStoredOpenedAndLeadsToTheExpiryUpdate) {
    const std::string vpg = ReadyToValidate();
    op.ExpectBox(kOfferUpdate, IDYES);
    frame.Verification().OnValidateReport();

    const std::string pdf = folder.File("archivio_verifiche/R1.pdf");
    EXPECT_EQ(folder.Read("archivio_verifiche/R1.pdf").substr(0, 8), "%PDF-1.4");
    EXPECT_EQ(opened, std::vector<std::string>{pdf});
    EXPECT_EQ(frame.Timers().Interval(FrameTimers::kCalibExpiryUpdate), 200u);
    EXPECT_TRUE(frame.Timers().IsSet(FrameTimers::kCalibExpiryUpdate));
    EXPECT_FALSE(frame.Boxes().m_TryConnDlg.HasWindow());
    EXPECT_EQ(stub.ReadState("uploads/R1.vpg"), folder.Read("archivio_verifiche/R1.vpg"));

    // A report of the associated calibrator alone, with a meter of another model: no offer.
    frame.Timers().Kill(FrameTimers::kCalibExpiryUpdate);
    ReadyToValidate({.tests = {{6, report::kPassed}}, .verdict = {true, true, true}});
    frame.Bench().Instruments().target.model = "QS4160";
    op.ExpectBox(kOverwrite, IDYES);
    frame.Verification().OnValidateReport();
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_FALSE(frame.Timers().IsSet(FrameTimers::kCalibExpiryUpdate));
}

TEST_F(VerificationCommandsTest, AFailedValidationKeepsTheEarlierReport) {
    ReadyToValidate();
    const struct {
        const char* what;
        std::function<void()> arrange;
        const char* shown;
    } cases[] = {
        {"error text",
         [&] { stub.SetReply(kUploadScript, "Errore\nVerifica non valida.<br>Prova mancante\n"); },
         "ERRORE\n\nVerifica non valida.\nProva mancante"},
        {"empty body", [&] { stub.WriteState("faults", std::string(kUploadScript) + " empty"); },
         "ERROR"},
        {"broken connection",
         [&] { stub.WriteState("faults", std::string(kUploadScript) + " truncate"); }, "ERROR"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        folder.Write("archivio_verifiche/R1.pdf", "%PDF earlier report");
        c.arrange();
        op.ExpectBox(kOverwrite, IDYES).ExpectBox(c.shown);
        frame.Verification().OnValidateReport();
        EXPECT_EQ(op.Shown().back(), c.shown);
        EXPECT_EQ(folder.Read("archivio_verifiche/R1.pdf"), "%PDF earlier report");
        EXPECT_TRUE(opened.empty());
        EXPECT_FALSE(frame.Timers().IsSet(FrameTimers::kCalibExpiryUpdate));
        EXPECT_FALSE(frame.Boxes().m_TryConnDlg.HasWindow());
    }
}

TEST_F(VerificationCommandsTest, CommandsStartedDuringAPumpedWaitAreIgnored) {
    ReadyToValidate();
    // Served by the validation's pause before the upload: the menu and timer 17 again, and
    // the other workflow commands.
    bool served = false;
    platform::PostToUiThread([&] {
        served = true;
        frame.Verification().OnValidateReport();
        frame.Verification().OnNewVerification();
        frame.Verification().OnContinueVerification();
        frame.Verification().OnFileOpen();
        frame.Verification().OnUpdateCalibExpiry();
    });
    op.ExpectBox(kOfferUpdate, IDNO);
    frame.Verification().OnValidateReport();
    EXPECT_TRUE(served);
    EXPECT_EQ(UploadRequests(), 1);
    EXPECT_FALSE(frame.Bench().Window().HasWindow());
    EXPECT_FALSE(frame.Bench().CalibExpiryDialog().HasWindow());

    // Free again afterwards; declining to overwrite the report sends nothing.
    op.ExpectBox(kOverwrite, IDNO);
    frame.Verification().OnValidateReport();
    EXPECT_EQ(UploadRequests(), 1);
    EXPECT_FALSE(frame.Boxes().m_TryConnDlg.HasWindow());
}

TEST_F(VerificationCommandsTest,
       TheInternetIsCheckedWhileTheDatabasesCallForItAndNotAfterAFailure) {
    FrameWeb& web = frame.Web();
    auto checks = [&] {
        int count = 0;
        for (const auto& request : stub.Requests())
            count += platform::EndsWith(request.uri, "corrections_table.txt");
        return count;
    };
    stub.ServeFile("//qs4060krtn_vp//corrections//corrections_table.txt", "REF1;0.1\n");
    EXPECT_TRUE(web.CheckInternetWhenDue());  // none called for
    EXPECT_EQ(checks(), 0);
    web.Databases().m_bCheckInternet = 1;
    EXPECT_TRUE(web.CheckInternetWhenDue());
    EXPECT_TRUE(web.CheckInternetWhenDue());  // the connection found calls for the next check
    EXPECT_EQ(checks(), 2);

    stub.AddFault("corrections_table.txt", "status 500");
    op.ExpectBox("ATTENZIONE:\nConnessione Internet assente.");
    EXPECT_FALSE(web.CheckInternetWhenDue());
    EXPECT_TRUE(web.CheckInternetWhenDue());
    EXPECT_EQ(checks(), 3);
}

TEST_F(VerificationCommandsTest, TheInstrumentLogIsTheLogOfTheBenchsInstrumentUnderTest) {
    frame.Bench().Instruments().target.serial = "T77";
    frame.Web().Log().WriteInstrLog("connected");
    const std::string path = frame.Web().Log().LogPath(platform::DateTime::Now());
    EXPECT_NE(path.find("instr_T77_"), std::string::npos);
    EXPECT_TRUE(platform::FileExists(path));
}

}  // namespace
