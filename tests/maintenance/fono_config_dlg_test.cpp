// The calibration-expiry dialog with a simulated meter and the web service's stand-in: what it
// reads, what it writes and how its result string ends each way out. The unlock is played by
// the host (the enciphered exchange itself is tested with the bench).
#include <gtest/gtest.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTableWidget>
#include <QWidget>
#include <cerrno>
#include <cstring>
#include <functional>
#include <map>
#include <memory>

#include "link/link_session.h"
#include "link/link_side.h"
#include "link/link_test_support.h"
#include "link/port_record.h"
#include "link/quiet_link_host.h"
#include "link/serial_line_settings.h"
#include "maintenance/expiry_journal.h"
#include "maintenance/fono_config_dlg.h"
#include "maintenance/protected_fields.h"
#include "platform/clock.h"
#include "platform/com_ports.h"
#include "platform/date_time.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/text.h"
#include "report/instr_log.h"
#include "sim_meter.h"
#include "support/test_env.h"
#include "web/web_client.h"
#include "web/web_test_env.h"

namespace {

using Fields = std::map<std::string, std::string>;

constexpr const char* kDone = "Aggiornamento data di scadenza taratura completato.";

// The application and the view, the link session with the meter on COM5 and the instrument log
// as the update is handed them; the unlock is the test's.
class TestHost : public maintenance::CalibExpiryHost {
public:
    explicit TestHost(const std::string& folder) : programDir(folder) { target.m_nComPort = 5; }

    bool ViewPresent() override { return view; }

    maintenance::CalibExpiryUpdate::Uses Uses() {
        return {.host = *this,
                .link = link,
                .web = client,
                .log = log,
                .programDir = programDir,
                .technicianId = technician,
                .unlockTarget = [this] {
                    ++unlocks;
                    return unlock();
                }};
    }
    int OpenTargetPort() {
        return link.OpenPort(LinkSide::Target, PortSettings::Instrument(target));
    }

    const std::string programDir;
    const std::string technician = "654321";
    PortRecord reference;
    PortRecord target;
    linktest::PatientClock clock;
    linktest::QuietLinkHost linkHost{reference, target,
                                     [](unsigned ms) { platform::EventLoop::Wait(ms); }};
    LinkSession link{linkHost, clock, linkHost.Settings()};
    InstrLog log{programDir, [] { return std::string("T7"); }, nullptr};
    web::WebClient client;
    bool view = true;
    std::function<std::string()> unlock;
    int unlocks = 0;
};

class FonoConfigDlgTest : public ::testing::Test {
protected:
    FonoConfigDlgTest() {
        meter.SetSetting("INSTR_M", "QS4060KRTN");
        meter.SetSetting("INSTR_N", "T7");
        meter.SetBaud(0);
        meter.Modify([](simmeter::MeterState& s) {
            s.protectedFields = {{"CERT_DATE", "2023/01/01"},
                                 {"CALIB_CERT_DATE", "2023/01/02"},
                                 {"HOMOLOGATION", "OM-1"},
                                 {"MAKER", "Corvanex"}};
        });
        platform::SetComDevice(5, meter.SlavePath());
        host.client.SetWaitFunction([](std::uint32_t ms) { platform::EventLoop::Wait(ms); });
        host.unlock = [this] {
            meter.Modify([](simmeter::MeterState& s) { s.protectedUnlocked = true; });
            return std::string("1");
        };
    }
    ~FonoConfigDlgTest() override {
        host.link.ClosePorts();
        platform::ClearComDevices();
    }
    void SetUp() override {
        ASSERT_TRUE(stub.Running()) << stub.StartError();
        host.client.SetEndpoint({stub.Host(), stub.PortText(), "", "", stub.PortText()});
        stub.WriteState("cert_dates", "T7;2025/06/30\n");
        ASSERT_EQ(host.OpenTargetPort(), 0);
    }

    Fields MeterFields() {
        Fields fields;
        meter.Modify([&](simmeter::MeterState& s) { fields = s.protectedFields; });
        return fields;
    }
    void Answer(int answer) {
        op.ExpectDialog("CFonoConfigDlg", [answer](platform::ModalDialog&) { return answer; });
    }

