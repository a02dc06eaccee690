#include <sys/stat.h>

#include "app/kx9monitor_app.h"
#include "databases_test_env.h"
#include "platform/date_time.h"
#include "platform/files.h"
#include "web/booking_form.h"
#include "web/instrument_booking.h"
#include "web/server_endpoint.h"

namespace {
const std::string kSaved =
    "Salvataggio informazioni sugli strumenti da verificare eseguito correttamente";

platform::ScriptedOperator::DialogHandler Book(std::array<std::string, 6> serials) {
    return [serials](platform::ModalDialog& dialog) {
        auto& form = dynamic_cast<CAudioTriggerEvDlg&>(dialog);
        form.m_strSerials = serials;
        return form.OnOK() ? IDOK : IDCANCEL;
    };
}
}  // namespace

class BookingTest : public DatabasesTest {
protected:
    BookingTest() {
        platform::Clock::SetFixedNow(now.Seconds());
        stub.ServeFile(Url("corrections//corrections_table.txt"), "REF1;0.1\n");
        stub.ServeFile(Url("hash_keys//A4hash.txt"), "A4;1;2;3");
        stub.ServeFile(Url("hash_keys//B5hash.txt"), "B5;4;5;6");
    }
    ~BookingTest() override { platform::Clock::SetFixedNow(std::nullopt); }

    const platform::DateTime now = platform::DateTime::FromParts(2026, 12, 6, 10, 0, 0);
    web::InstrumentBooking booking{databases};
};

TEST_F(BookingTest, OneInstrumentIsBookedAndTheBookingLapsesAfterSevenDays) {
    op.ExpectDialog("CAudioTriggerEvDlg", Book({"", "", "", "A4", "", ""}));
    op.ExpectBox(kSaved);
    booking.OnBookInstruments();
    EXPECT_EQ(folder.Read("msvcrt60_temp.dll"), "2026/12/06 10:00:00\nA4;1;2;3\n");
    // Key data: for the owner's eyes only.
    struct stat keyFile {};
    ASSERT_EQ(::stat(folder.File("msvcrt60_temp.dll").c_str(), &keyFile), 0);
    EXPECT_EQ(keyFile.st_mode & 0777, 0600u);
    EXPECT_EQ(web::BookedSerials(folder.File("msvcrt60_temp.dll")), std::vector<std::string>{"A4"});
    EXPECT_FALSE(platform::FileExists(folder.File("msvcrt60.dll")));
    EXPECT_FALSE(feedback.shown);

    // The application's start-up check keeps it for six days and some hours, not for seven.
    folder.Write("QS4060KRTN_VP.ini", "LAST_UPDATE:2026/12/06 10:00:00\r\n");
    CKX9MonitorApp app;
    platform::Clock::SetFixedNow(now.AddDays(7).AddSeconds(-60).Seconds());
    app.StartupUpdateCheck();
    EXPECT_TRUE(platform::FileExists(folder.File("msvcrt60_temp.dll")));
    platform::Clock::SetFixedNow(now.AddDays(7).Seconds());
    app.StartupUpdateCheck();
    EXPECT_FALSE(platform::FileExists(folder.File("msvcrt60_temp.dll")));
}

TEST_F(BookingTest, UnknownSerialsAreReportedAndTheOthersStillBooked) {
    op.ExpectDialog("CAudioTriggerEvDlg", Book({"B5", "ZZ", "", "", "B5", "A4"}));
    op.ExpectBox(
        "Strumento SN ZZ non trovato.Err=Failed to retrieve a HTTP status, Status "
        "Code:404\n");
    op.ExpectBox(kSaved);
    booking.OnBookInstruments();
    EXPECT_EQ(folder.Read("msvcrt60_temp.dll"),
              "2026/12/06 10:00:00\nB5;4;5;6\nB5;4;5;6\nA4;1;2;3\n");
    EXPECT_EQ(feedback.texts.back(), "Connessione con il server in corso...");

    // Nothing typed: a booking of no instrument, still stamped.
    op.ExpectDialog("CAudioTriggerEvDlg", [](platform::ModalDialog&) { return IDOK; });
    op.ExpectBox(kSaved);
    booking.OnBookInstruments();
    EXPECT_EQ(folder.Read("msvcrt60_temp.dll"), "2026/12/06 10:00:00\n");
}

