#include "app/kx9monitor_app.h"
#include "app/server_startup_host.h"
#include "databases_test_env.h"
#include "platform/date_time.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "web/black_list.h"
#include "web/firmware_versions.h"
#include "web/server_endpoint.h"

namespace {
const std::string kNotFound = "Failed to retrieve a HTTP status, Status Code:404\n";
const std::string kServerError = "Failed to retrieve a HTTP status, Status Code:500\n";
const std::string kNoInternet =
    "ATTENZIONE:\nConnessione Internet assente.\nNon e' possibile effettuare la modifica della "
    "data di scadenza della taratura dello strumento\n\nErr=";
}  // namespace

TEST_F(DatabasesTest, InternetCheckKeepsTheCorrectionsAndSetsTheFlags) {
    ServeDatabases();
    databases.m_bCheckInternet = 0;
    EXPECT_EQ(databases.CheckInternetConnection(), TRUE);
    EXPECT_EQ(databases.m_bCheckInternet, 1);
    EXPECT_EQ(databases.m_bInternetAvailable, 1);
    EXPECT_EQ(folder.Read("msvcrt70.dll"), "REF1;0.1\n");
    EXPECT_EQ(feedback.texts,
              std::vector<std::string>{"Verifica connessione internet in corso..."});
    EXPECT_FALSE(feedback.shown);

    stub.AddFault("corrections_table.txt", "status 500");
    op.ExpectBox(kNoInternet + kServerError);
    EXPECT_EQ(databases.CheckInternetConnection(), FALSE);
    EXPECT_EQ(databases.m_bCheckInternet, 0);
    EXPECT_EQ(databases.m_bInternetAvailable, 0);
    EXPECT_EQ(folder.Read("msvcrt70.dll"), "REF1;0.1\n");
    EXPECT_FALSE(feedback.shown);
}

TEST_F(DatabasesTest, TheNoInternetBoxNamesABrokenSettingsFileAndWhatIsWrong) {
    ServeDatabases();
    stub.RequireBasicAuth("tecnico", "segreto");
    folder.Write("alt_www.dll", stub.Host() + "\r\n" + stub.PortText() + "\r\n");
    folder.Write("webservice.ini", "SERVER_HOST=127.0.0.1\r\nDOWNLOAD_USER=tecnico\r\n");
    client.SetEndpoint(web::LoadServerEndpoint(folder.Path()));
    op.ExpectBox(kNoInternet + "error reading file\n\nImpostazioni del servizio web non valide:\n" +
                 folder.File("webservice.ini") + ": manca DOWNLOAD_PASSWORD");
    EXPECT_EQ(databases.CheckInternetConnection(), FALSE);

    folder.Write("webservice.ini",
                 "SERVER_HOST=127.0.0.1\r\nDOWNLOAD_USER=tecnico\r\n"
                 "DOWNLOAD_PASSWORD=segreto\r\n");
    client.SetEndpoint(web::LoadServerEndpoint(folder.Path()));
    EXPECT_EQ(databases.CheckInternetConnection(), TRUE);
}

TEST_F(DatabasesTest, RefreshIsDecidedByTheTableAndTheDatabaseAndNamesTheFailedOne) {
    stub.ServeFile(Url("corrections//corrections_table.txt"), "REF1;0.1\n");
    stub.ServeFile(Url("report//lab_database.lab"), kLabDatabase);
    op.ExpectBox("Aggiornamento database strumenti/tarature completato");
    EXPECT_EQ(databases.UpdateServerDatabases(), "");
    EXPECT_EQ(folder.Read("msvcrt80.dll"), kLabDatabase);
    EXPECT_FALSE(platform::FileExists(folder.File("msvcrt90.dll")));
    EXPECT_EQ(RequestsFor("//qs4060krtn_vp//black_list.txt"), 1);

    // The black list arrives now, the database does not: the message says why the database
    // failed, not how the black list went.
    stub.ServeFile(Url("black_list.txt"), "B0001\n");
    stub.AddFault("lab_database.lab", "status 500");
    op.ExpectBox("Aggiornamento database strumenti/tarature fallito.\n\nErr=" + kServerError);
    databases.UpdateServerDatabases();
    EXPECT_EQ(folder.Read("msvcrt80.dll"), kLabDatabase);
    EXPECT_EQ(folder.Read("msvcrt90.dll"), "B0001\n");
    EXPECT_EQ(feedback.texts.back(), "Connessione con il server in corso...");
    EXPECT_FALSE(feedback.shown);
}