    platform::ScopedClockSpeed fast{50.0};
    testenv::ScratchFolder folder;
    testenv::TestOperator op;
    webstub::WebStub stub;
    simmeter::SimMeter meter;
    TestHost host{folder.Path()};
    CFonoConfigDlg dlg{host.Uses()};
};

TEST_F(FonoConfigDlgTest, ApplyingWritesTheChangedFieldsOnlyAndSaysOK) {
    // No associated calibrator on the server, no "setup.ini" in the folder.
    Answer(IDOK);
    op.ExpectBox(kDone);

    dlg.Create();

    EXPECT_EQ(dlg.m_strResult, "OK");
    EXPECT_FALSE(dlg.HasWindow());
    EXPECT_EQ(MeterFields().at("CERT_DATE"), "2025/06/30");
    EXPECT_EQ(MeterFields().at("CALIB_CERT_DATE"), "2023/01/02");
    EXPECT_EQ(host.unlocks, 1);
    const auto& fields = dlg.Update().Fields();
    EXPECT_EQ(fields[0].inMeter, "2023/01/01");
    EXPECT_EQ(fields[0].after, "2025/06/30");
    EXPECT_EQ(dlg.Update().Serial(), "T7");
    EXPECT_EQ(stub.ReadState("server_logs/calib_expiry_T7.txt"),
              "SN T7; TECNICO 654321; CERT_DATE 2023/01/01 -> 2025/06/30\n");

    // A second run finds the meter up to date and writes nothing.
    Answer(IDOK);
    op.ExpectBox("I dati dello strumento sono gia' aggiornati.");
    dlg.Create();
    EXPECT_EQ(dlg.m_strResult, "OK");
    EXPECT_EQ(host.unlocks, 1);
}

TEST_F(FonoConfigDlgTest, OnScreenTheWindowWaitsForItsButtonsAndShowsEveryNameWhole) {
    op.ExpectDialog("CFonoConfigDlg",
                    [](platform::ModalDialog& dialog) { return dialog.RunOnScreen(); });
    folder.Write("setup.ini", "MAKER=Corvanex Srl\n");
    dlg.Create();
    ASSERT_TRUE(dlg.HasWindow());
    EXPECT_TRUE(dlg.m_strResult.empty());
    EXPECT_TRUE(dlg.Window()->isVisible());
    auto* table = dlg.Window()->findChild<QTableWidget*>(CFonoConfigDlg::kFieldTableName);
    ASSERT_TRUE(table);
    platform::EventLoop::Wait(0);
    int columns = 0;
    for (int column = 0; column < table->columnCount(); ++column)
        columns += table->columnWidth(column);
    EXPECT_LE(columns, table->viewport()->width());
    for (int row = 0; row < table->rowCount(); ++row) {
        const QString name = table->item(row, 0)->text();
        EXPECT_LT(table->fontMetrics().horizontalAdvance(name), table->columnWidth(0))
            << name.toStdString();
    }

    op.ExpectBox(kDone);
    dlg.OnApply();
    EXPECT_EQ(dlg.m_strResult, "OK");
    EXPECT_EQ(MeterFields().at("MAKER"), "Corvanex Srl");
    EXPECT_EQ(host.unlocks, 2);
}

TEST_F(FonoConfigDlgTest, AnUnknownCertificateOrASilentMeterEndsTheReadingWithoutAsking) {
    stub.WriteState("cert_dates", "");
    op.ExpectBox("Certificato di taratura dello strumento T7 non trovato sul server (NOT_FOUND)");
    dlg.Create();
    EXPECT_EQ(dlg.m_strResult, "-1");
    EXPECT_FALSE(dlg.HasWindow());

    stub.WriteState("cert_dates", "T7;2025/06/30\n");
    meter.SilenceNext("SET:PROT:MAKER", -1);
    op.ExpectBox("Lettura dei dati dello strumento fallita.");
    dlg.Create();
    EXPECT_EQ(dlg.m_strResult, "-1");
    EXPECT_FALSE(dlg.HasWindow());
    EXPECT_EQ(host.unlocks, 0);
}

TEST_F(FonoConfigDlgTest, WithoutTheMainViewTheMeterIsLeftAloneAndACancelClosesItsPort) {
    // The program is leaving: nothing goes to the meter, and the instrument's log says why.
    host.view = false;
    op.ExpectBox("Lettura dei dati dello strumento fallita.");
    dlg.Create();
    EXPECT_EQ(dlg.m_strResult, "-1");
    EXPECT_EQ(meter.LineCount(), 0u);
    const auto log =
        platform::ReadWholeFile(host.log.LogPath(platform::DateTime(platform::Clock::Now())));
    ASSERT_TRUE(log);
    EXPECT_TRUE(platform::Contains(*log,
                                   ": Err: ATTENZIONE: Lettura dei dati dello strumento "
                                   "fallita. Aggiornamento data di scadenza non eseguito."));

    host.view = true;
    Answer(IDCANCEL);
    dlg.Create();
    EXPECT_EQ(dlg.m_strResult, "-1");
    EXPECT_FALSE(host.link.IsPortOpen(LinkSide::Target));
    EXPECT_EQ(MeterFields().at("CERT_DATE"), "2023/01/01");
    EXPECT_EQ(host.unlocks, 0);
}

TEST_F(FonoConfigDlgTest, ARefusedUnlockOrWriteLeavesTheMeterAsItWas) {
    host.unlock = [] { return std::string("-1"); };
    Answer(IDOK);
    op.ExpectBox("DUT: Sblocco scrittura dati protetti fallito.");
    dlg.Create();
    EXPECT_EQ(dlg.m_strResult, "-1");
    EXPECT_EQ(MeterFields().at("CERT_DATE"), "2023/01/01");

    // Unlocked in name only: the meter refuses the write.
    host.unlock = [] { return std::string("1"); };
    Answer(IDOK);
    op.ExpectBox("ATTENZIONE:\nScrittura di CERT_DATE nello strumento fallita.");
    dlg.Create();
    EXPECT_EQ(dlg.m_strResult, "-1");
    EXPECT_EQ(MeterFields().at("CERT_DATE"), "2023/01/01");
    EXPECT_FALSE(stub.ReadState("server_logs/calib_expiry_T7.txt"));
}

TEST_F(FonoConfigDlgTest, AWriteRefusedHalfWayIsRecordedAsIncompleteAndNamesTheFields) {
    folder.Write("setup.ini", "HOMOLOGATION=OM-2\nMAKER=Corvanex Srl\n");
    // The second unlock is one in name only: the meter refuses that write.
    host.unlock = [this] {
        meter.Modify([this](simmeter::MeterState& s) { s.protectedUnlocked = host.unlocks == 1; });
        return std::string("1");
    };
    Answer(IDOK);
    op.ExpectBox(
        "ATTENZIONE:\nScrittura di HOMOLOGATION nello strumento fallita.\n\n"
        "Dati scritti nello strumento:\n- Data certificato di taratura fonometro\n"
        "Dati non scritti:\n- Omologazione\n- Costruttore\n\n"
        "La modifica incompleta e' stata registrata sul server.");
    dlg.Create();
    EXPECT_EQ(dlg.m_strResult, "-1");
    EXPECT_EQ(MeterFields().at("CERT_DATE"), "2025/06/30");
    EXPECT_EQ(MeterFields().at("HOMOLOGATION"), "OM-1");
    EXPECT_EQ(stub.ReadState("server_logs/calib_expiry_T7.txt"),
              "SN T7; TECNICO 654321; CERT_DATE 2023/01/01 -> 2025/06/30; HOMOLOGATION OM-1 -> "
              "OM-2 NON SCRITTO; MAKER Corvanex -> Corvanex Srl NON SCRITTO; MODIFICA "
              "INCOMPLETA\n");
}

TEST_F(FonoConfigDlgTest, AWriteNeitherAnsweredNorReadBackIsLeftForTheNextRunToRecord) {
    stub.WriteState("cert_dates_calib", "T7;2025/06/28\n");
    folder.Write("setup.ini", "MAKER=Corvanex Srl\n");
    // The meter goes busy at CALIB_CERT_DATE: it takes the value without a word, and the
    // three asks of the read-back go unanswered.
    meter.Override("SET:PROT:", -1, [silent = 0](const std::string& line, auto normal) mutable {
        if (platform::StartsWith(line, "SET:PROT:CALIB_CERT_DATE:2"))
            silent = 4;
        if (silent == 0)
            return normal;
        --silent;
        return std::optional(simmeter::Silence());
    });
    Answer(IDOK);
    op.ExpectBox(
        "ATTENZIONE:\nScrittura di CALIB_CERT_DATE nello strumento fallita.\n\n"
        "Dati scritti nello strumento:\n- Data certificato di taratura fonometro\n"
        "Dati non confermati (lo strumento potrebbe averli memorizzati):\n"
        "- Data certificato calibratore associato\nDati non scritti:\n- Costruttore\n\n"
        "La modifica sara' registrata sul server al prossimo aggiornamento dello strumento.");
    dlg.Create();
    EXPECT_EQ(dlg.m_strResult, "-1");
    EXPECT_EQ(MeterFields().at("CALIB_CERT_DATE"), "2025/06/28");
    EXPECT_FALSE(stub.ReadState("server_logs/calib_expiry_T7.txt"));

    // The next run records what the meter holds, each field once, and writes the rest.
    Answer(IDOK);
    op.ExpectBox(kDone);
    dlg.Create();
    EXPECT_EQ(stub.ReadState("server_logs/calib_expiry_T7.txt"),
              "SN T7; TECNICO 654321; CERT_DATE 2023/01/01 -> 2025/06/30; CALIB_CERT_DATE "
              "2023/01/02 -> 2025/06/28; COMPLETATA DOPO INTERRUZIONE\nSN T7; TECNICO 654321; "
              "MAKER Corvanex -> Corvanex Srl\n");
}

TEST_F(FonoConfigDlgTest, ABusyServerOrABadSetupValueEndsTheReadingBeforeAnyWrite) {
    // Five busy answers are not a missing certificate.
    stub.AddFault("HTTP_find_certif_date.php", "busy 5");
    op.ExpectBox(
        "ATTENZIONE:\nServer occupato: certificato di taratura dello strumento T7 non "
        "verificato.");
    dlg.Create();
    EXPECT_EQ(dlg.m_strResult, "-1");

    const std::string tooLong = "MAKER=" + std::string(2035, 'x') + "\n";
    for (const std::string& setup :
         {tooLong, std::string("HOMOLOGATION=OM\x03 1\n"), std::string("MAKER=Societ\xC3\xA0\n")}) {
        folder.Write("setup.ini", setup);
        op.ExpectBox("in setup.ini non valido");
        dlg.Create();
        EXPECT_EQ(dlg.m_strResult, "-1");
    }
    EXPECT_EQ(op.Shown().at(op.Shown().size() - 3),
              "ATTENZIONE:\nValore di MAKER in setup.ini non valido: troppo lungo (2035 "
              "caratteri, massimo 32).\nAggiornamento data di scadenza non eseguito.");
    EXPECT_EQ(host.unlocks, 0);
    EXPECT_EQ(MeterFields().at("MAKER"), "Corvanex");
}

TEST_F(FonoConfigDlgTest, AChangeTheServerDidNotRecordIsStillTheMetersNewState) {
    stub.AddFault("log_user.php", "status 500");
    Answer(IDOK);
    op.ExpectBox("la registrazione della modifica sul server e' fallita");
    dlg.Create();
    EXPECT_EQ(dlg.m_strResult, "OK");
    EXPECT_EQ(MeterFields().at("CERT_DATE"), "2025/06/30");
    // Kept, owner-only, for the next update of the meter to record.
    struct stat info {};
    ASSERT_EQ(::stat(folder.File("calib_expiry_pending.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(FonoConfigDlgTest, ARecordedChangeWhoseJournalCannotGoSaysSoAndKeepsIt) {
    // The program folder turns read-only once the change is kept: root's rights pass every
    // check, so the file system user is lowered to the journal's owner meanwhile. The
    // instrument log's folder stays writable.
    const std::string journal = folder.File("calib_expiry_pending.txt");
    const std::string logFolder = folder.File("archivio_verifiche");
    std::string kept;
    int user = -1;
    host.unlock = [&] {
        meter.Modify([](simmeter::MeterState& s) { s.protectedUnlocked = true; });
        kept = folder.Read("calib_expiry_pending.txt");
        const std::string log = host.log.LogPath(platform::DateTime::Now());
        for (const std::string& path : {journal, logFolder, log})
            EXPECT_EQ(::chown(path.c_str(), 65534, 65534), 0) << path;
        EXPECT_EQ(::chmod(folder.Path().c_str(), 0555), 0);
        user = ::setfsuid(65534);
        return std::string("1");
    };
    // The journal is the meter's alone and cannot be removed, or it also holds another meter's
    // change under way and cannot be rewritten without this one.
    for (const bool another : {false, true}) {
        SCOPED_TRACE(another ? "beside another meter's change" : "alone");
        meter.Modify(
            [](simmeter::MeterState& s) { s.protectedFields["CERT_DATE"] = "2023/01/01"; });
        if (another) {
            maintenance::ExpiryJournal other(journal);
            ASSERT_TRUE(other.Keep({"T9", "111111", {{"CERT_DATE", "2022/01/01", "2024/01/01"}}}));
        }
        Answer(IDOK);
        op.ExpectBox(kDone);

        dlg.Create();
        ::setfsuid(user);
        ::chmod(folder.Path().c_str(), 0700);

        EXPECT_EQ(dlg.m_strResult, "OK");
        // Recorded once each time.
        const std::string record = "SN T7; TECNICO 654321; CERT_DATE 2023/01/01 -> 2025/06/30\n";
        EXPECT_EQ(stub.ReadState("server_logs/calib_expiry_T7.txt"),
                  another ? record + record : record);
        const std::string problem = journal + ": " + std::strerror(EACCES);
        EXPECT_EQ(op.Shown().back(),
                  std::string(kDone) +
                      "\n\nLa modifica e' stata registrata sul server, ma il registro delle "
                      "modifiche in corso non e' stato cancellato:\n" +
                      problem +
                      "\nIl prossimo aggiornamento dello strumento registrerebbe di nuovo la "
                      "modifica.");
        ASSERT_FALSE(kept.empty());
        EXPECT_EQ(folder.Read("calib_expiry_pending.txt"), kept);
        const std::string log =
            platform::ReadWholeFile(host.log.LogPath(platform::DateTime::Now())).value_or("");
        EXPECT_TRUE(platform::Contains(
            log, "Err: registro delle modifiche in corso non cancellato: " + problem + "\r\n"))
            << log;
        ::unlink(journal.c_str());
    }
}

TEST_F(FonoConfigDlgTest, AChangeWhoseJournalCannotBeWrittenDoesNotStart) {
    // A read-only program folder, as an ordinary user meets it (root's rights pass every check).
    ASSERT_EQ(::chmod(folder.Path().c_str(), 0555), 0);
    Answer(IDOK);
    op.ExpectBox("ATTENZIONE:\nImpossibile registrare la modifica in corso:\n" +
                 folder.File("calib_expiry_pending.txt") + ": " + std::strerror(EACCES) +
                 "\nAggiornamento data di scadenza non eseguito.");
    const int user = ::setfsuid(65534);
    dlg.Create();
    ::setfsuid(user);
    ::chmod(folder.Path().c_str(), 0700);
    EXPECT_EQ(dlg.m_strResult, "-1");
    EXPECT_EQ(host.unlocks, 0);
    EXPECT_EQ(MeterFields().at("CERT_DATE"), "2023/01/01");
    EXPECT_FALSE(stub.ReadState("server_logs/calib_expiry_T7.txt"));
}

TEST_F(FonoConfigDlgTest, ARecordOfChangesTooLargeToReadEndsTheReadingBeforeAnyWrite) {
    const std::string path = folder.File("calib_expiry_pending.txt");
    folder.Write("calib_expiry_pending.txt", std::string(3 * 1024 * 1024, 'x'));
    op.ExpectBox("ATTENZIONE:\nRegistro delle modifiche in corso illeggibile:\n" + path +
                 ": troppo grande (oltre 1048576 byte) per un registro delle modifiche\n"
                 "Aggiornamento data di scadenza non eseguito.");
    dlg.Create();
    EXPECT_EQ(dlg.m_strResult, "-1");
    EXPECT_EQ(host.unlocks, 0);
    EXPECT_EQ(MeterFields().at("CERT_DATE"), "2023/01/01");
}

TEST_F(FonoConfigDlgTest, ALookUpWithoutAnAnswerStopsBeforeAnyWriteAndNamesTheServersFailure) {
    // The calibrator's look-up: an error status, a reply without its line.
    for (const char* fault : {"status 500", "nokey"}) {
        stub.WriteState("faults", std::string("HTTP_find_certif_date_calib.php ") + fault + "\n");
        op.ExpectBox(
            "ATTENZIONE:\nErrore del server: certificato di taratura del calibratore associato "
            "allo strumento T7 non verificato:\n");
        dlg.Create();
        EXPECT_EQ(dlg.m_strResult, "-1");
    }
    EXPECT_NE(op.Shown().front().find(":\nil server ha risposto con lo stato HTTP 500.\n"),
              std::string::npos);
    // The meter's: a reply that trickles past the call's time is no missing certificate.
    host.client.SetLimits({.connectTimeoutMs = 1000, .stallSeconds = 60, .totalTimeoutMs = 400});
    stub.WriteState("faults", "HTTP_find_certif_date.php trickle 100\n");
    op.ExpectBox(
        "ATTENZIONE:\nErrore del server: certificato di taratura dello strumento T7 non "
        "verificato:\ntempo scaduto: risposta del server non completa entro 400 ms.\n"
        "Aggiornamento data di scadenza non eseguito.");
    dlg.Create();
    EXPECT_EQ(host.unlocks, 0);
    EXPECT_FALSE(stub.ReadState("server_logs/calib_expiry_T7.txt"));
}

TEST_F(FonoConfigDlgTest, AChangeCutShortIsRecordedWithItsTechnicianBeforeTheUpdateGoesOn) {
    // An earlier run of technician 111111 had the meter take CERT_DATE, not MAKER.
    maintenance::ExpiryJournal journal(folder.File("calib_expiry_pending.txt"));
    ASSERT_TRUE(journal.Keep(
        {"T7",
         "111111",
         {{"CERT_DATE", "2022/01/01", "2023/01/01"}, {"MAKER", "Corvanex", "Corvanex Srl"}}}));
    ASSERT_TRUE(journal.Keep({"T9", "111111", {{"MAKER", "a", "b"}}}));
    // Until the server has that record the update writes nothing, and the record stays.
    stub.AddFault("log_user.php", "status 500");
    op.ExpectBox(
        "ATTENZIONE:\nLa modifica dello strumento T7 interrotta in precedenza non e' stata "
        "registrata sul server.\nAggiornamento data di scadenza non eseguito.");
    dlg.Create();
    EXPECT_EQ(host.unlocks, 0);
    std::optional<maintenance::PendingChange> kept;
    ASSERT_TRUE(journal.Find("T7", kept));
    EXPECT_TRUE(kept);

    stub.WriteState("faults", "");
    Answer(IDOK);
    op.ExpectBox(kDone);
    dlg.Create();
    EXPECT_EQ(stub.ReadState("server_logs/calib_expiry_T7.txt"),
              "SN T7; TECNICO 111111; CERT_DATE 2022/01/01 -> 2023/01/01; COMPLETATA DOPO "
              "INTERRUZIONE\nSN T7; TECNICO 654321; CERT_DATE 2023/01/01 -> 2025/06/30\n");
    ASSERT_TRUE(journal.Find("T7", kept));
    EXPECT_FALSE(kept);
    ASSERT_TRUE(journal.Find("T9", kept));
    EXPECT_TRUE(kept);
}

TEST_F(FonoConfigDlgTest, AChangeCutShortRecordedButNotStruckFromTheJournalIsSaidToComeAgain) {
    const std::string path = folder.File("calib_expiry_pending.txt");
    maintenance::ExpiryJournal journal(path);
    ASSERT_TRUE(journal.Keep({"T7", "111111", {{"CERT_DATE", "2022/01/01", "2023/01/01"}}}));
    ASSERT_TRUE(journal.Keep({"T9", "111111", {{"MAKER", "a", "b"}}}));
    const std::string kept = folder.Read("calib_expiry_pending.txt");
    // The journal can be read but not rewritten: the folder is read-only, and root's rights
    // pass every check, so the file system user is lowered to the journal's owner meanwhile.
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(folder.Path().c_str(), 0555), 0);
    op.ExpectBox("ATTENZIONE:\nRegistro delle modifiche in corso non aggiornabile:\n" + path +
                 ": " + std::strerror(EACCES) +
                 "\nLa modifica dello strumento T7 interrotta in precedenza e' "
                 "stata registrata sul server: il prossimo aggiornamento dello strumento la "
                 "registrerebbe di nuovo.\nAggiornamento data di scadenza non eseguito.");
    const int user = ::setfsuid(65534);
    dlg.Create();
    ::setfsuid(user);
    ::chmod(folder.Path().c_str(), 0700);

    EXPECT_EQ(host.unlocks, 0);
    EXPECT_EQ(stub.ReadState("server_logs/calib_expiry_T7.txt"),
              "SN T7; TECNICO 111111; CERT_DATE 2022/01/01 -> 2023/01/01; COMPLETATA DOPO "
              "INTERRUZIONE\n");
    EXPECT_EQ(folder.Read("calib_expiry_pending.txt"), kept);
}

TEST_F(FonoConfigDlgTest, ALateProbeAnswerIsNotTakenForTheSerialNumber) {
    // Both probes are answered after their time-out; the second answer would come while the
    // serial number is asked, before the serial number's own. Slower, so that a busy machine
    // keeps that order.
    platform::ScopedClockSpeed slower{10.0};
    meter.DelayNext("SET:INS:", 2500);
    meter.DelayNext("SET:INS:", 1500);
    meter.DelayNext("SET:INSTR_N", 1800);
    Answer(IDOK);
    op.ExpectBox(kDone);
    dlg.Create();
    EXPECT_EQ(dlg.Update().Serial(), "T7");
    EXPECT_EQ(dlg.m_strResult, "OK");
    EXPECT_EQ(MeterFields().at("CERT_DATE"), "2025/06/30");
}

TEST_F(FonoConfigDlgTest, ACertificateDateThatIsNoDateStopsTheUpdateAndIsNamed) {
    // Only the server's "NOT_FOUND" means that the meter has no associated calibrator; the
    // meter's own certificate is looked up first.
    for (const auto& [table, certificate] :
         {std::pair{"cert_dates_calib", "del calibratore associato allo strumento"},
          std::pair{"cert_dates", "dello strumento"}}) {
        stub.WriteState(table, "T7;ERRORE DATABASE\n");
        op.ExpectBox(std::string("ATTENZIONE:\nErrore del server: certificato di taratura ") +
                     certificate +
                     " T7 non verificato:\nil server ha risposto \"ERRORE DATABASE\", che non "
                     "e' una data.\nAggiornamento data di scadenza non eseguito.");
        dlg.Create();
        EXPECT_EQ(dlg.m_strResult, "-1");
    }
    EXPECT_EQ(host.unlocks, 0);
    EXPECT_EQ(MeterFields().at("CALIB_CERT_DATE"), "2023/01/02");
    EXPECT_FALSE(stub.ReadState("server_logs/calib_expiry_T7.txt"));
}

TEST(ProtectedFieldsTest, RepliesDatesAndSetupFile) {
    EXPECT_EQ(maintenance::ProtectedValue("SET:PROT:MAKER:A:B\x03", "MAKER"), "A:B");
    EXPECT_EQ(maintenance::ProtectedValue("SET:PROT:MAKERX:1", "MAKER"), std::nullopt);
    EXPECT_EQ(maintenance::CertificateDate(" 2025-06-30 "), "2025/06/30");
    EXPECT_EQ(maintenance::CertificateDate("30/06/2025"), "2025/06/30");
    for (const char* answer : {"", "NOT_FOUND", "2025/02/30"})
        EXPECT_EQ(maintenance::CertificateDate(answer), std::nullopt) << answer;

    // The meter's text fields hold 32 printable ASCII characters.
    const maintenance::ProtectedField& maker = maintenance::ProtectedFields().at(3);
    EXPECT_EQ(maintenance::ValueProblem(maker, std::string(32, 'x')), std::nullopt);
    EXPECT_TRUE(maintenance::ValueProblem(maker, std::string(33, 'x')));
    EXPECT_TRUE(maintenance::ValueProblem(maker, "a\x7f"));

    testenv::ScratchFolder folder;
    folder.Write("setup.ini", "; note\r\nHOMOLOGATION = OM 7 \r\n=x\r\nMAKER=\r\n");
    EXPECT_EQ(maintenance::ReadSetupIni(folder.File("setup.ini")),
              (Fields{{"HOMOLOGATION", "OM 7"}, {"MAKER", ""}}));
    EXPECT_TRUE(maintenance::ReadSetupIni(folder.File("none.ini")).empty());
}

}  // namespace
