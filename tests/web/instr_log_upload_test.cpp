// The instrument log and the web client wired as the frame wires them.
#include "platform/date_time.h"
#include "report/instr_log.h"
#include "web_test_env.h"

TEST_F(WebClientTest, FailureLineSendsTheDaysLogWithTheExchangeAndNoPassword) {
    platform::Clock::SetFixedNow(platform::DateTime::FromParts(2026, 12, 6, 9, 30, 0).Seconds());
    InstrLog instrLog(
        folder.Path(), [] { return std::string("A123"); },
        [this](const std::string& path) { client.UploadLogFile(path); });
    client.SetInstrLog([&](const std::string& text) { instrLog.WriteInstrLog(text); });

    stub.WriteState("accounts", "T1;segreto;t1@lab.invalid\n");
    EXPECT_EQ(client.HttpFindAcrediaUser("T1", "segreto", 0), "OK");
    instrLog.WriteInstrLog("DUT: Verifica strumento run STOP fallita");
    platform::Clock::SetFixedNow(std::nullopt);

    const std::string expected =
        "2026/12/06 09:30:00: HTTP_find_acredia_user\r\n"
        "2026/12/06 09:30:00: //qs4060krtn_vp//find_acredia_user.php\r\n"
        "2026/12/06 09:30:00: user=corvanex&user_id=T1&user_psw=*****&send_user_mail=0\r\n"
        "2026/12/06 09:30:00: RESULT=OK\r\n"
        "2026/12/06 09:30:00: DUT: Verifica strumento run STOP fallita\r\n";
    EXPECT_EQ(folder.Read("archivio_verifiche/instr_A123_2026_12_06_Log.txt"), expected);
    EXPECT_EQ(stub.ReadState("uploaded_logs/instr_A123_2026_12_06_Log.txt"), expected);
}