TEST_F(DatabasesTest, MenuRefreshWithoutConnectionLeavesEveryFileAsItWas) {
    for (const char* name : {"msvcrt70.dll", "msvcrt80.dll", "msvcrt90.dll"})
        folder.Write(name, "old\n");
    op.ExpectBox("Connessione Internet assente.\nOperazione non disponibile.\n\nErr=" + kNotFound);
    databases.OnUpdateDatabases();
    EXPECT_EQ(stub.Requests().size(), 1u);
    for (const char* name : {"msvcrt70.dll", "msvcrt80.dll", "msvcrt90.dll"})
        EXPECT_EQ(folder.Read(name), "old\n");
    EXPECT_FALSE(feedback.shown);

    ServeDatabases();
    op.ExpectBox("Aggiornamento database strumenti/tarature completato");
    databases.OnUpdateDatabases();
    EXPECT_EQ(RequestsFor("//qs4060krtn_vp//corrections//corrections_table.txt"), 3);
    EXPECT_EQ(folder.Read("msvcrt90.dll"), "B0001\n");
}

TEST_F(DatabasesTest, BlackListNamesWholeSerialsAndAnEmptiedListBarsNothing) {
    stub.ServeFile(Url("black_list.txt"), "T2001 rubato\r\n\r\n#B0001;(2024)\r\nC7\r\n");
    EXPECT_EQ(databases.IsInstrumentBlackListed("T2001"), TRUE);
    EXPECT_EQ(databases.IsInstrumentBlackListed("T200"), FALSE);
    EXPECT_EQ(databases.IsInstrumentBlackListed("B0001"), TRUE);
    EXPECT_EQ(databases.IsInstrumentBlackListed("C7"), TRUE);
    EXPECT_EQ(databases.IsInstrumentBlackListed(""), FALSE);

    // The server emptied its list: the old copy goes with it.
    stub.ServeFile(Url("black_list.txt"), "");
    EXPECT_EQ(databases.IsInstrumentBlackListed("C7"), FALSE);
    EXPECT_EQ(folder.Read("msvcrt90.dll"), "");

    // Without the server the last copy decides; without a copy nothing is barred.
    stub.ServeFile(Url("black_list.txt"), "C7\n");
    EXPECT_EQ(databases.IsInstrumentBlackListed("C7"), TRUE);
    stub.AddFault("black_list.txt", "status 500");
    EXPECT_EQ(databases.IsInstrumentBlackListed("C7"), TRUE);
    platform::RemoveFile(folder.File("msvcrt90.dll"));
    EXPECT_EQ(databases.IsInstrumentBlackListed("C7"), FALSE);
}

TEST(BlackList, SerialIsAWholeFieldOfTheLine) {
    using web::LineNamesSerial;
    for (const char* line : {"T200", "T200 rubato", "rubato: T200", "x;T200;y", "(T200)"})
        EXPECT_TRUE(LineNamesSerial(line, "T200")) << line;
    for (const char* line : {"T2001", "XT200", "T200-B", "T200_2", "T200\xe8", ""})
        EXPECT_FALSE(LineNamesSerial(line, "T200")) << line;
    // A serial with a blank inside; a later occurrence may stand alone.
    EXPECT_TRUE(LineNamesSerial("nota A 12", "A 12"));
    EXPECT_FALSE(LineNamesSerial("nota A 123", "A 12"));
    EXPECT_TRUE(LineNamesSerial("T2001 T200", "T200"));
    EXPECT_FALSE(LineNamesSerial("T200", ""));
}

