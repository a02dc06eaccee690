#include <filesystem>

#include "platform/files.h"
#include "web_test_env.h"

namespace {
const std::string kUploadUri = "//qs4060krtn_vp//upload_spectr_3band_2018_quater.php";

std::string Binary(size_t size) {
    // Zero bytes, line ends and boundary-like dashes: nothing in a file may disturb the body.
    std::string data = "[TEST]\r\n--BOUNDARY--\r\n";
    for (size_t i = 0; data.size() < size; ++i)
        data.push_back(static_cast<char>(i * 31 % 256));
    return data;
}
}  // namespace

TEST(WebUploadBody, IsSentByteForByte) {
    platform::ScopedClockSpeed fast(1000.0);
    testenv::ScratchFolder folder;
    webstub::WebStub raw({.rawBodies = true});
    ASSERT_TRUE(raw.Running()) << raw.StartError();
    web::WebClient client;
    client.SetEndpoint({raw.Host(), raw.PortText(), "", "", raw.PortText()});
    folder.Write("archivio_verifiche/R 1.vpg", std::string("KEY=1\r\n\0END", 11));

    client.HttpUploadFilePost(folder.File("archivio_verifiche/R 1.vpg"));
    const auto request = raw.Requests().at(0);
    EXPECT_EQ(request.uri, kUploadUri);
    EXPECT_EQ(request.Header("Content-Type"), "multipart/form-data; boundary=--BOUNDARY---");
    EXPECT_EQ(request.body,
              "----BOUNDARY---\r\n"
              "Content-Disposition: form-data; name=\"action\"\r\n"
              "\r\n"
              "upload\r\n"
              "----BOUNDARY---\r\n"
              "Content-Disposition: form-data; name=\"user_file\"; filename=\"R 1.vpg\"\r\n"
              "Content-Type: application/octet-stream\r\n"
              "\r\n" +
                  std::string("KEY=1\r\n\0END", 11) +
                  "\r\n"
                  "----BOUNDARY---\r\n"
                  "\r\n");
}

TEST_F(WebClientTest, UploadReachesThePhpScriptWholeAndTheReportIsKept) {
    const std::string contents = Binary(100000);
    folder.Write("archivio_verifiche/R1.vpg", contents);
    const std::string vpg = folder.File("archivio_verifiche/R1.vpg");

    EXPECT_EQ(client.HttpUploadFilePost(vpg).result, "1");
    const auto request = stub.Requests().at(0);
    EXPECT_EQ(request.uri, kUploadUri);
    EXPECT_EQ(request.fields,
              (std::vector<std::pair<std::string, std::string>>{{"action", "upload"}}));
    ASSERT_EQ(request.files.count("user_file"), 1u);
    const auto& file = request.files.at("user_file");
    EXPECT_EQ(file.error, 0);
    EXPECT_EQ(file.name, "R1.vpg");
    EXPECT_EQ(file.type, "application/octet-stream");
    EXPECT_TRUE(file.data == contents) << "the file arrived changed";

    EXPECT_EQ(folder.Read("archivio_verifiche/R1.pdf"),
              "%PDF-1.4\n% Rapporto di verifica R1.vpg\n%%EOF\n");
    EXPECT_EQ(folder.Read("archivio_verifiche/R1.vpg"), contents);
    EXPECT_EQ(log, (std::vector<std::string>{"HTTP_upload_file_post - " + vpg, kUploadUri}));
    EXPECT_TRUE(waits.empty());
}