TEST_F(BookingTest, ASerialIsOnePieceOfTheKeyFilesPathAndNeverLeavesTheKeyFolder) {
    stub.ServeFile(Url("hash_keys//C 6?#%hash.txt"), "C 6?#%;7;8");
    // A Latin-1 byte, and an escape that the server would decode were it not itself encoded.
    stub.ServeFile(Url("hash_keys//Forl\xEC%41hash.txt"), "Forl\xEC%41;9;9");
    stub.ServeFile(Url("hash_keys//Forl\xEC"
                       "Ahash.txt"),
                   "WRONG;1;1");
    stub.ServeFile(Url("evilhash.txt"), "EVIL;6;6");
    op.ExpectDialog("CAudioTriggerEvDlg",
                    Book({"C 6?#%", "../evil", "a\\b", "A4", "Forl\xEC%41", ""}));
    for (const char* serial : {"../evil", "a\\b"})
        op.ExpectBox(std::string("Strumento SN ") + serial +
                     " non trovato.Err=Invalid serial number: it holds \"/\" or \"\\\"");
    op.ExpectBox(kSaved);
    booking.OnBookInstruments();
    EXPECT_EQ(folder.Read("msvcrt60_temp.dll"),
              "2026/12/06 10:00:00\nC 6?#%;7;8\nA4;1;2;3\nForl\xEC%41;9;9\n");
    std::vector<std::string> keyRequests;
    for (const auto& request : stub.Requests())
        if (request.uri.find("hash") != std::string::npos)
            keyRequests.push_back(request.uri);
    EXPECT_EQ(keyRequests, (std::vector<std::string>{Url("hash_keys//C%206%3F%23%25hash.txt"),
                                                     Url("hash_keys//A4hash.txt"),
                                                     Url("hash_keys//Forl%EC%2541hash.txt")}));
}

TEST_F(BookingTest, AnEarlierBookingIsReplacedOnlyWhenTheOperatorAgrees) {
    const std::string earlier = "2026/12/01 08:00:00\nA4;1;2;3\n\nnot a key line\nB5;4;5;6\n";
    folder.Write("msvcrt60_temp.dll", earlier);
    const std::string question =
        "ATTENZIONE:\nSono gia' stati salvate le informazioni relativa ai seguenti strumenti\n"
        "Instr SN A4\nInstr SN B5\n\nProseguendo tali informazioni verranno sovrascritte.\n"
        "Continuare ?";
    op.ExpectBox(question, IDNO);
    op.ExpectBox(question, IDYES);
    op.ExpectBox(kSaved);
    op.ExpectDialog("CAudioTriggerEvDlg", [this, &earlier](platform::ModalDialog& dialog) {
        auto& form = dynamic_cast<CAudioTriggerEvDlg&>(dialog);
        form.m_strSerials[0] = "B5";
        EXPECT_FALSE(form.OnOK());  // the form stays open, the booking as it was
        EXPECT_EQ(folder.Read("msvcrt60_temp.dll"), earlier);
        return IDCANCEL;
    });
    op.ExpectDialog("CAudioTriggerEvDlg", Book({"B5", "", "", "", "", ""}));
    booking.OnBookInstruments();
    EXPECT_EQ(folder.Read("msvcrt60_temp.dll"), earlier);
    booking.OnBookInstruments();
    EXPECT_EQ(folder.Read("msvcrt60_temp.dll"), "2026/12/06 10:00:00\nB5;4;5;6\n");
}

TEST_F(BookingTest, WithoutInternetTheFormNeverOpens) {
    folder.Write("msvcrt60_temp.dll", "2026/12/01 08:00:00\nA4;1;2;3\n");
    stub.AddFault("corrections_table.txt", "status 500");
    op.ExpectBox("ATTENZIONE:\nConnessione Internet assente.");
    op.ExpectBox("Connessione Internet assente.\nOperazione non disponibile.");
    booking.OnBookInstruments();
    EXPECT_EQ(databases.m_bCheckInternet, 0);
    // Once the check has failed, the next command goes straight to the probe; its box says why,
    // a broken settings file included.
    PointProgramAt(folder, stub);
    folder.Write("webservice.ini", "SERVER_HOST=" + stub.Host() + "\r\n");
    client.SetEndpoint(web::LoadServerEndpoint(folder.Path()));
    op.ExpectBox(
        "Connessione Internet assente.\nOperazione non disponibile.\n\nErr=Failed to retrieve a "
        "HTTP status, Status Code:500\n\n\nImpostazioni del servizio web non valide:\n" +
        folder.File("webservice.ini") + ": mancano DOWNLOAD_USER e DOWNLOAD_PASSWORD");
    booking.OnBookInstruments();
    EXPECT_EQ(folder.Read("msvcrt60_temp.dll"), "2026/12/01 08:00:00\nA4;1;2;3\n");
}

TEST_F(BookingTest, ABookingThatCannotBeWrittenIsReportedAndHidesTheWaitBox) {
    platform::MakeDirectories(folder.File("msvcrt60_temp.dll"));
    op.ExpectBox("Sono gia' stati salvate", IDYES);
    op.ExpectBox("Impossibile salvare le informazioni sugli strumenti da verificare.");
    op.ExpectDialog("CAudioTriggerEvDlg", Book({"A4", "", "", "", "", ""}));
    booking.OnBookInstruments();
    EXPECT_FALSE(feedback.shown);
}
