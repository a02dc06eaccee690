#include <functional>

#include "platform/text.h"

#include "recording_feedback.h"
#include "web_test_env.h"

namespace {
// Every character a clean-up rule touches, and some it must leave alone.
const std::string kRaw = "a&b|c#d~e,f`g$h^i!j= k";
const std::string kAmp = "a-b|c#d~e,f`g$h^i!j= k";
const std::string kNine = "a-b-c-d-e-f-g-h-i-j= k";

struct ScriptCase {
    std::string script;
    std::string key;
    std::function<std::string(web::WebClient&)> call;
    std::string body;
    std::string loggedBody;
    std::string firstLogLine;  // empty: the post logs nothing
};
}  // namespace

TEST_F(WebClientTest, EveryScriptGetsItsFieldsInOrderCleanedAndItsAnswerRead) {
    const std::vector<ScriptCase> cases = {
        {"send_mail_to_corvanex.php",
         "RESULT=", [](web::WebClient& c) { return c.HttpSendMail(kRaw, kRaw, kRaw); },
         "user=corvanex&mail_subj=" + kNine + "&mail_txt=" + kNine + "&dest_addr_mail=" + kRaw, "",
         "HTTP_send_mail_to_corvanex"},
        {"find_acredia_user.php",
         "RESULT=", [](web::WebClient& c) { return c.HttpFindAcrediaUser(kRaw, kRaw, 7); },
         "user=corvanex&user_id=" + kAmp + "&user_psw=" + kAmp + "&send_user_mail=1",
         "user=corvanex&user_id=" + kAmp + "&user_psw=*****&send_user_mail=1",
         "HTTP_find_acredia_user"},
        {"add_acredia_user.php",
         "RESULT=", [](web::WebClient& c) { return c.HttpAddAcrediaUser(kRaw, kRaw, kRaw); },
         "user=corvanex&user_id=" + kNine + "&user_psw=" + kNine + "&user_mail=" + kNine,
         "user=corvanex&user_id=" + kNine + "&user_psw=*****&user_mail=" + kNine,
         "HTTP_add_acredia_user"},
        {"HTTP_find_certif_accredia.php",
         "RESULT=", [](web::WebClient& c) { return c.HttpFindCertifAccredia(3, kRaw); },
         "user=corvanex&cert_num=" + kAmp + "&mode=3", "", "HTTP_find_certif_ACCREDIA - " + kRaw},
        {"HTTP_find_certif_date.php",
         "CERT_DATE=", [](web::WebClient& c) { return c.HttpFindCertifDate(kRaw); },
         "user=corvanex&instr_sn=" + kAmp, "", "HTTP_find_certif_date - " + kRaw},
        {"HTTP_find_certif_date_calib.php",
         "CERT_DATE=", [](web::WebClient& c) { return c.HttpFindCertifDateCalib(kRaw); },
         "user=corvanex&instr_sn=" + kAmp, "", "HTTP_find_certif_date_calib - " + kRaw},
        {"HTTP_find_mic_sobst_date.php",
         "MIC_SOBST_DATE=", [](web::WebClient& c) { return c.HttpFindMicSubstDate(kRaw); },
         "user=corvanex&instr_sn=" + kAmp, "", "HTTP_find_mic_sobst_date - " + kRaw},
        {"get_time.php", "TIME=", [](web::WebClient& c) { return c.QueryServerTime(); },
         "user=corvanex", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        // The key and every "</p>" go; the opening tag stays.
        stub.SetReply(c.script, "<p>" + c.key + "valore " + c.key + "1</p>\n");
        log.clear();
        EXPECT_EQ(c.call(client), "<p>valore 1");

        const auto requests = stub.Requests();
        ASSERT_FALSE(requests.empty());
        const auto& request = requests.back();
        EXPECT_EQ(request.method, "POST");
        EXPECT_EQ(request.uri, "//qs4060krtn_vp//" + c.script);
        EXPECT_EQ(request.Header("Content-Type"), "application/x-www-form-urlencoded");
        EXPECT_EQ(request.body, c.body);

        if (c.firstLogLine.empty()) {
            EXPECT_TRUE(log.empty());
        } else {
            const std::string logged = c.loggedBody.empty() ? c.body : c.loggedBody;
            EXPECT_EQ(log, (std::vector<std::string>{c.firstLogLine, Url(c.script), logged,
                                                     "<p>" + c.key + "valore " + c.key + "1</p>"}));
        }
    }
    EXPECT_TRUE(waits.empty());
}

TEST_F(WebClientTest, LogPostSendsTheFileNameAsItIsAndCleansTheText) {
    stub.SetReply("log_user.php", "<p>RESULT=OK</p>\n");
    EXPECT_TRUE(client.HttpLogUser("a&b!.txt", "Verifica, fallita!"));
    const auto request = stub.Requests().back();
    EXPECT_EQ(request.uri, "//qs4060krtn_vp//log_user.php");
    EXPECT_EQ(request.body, "log_file=a&b!.txt&log_info=Verifica- fallita-");
    EXPECT_EQ(log, (std::vector<std::string>{
                       "HTTP_log_user - a&b!.txt - Verifica, fallita!", Url("log_user.php"),
                       "log_file=a&b!.txt&log_info=Verifica- fallita-", "<p>RESULT=OK</p>"}));

    // Every reply line is read and logged; any of them may say OK.
    stub.SetReply("log_user.php", "uno\nRESULT=OK\ndue\n");
    log.clear();
    EXPECT_TRUE(client.HttpLogUser("x.txt", "t"));
    EXPECT_EQ(std::vector<std::string>(log.begin() + 3, log.end()),
              (std::vector<std::string>{"uno", "RESULT=OK", "due"}));

    stub.SetReply("log_user.php", "RESULT=ERROR\n");
    EXPECT_FALSE(client.HttpLogUser("x.txt", "t"));
}

TEST_F(WebClientTest, SendMailFlagZeroAndEmptyLookUps) {
    stub.SetReply("find_acredia_user.php", "RESULT=OK\n");
    client.HttpFindAcrediaUser("T1", "pw", 0);
    EXPECT_EQ(stub.Requests().back().body, "user=corvanex&user_id=T1&user_psw=pw&send_user_mail=0");

    // These two send nothing without a number; the other look-ups send even an empty serial.
    const size_t before = stub.Requests().size();
    log.clear();
    EXPECT_EQ(client.HttpFindCertifAccredia(1, ""), "");
    EXPECT_EQ(client.HttpFindCertifDateCalib(""), "");
    EXPECT_EQ(stub.Requests().size(), before);
    EXPECT_TRUE(log.empty());

    EXPECT_EQ(client.HttpFindCertifDate(""), "NOT_FOUND");
    EXPECT_EQ(stub.Requests().back().body, "user=corvanex&instr_sn=");
    EXPECT_EQ(client.HttpFindMicSubstDate(""), "NOT_FOUND");
    EXPECT_EQ(stub.Requests().back().body, "user=corvanex&instr_sn=");
}

TEST_F(WebClientTest, PasswordsArriveWholeButForTheAmpersand) {
    // Registration turns "&" and eight more characters into "-", the login only "&": the two
    // meet on the server for a password that uses them.
    EXPECT_EQ(client.HttpAddAcrediaUser("T7", "p&w= x", "t7@lab.invalid"), "OK");
    EXPECT_EQ(client.HttpFindAcrediaUser("T7", "p&w= x", 0), "OK");
    EXPECT_EQ(client.HttpFindAcrediaUser("T7", "p&w=x", 0), "Password errata");
    EXPECT_EQ(client.HttpFindAcrediaUser("T7", "", 1),
              "Password inviata all'indirizzo t7@lab.invalid");
    EXPECT_EQ(stub.ReadState("accounts"), "T7;p-w= x;t7@lab.invalid\n");
}

TEST_F(WebClientTest, BusyAnswersAreAskedAgainFiveTimesWithAPauseButTheLogPostNever) {
    stub.AddFault("HTTP_find_certif_date.php", "busy 5");
    stub.WriteState("cert_dates", "S1;2025/01/31\n");
    EXPECT_EQ(client.HttpFindCertifDate("S1"), "ERROR");
    EXPECT_EQ(stub.Requests().size(), 5u);
    EXPECT_EQ(waits, (std::vector<std::uint32_t>(5, 1000)));
    EXPECT_EQ(log.size(), 20u);  // four lines per exchange
    EXPECT_EQ(log[3], "CERT_DATE=BUSY");
    // The sixth request finds the server free again.
    EXPECT_EQ(client.HttpFindCertifDate("S1"), "2025/01/31");

    // A bare "BUSY" line counts as busy too.
    stub.AddFault("HTTP_find_mic_sobst_date.php", "busy 1");
    stub.AddFault("HTTP_find_mic_sobst_date.php", "bare-busy 1");
    stub.WriteState("mic_sobst_dates", "S2;2024/06/01\n");
    waits.clear();
    log.clear();
    EXPECT_EQ(client.HttpFindMicSubstDate("S2"), "2024/06/01");
    EXPECT_EQ(waits, (std::vector<std::uint32_t>{1000, 1000}));
    EXPECT_EQ(log[3], "BUSY");  // the bare line comes first

    stub.AddFault("log_user.php", "busy 3");
    const size_t before = stub.Requests().size();
    waits.clear();
    EXPECT_FALSE(client.HttpLogUser("x.txt", "t"));
    EXPECT_EQ(stub.Requests().size(), before + 1);
    EXPECT_TRUE(waits.empty());
}

TEST_F(WebClientTest, ReplyLinesAroundTheKeyAndCarriageReturns) {
    stub.AddFault("HTTP_find_certif_date.php", "preamble");
    stub.AddFault("HTTP_find_certif_date.php", "trailer");
    stub.AddFault("HTTP_find_certif_date.php", "crlf");
    stub.WriteState("cert_dates", "S3;2026/02/28\n");
    EXPECT_EQ(client.HttpFindCertifDate("S3"), "2026/02/28");
    // Lines after the key line are not read.
    EXPECT_EQ(
        std::vector<std::string>(log.begin() + 3, log.end()),
        (std::vector<std::string>{"<html><body>", "<p>Benvenuto</p>", "CERT_DATE=2026/02/28"}));

    stub.AddFault("HTTP_find_certif_date_calib.php", "nokey");
    log.clear();
    EXPECT_EQ(client.HttpFindCertifDateCalib("S3"), "");
    EXPECT_EQ(log.back(), "<p>Servizio non disponibile</p>");
    EXPECT_TRUE(waits.empty());
}

TEST_F(WebClientTest, BrokenFailedOrMissingRepliesGiveNoAnswerAndNoRetry) {
    // Half of "RESULT=Password inviata ..." must not pass for an answer.
    stub.WriteState("accounts", "T1;pw;t1@lab.invalid\n");
    stub.AddFault("find_acredia_user.php", "truncate");
    EXPECT_EQ(client.HttpFindAcrediaUser("T1", "", 1), "");
    // An error page is no answer, whatever key it carries; any success status is.
    stub.SetReply("HTTP_find_certif_date.php", "CERT_DATE=2099/01/01\n");
    stub.AddFault("HTTP_find_certif_date.php", "status 500");
    EXPECT_EQ(client.HttpFindCertifDate("S1"), "");
    stub.SetReply("log_user.php", "RESULT=OK\n");
    stub.AddFault("log_user.php", "status 404");
    EXPECT_FALSE(client.HttpLogUser("x.txt", "t"));
    stub.AddFault("HTTP_find_certif_date.php", "status 203");
    EXPECT_EQ(client.HttpFindCertifDate("S1"), "2099/01/01");

    RefusingPort refusing;
    client.SetEndpoint({"127.0.0.1", refusing.PortText(), "", "", refusing.PortText()});
    log.clear();
    EXPECT_EQ(client.HttpSendMail("", "oggetto", "testo"), "");
    EXPECT_FALSE(client.HttpLogUser("x.txt", "t"));
    EXPECT_EQ(log.size(), 6u);  // the three lines of each request, no reply
    EXPECT_TRUE(waits.empty());
}

TEST_F(WebClientTest, RepliesPastTheSizeLimitAreNoAnswer) {
    const std::string filler(web::kMaxReplyBytes, 'x');
    stub.SetReply("find_acredia_user.php", filler + "\nRESULT=OK\n");
    EXPECT_EQ(client.HttpFindAcrediaUser("T1", "pw", 0), "");
    stub.SetReply("log_user.php", filler + "\nRESULT=OK\n");
    EXPECT_FALSE(client.HttpLogUser("x.txt", "t"));
    // Up to the limit the reply is whole.
    stub.SetReply("log_user.php", filler.substr(11) + "\nRESULT=OK\n");
    EXPECT_TRUE(client.HttpLogUser("x.txt", "t"));
}

TEST_F(WebClientTest, BusyRetriesEndWithTheCallsTime) {
    // Each busy answer takes 200 ms: five of them would run past the call's 300 ms, and the
    // exchange that is cut short ends the call as a dead connection does.
    client.SetLimits({.connectTimeoutMs = 1000, .stallSeconds = 60, .totalTimeoutMs = 300});
    stub.AddFault("HTTP_find_certif_date.php", "busy 5");
    stub.AddFault("HTTP_find_certif_date.php", "delay 200");
    EXPECT_EQ(client.HttpFindCertifDate("S1"), "");
    EXPECT_LT(stub.Requests().size(), 5u);
}

TEST_F(WebClientTest, WaitCursorIsShownForEachPostAndTakenAway) {
    webtest::RecordingFeedback feedback;
    client.SetWaitFeedback(&feedback);
    stub.AddFault("send_mail_to_corvanex.php", "busy 1");
    client.HttpSendMail("", "s", "t");
    client.HttpLogUser("x.txt", "t");
    EXPECT_EQ(feedback.cursor, (std::vector<bool>{true, false, true, false}));
}

TEST_F(WebClientTest, ServiceScriptsKeepWhatTheyAreSentAndAnswersMayHoldTheirKey) {
    EXPECT_EQ(client.HttpSendMail("", "CORVANEX_USER:codice non valido - user code=T9", ""), "OK");
    EXPECT_EQ(stub.ReadState("mails"), ";CORVANEX_USER:codice non valido - user code=T9;\n");
    stub.WriteState("certif_accredia", "LAT 123;CERT_DATE=2025/01/01;LAB=Lab\n");
    EXPECT_EQ(client.HttpFindCertifAccredia(0, "LAT 123"), "CERT_DATE=2025/01/01;LAB=Lab");
}

TEST_F(WebClientTest, APostWithoutAnAnswerSaysWhyTheServerGaveNone) {
    using Kind = web::PostOutcome::Kind;
    stub.WriteState("cert_dates", "S1;2025/01/31\n");
    const std::vector<std::pair<std::string, Kind>> kinds = {
        {"", Kind::KeyLine}, {"nokey", Kind::NoKeyLine}, {"busy 5", Kind::Busy}};
    for (const auto& [fault, kind] : kinds) {
        stub.WriteState("faults", "HTTP_find_certif_date.php " + fault + "\n");
        client.HttpFindCertifDate("S1");
        EXPECT_EQ(client.LastPost().kind, kind) << fault;
    }
    stub.WriteState("faults", "HTTP_find_certif_date.php redirect http://127.0.0.1:9/altrove\n");
    EXPECT_EQ(client.HttpFindCertifDate("S1"), "");
    EXPECT_EQ(client.LastPost().kind, Kind::Failed);
    EXPECT_EQ(
        client.LastPost().failure,
        "il server ha risposto con lo stato HTTP 302 (rinvio ad altro indirizzo non seguito)");
    stub.WriteState("faults", "");
    stub.SetReply("HTTP_find_certif_date.php", std::string(web::kMaxReplyBytes, 'x') + "\n");
    client.HttpFindCertifDate("S1");
    EXPECT_EQ(client.LastPost().failure, "risposta del server troppo lunga (oltre 2048000 byte)");
}

TEST_F(WebClientTest, PostsAndUploadsGoToThePostsPortAndDownloadsToTheServersPort) {
    RefusingPort refusing;
    stub.ServeFile(Url("a.txt"), "uno\n");
    folder.Write("log.txt", "riga\n");
    client.SetEndpoint({stub.Host(), stub.PortText(), "", "", refusing.PortText()});
    EXPECT_EQ(client.DownloadHttpFile(Url("a.txt"), "", false), "uno\n");
    EXPECT_EQ(client.UploadLogFile(folder.File("log.txt")), "ERROR");
    EXPECT_FALSE(client.HttpLogUser("x.txt", "t"));
    EXPECT_TRUE(platform::StartsWith(client.LastPost().failure, "nessuna risposta dal server ("));

    client.SetEndpoint({stub.Host(), refusing.PortText(), "", "", stub.PortText()});
    EXPECT_EQ(client.DownloadHttpFile(Url("a.txt"), "", false), "-1");
    EXPECT_EQ(client.UploadLogFile(folder.File("log.txt")), "1");
    EXPECT_TRUE(client.HttpLogUser("x.txt", "t"));
    EXPECT_EQ(stub.Requests().size(), 3u);
}