TEST_F(WebClientTest, OnlyAPdfReplacesTheReportAndNeverTheVerificationFile) {
    folder.Write("R2.VPG", "KEY=2\r\n");
    folder.Write("R2.pdf", "%PDF old report");
    EXPECT_EQ(client.HttpUploadFilePost(folder.File("R2.VPG")).result, "1");
    EXPECT_EQ(folder.Read("R2.VPG"), "KEY=2\r\n");
    EXPECT_EQ(folder.Read("R2.pdf").substr(0, 8), "%PDF-1.4");

    // The service's error text is told to the caller; the earlier report stays.
    stub.SetReply("upload_spectr_3band_2018_quater.php", "Errore\nVerifica non valida.<br>\n");
    const web::ReportUpload refused = client.HttpUploadFilePost(folder.File("R2.VPG"));
    EXPECT_EQ(refused.result, "ERROR");
    EXPECT_EQ(refused.serviceError, "Verifica non valida.\n");
    EXPECT_EQ(folder.Read("R2.pdf").substr(0, 8), "%PDF-1.4");
    EXPECT_EQ(log.back(), "Verifica non valida.\n");

    // A rendered report may be far larger than any other reply.
    const std::string big = "%PDF-1.7\n" + std::string(3 * 1024 * 1024, 'x');
    stub.SetReply("upload_spectr_3band_2018_quater.php", big);
    EXPECT_EQ(client.HttpUploadFilePost(folder.File("R2.VPG")).result, "1");
    EXPECT_TRUE(folder.Read("R2.pdf") == big);

    // A report that cannot be written is told once, with no second try.
    stub.SetReply("upload_spectr_3band_2018_quater.php", "%PDF-1.4\n");
    testenv::TestOperator op;
    op.ExpectBox("ERROR: Unable to open file");
    folder.Write("R6.vpg", "KEY=6\r\n");
    std::filesystem::create_directory(folder.File("R6.pdf"));
    EXPECT_EQ(client.HttpUploadFilePost(folder.File("R6.vpg")).result, "");
    EXPECT_EQ(stub.Requests().size(), 4u);
}

TEST_F(WebClientTest, EmptyOrBrokenRepliesAreTriedFiveTimesAndKeepTheEarlierReport) {
    folder.Write("R4.vpg", "KEY=4\r\n");
    folder.Write("R4.pdf", "old report");
    stub.AddFault("upload_spectr_3band_2018_quater.php", "empty");
    EXPECT_EQ(client.HttpUploadFilePost(folder.File("R4.vpg")).result, "ERROR");
    EXPECT_EQ(stub.Requests().size(), 5u);
    EXPECT_EQ(waits, (std::vector<std::uint32_t>(5, 1000)));
    EXPECT_EQ(log.size(), 15u);
    EXPECT_EQ(log[2], "");
    EXPECT_EQ(folder.Read("R4.pdf"), "old report");

    folder.Write("R5.vpg", "KEY=5\r\n");
    folder.Write("R5.pdf", "%PDF earlier report");
    for (const char* fault : {"truncate", "status 500"}) {
        SCOPED_TRACE(fault);
        stub.WriteState("faults", std::string("upload_spectr_3band_2018_quater.php ") + fault);
        EXPECT_EQ(client.HttpUploadFilePost(folder.File("R5.vpg")).result, "ERROR");
        EXPECT_EQ(folder.Read("R5.pdf"), "%PDF earlier report");
    }
}

TEST_F(WebClientTest, UploadAttemptsEndWithTheCallsTime) {
    // Each empty reply takes 200 ms: five attempts would run past the call's 300 ms.
    client.SetLimits({.connectTimeoutMs = 1000, .stallSeconds = 60, .totalTimeoutMs = 300});
    folder.Write("R7.vpg", "KEY=7\r\n");
    stub.AddFault("upload_spectr_3band_2018_quater.php", "empty");
    stub.AddFault("upload_spectr_3band_2018_quater.php", "delay 200");
    EXPECT_EQ(client.HttpUploadFilePost(folder.File("R7.vpg")).result, "ERROR");
    EXPECT_LT(stub.Requests().size(), 5u);
}

TEST_F(WebClientTest, LogFileGoesToTheLogUploadAndFilesThatCannotBeReadSendNothing) {
    EXPECT_EQ(client.HttpUploadFilePost(folder.File("missing.vpg")).result, "ERROR_OPEN_FILE");
    std::filesystem::create_directory(folder.File("folder.vpg"));
    EXPECT_EQ(client.HttpUploadFilePost(folder.File("folder.vpg")).result, "ERROR_OPEN_FILE");
    EXPECT_EQ(client.UploadLogFile(folder.File("none.txt")), "ERROR_OPEN_FILE");
    EXPECT_TRUE(stub.Requests().empty());

    folder.Write("archivio_verifiche/instr_123_2026_12_06_Log.txt", "riga 1\r\nriga 2\r\n");
    EXPECT_EQ(client.UploadLogFile(folder.File("archivio_verifiche/instr_123_2026_12_06_Log.txt")),
              "1");
    EXPECT_EQ(stub.Requests().at(0).uri, "//qs4060krtn_vp//upload_log_file.php");
    EXPECT_EQ(stub.ReadState("uploaded_logs/instr_123_2026_12_06_Log.txt"), "riga 1\r\nriga 2\r\n");
    EXPECT_TRUE(log.empty());
}