TEST(FirmwareVersionsTest, EntriesOfTheModelsItalianSection) {
    testenv::ScratchFolder folder;
    testenv::TestOperator op;
    folder.Write("fw.txt",
                 "[QS4160]\n[ITA]\n100 100 wrong_model.bin\n"
                 "[QS4060KRTN]\n[ENG]\n105 100 english.bin\n[ITA]\n\nab\n"
                 "105 100 fw_105.bin   \n105 105 ;LAST VER\n[DEU]\n106 105 german.bin\n");
    const std::string table = folder.File("fw.txt");
    EXPECT_EQ(CheckFirmwareUpdateAvailable("QS4060KRTN", "100.105", table), "fw_105.bin");
    EXPECT_EQ(CheckFirmwareUpdateAvailable("QS4060KRTN", "105.105", table), "LAST");

    op.ExpectBox("Non sono disponibili aggiornamenti per lo strumento.");
    EXPECT_EQ(CheckFirmwareUpdateAvailable("QS4060KRTN", "105.106", table), "");

    folder.Write("fw.txt", "[QS4060KRTN]\n[ENG]\n105 100 english.bin\n");
    op.ExpectBox("Non sono disponibili aggiornamenti per lo strumento.");
    EXPECT_EQ(CheckFirmwareUpdateAvailable("QS4060KRTN", "100.105", table), "");

    op.ExpectBox("File FirmwareFiles.txt not found");
    EXPECT_EQ(CheckFirmwareUpdateAvailable("QS4060KRTN", "100.105", folder.File("none.txt")), "");
}

// The application's start-up check, served by the local databases against the stand-in.
TEST_F(DatabasesTest, StartupCheckSixteenDaysAfterTheLastRefreshFetchesAndRecordsTheTime) {
    platform::Clock::SetFixedNow(platform::DateTime::FromParts(2026, 12, 6, 10, 0, 0).Seconds());
    ServerStartupHost host{databases};
    CKX9MonitorApp app;
    app.SetStartupHost(&host);
    databases.m_bCheckInternet = 0;
    ServeDatabases();
    folder.Write("QS4060KRTN_VP.ini",
                 "LAST_UPDATE:2026/11/20 10:00:00\r\nDISPLAY_AUDIO_SETTING=0\r\n");
    op.ExpectBox("Aggiornamento database strumenti/tarature completato");
    app.StartupUpdateCheck();
    platform::Clock::SetFixedNow(std::nullopt);
    EXPECT_EQ(folder.Read("QS4060KRTN_VP.ini"),
              "LAST_UPDATE:2026/12/06 10:00:00\r\nDISPLAY_AUDIO_SETTING=0\r\n");
    EXPECT_EQ(folder.Read("msvcrt80.dll"), kLabDatabase);
    EXPECT_EQ(folder.Read("msvcrt90.dll"), "B0001\n");
    EXPECT_EQ(databases.m_bInternetAvailable, 1);
    // The internet check, then the three files.
    EXPECT_EQ(stub.Requests().size(), 4u);
}

// At start-up the quit is already posted: nobody sees the boxes, and a refresh that failed is
// neither recorded as done nor silent.
TEST_F(DatabasesTest, AFailedStartupRefreshKeepsItsTimeDueAndIsSaidOnStandardError) {
    platform::Clock::SetFixedNow(platform::DateTime::FromParts(2026, 12, 6, 10, 0, 0).Seconds());
    ServerStartupHost host{databases};
    CKX9MonitorApp app;
    app.SetStartupHost(&host);
    stub.ServeFile(Url("corrections//corrections_table.txt"), "REF1;0.1\n");
    const std::string settings = "LAST_UPDATE:2026/11/20 10:00:00\r\nDISPLAY_AUDIO_SETTING=0\r\n";
    folder.Write("QS4060KRTN_VP.ini", settings);
    platform::EventLoop::RequestQuit(0);
    testing::internal::CaptureStderr();
    app.StartupUpdateCheck();
    const std::string said = testing::internal::GetCapturedStderr();
    platform::EventLoop::ClearQuit();
    platform::Clock::SetFixedNow(std::nullopt);
    EXPECT_EQ(folder.Read("QS4060KRTN_VP.ini"), settings);
    EXPECT_EQ(app.m_nDisplayAudioSetting, 0);
    EXPECT_NE(said.find("Aggiornamento database strumenti/tarature fallito. Err=Failed to "
                        "retrieve a HTTP status, Status Code:404"),
              std::string::npos)
        << said;
    EXPECT_TRUE(op.Shown().empty());
}
