// The pieces of the client that need no server.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/test_env.h"
#include "web/http_exchange.h"
#include "web/multipart_upload.h"
#include "web/server_endpoint.h"
#include "web/service_paths.h"

using namespace web;

TEST(WebPaths, ReportPathAndUploadName) {
    EXPECT_EQ(ReportPathFor("/lab/archivio_verifiche/R1.vpg"), "/lab/archivio_verifiche/R1.pdf");
    // Only the file's own extension: a folder named like a report stays where it is.
    EXPECT_EQ(ReportPathFor("/lab/a.vpg/R1.vpg"), "/lab/a.vpg/R1.pdf");
    EXPECT_EQ(ReportPathFor("/lab/R.vpg.1.VPG"), "/lab/R.vpg.1.pdf");
    EXPECT_EQ(ReportPathFor("/lab/R1"), "/lab/R1.pdf");
    EXPECT_EQ(ReportPathFor("/lab.vpg/R1"), "/lab.vpg/R1.pdf");
    EXPECT_EQ(UploadFileName("C:\\lab\\R1.vpg"), "R1.vpg");
    EXPECT_EQ(EscapePath("//a b//c\"d\x01\xe8.txt"), "//a%20b//c%22d%01%E8.txt");
}

TEST(WebPaths, AKeyFilePathHoldsTheSerialAsOnePieceOfThePath) {
    EXPECT_EQ(KeyFilePath("T200"), "hash_keys//T200hash.txt");
    EXPECT_EQ(KeyFilePath("QS-4060_1.a~"), "hash_keys//QS-4060_1.a~hash.txt");
    EXPECT_EQ(KeyFilePath("citt\xE0?1"), "hash_keys//citt%E0%3F1hash.txt");
    EXPECT_EQ(KeyFilePath("../T200"), std::nullopt);
    EXPECT_EQ(KeyFilePath("..\\T200"), std::nullopt);
}

TEST(WebPaths, OnlyAReplyThatBeginsAsAPdfIsAReport) {
    EXPECT_TRUE(IsPdfReport("%PDF-1.4\n"));
    EXPECT_FALSE(IsPdfReport("xPDF-1.4\n"));
    EXPECT_FALSE(IsPdfReport("Errore\n%PDF"));
    EXPECT_EQ(ServiceErrorText("Errore\r\nVerifica non valida.<br>\r\nManca la prova<br>n. 3"),
              "Verifica non valida.\nManca la prova\nn. 3");
    EXPECT_EQ(ServiceErrorText("Errore"), "");
}

TEST(WebEndpoint, SettingsFileThenAlternativeServerFile) {
    testenv::ScratchFolder folder;
    EXPECT_EQ(LoadServerEndpoint(folder.Path()).host, "webservice.invalid");

    folder.Write("webservice.ini",
                 "# web service\r\nSERVER_HOST=service.lab.invalid \r\nDOWNLOAD_USER=station\r\n"
                 "DOWNLOAD_PASSWORD=pa=ss word\r\n");
    ServerEndpoint configured = LoadServerEndpoint(folder.Path());
    EXPECT_EQ(configured.host, "service.lab.invalid");
    EXPECT_EQ(configured.port, "80");
    EXPECT_EQ(configured.downloadPassword, "pa=ss word");

    folder.Write("alt_www.dll", "alt.lab.invalid  \r\n8080\r\n");
    ServerEndpoint alternative = LoadServerEndpoint(folder.Path());
    EXPECT_EQ(alternative.host, "alt.lab.invalid");
    EXPECT_EQ(alternative.port, "8080");
    EXPECT_EQ(alternative.downloadUser, "station");
    folder.Write("alt_www.dll", "only.host.invalid");
    EXPECT_EQ(LoadServerEndpoint(folder.Path()).port, "80");
}

TEST(WebEndpoint, TheSettingsNameThePostsPortAndWhatIsWrongWithThem) {
    testenv::ScratchFolder folder;
    const std::string sound =
        "SERVER_HOST=h\nDOWNLOAD_USER=u\nDOWNLOAD_PASSWORD=p\nPOST_PORT=8081\n";
    folder.Write("webservice.ini", sound);
    EXPECT_EQ(LoadServerEndpoint(folder.Path()).postPort, "8081");
    EXPECT_EQ(LoadServerEndpoint(folder.Path()).settingsProblem, "");
    for (const auto& [text, problem] : std::vector<std::pair<std::string, std::string>>{
             {" \r\n", "e' vuoto"},
             {std::string("SERVER_HOST=h\0", 14),
              "non e' un file di testo (byte 0x00 in posizione 13)"},
             {"SERVER_HOST=h\nDOWNLOAD_USER=u\nDOWNLOAD_PASSWORD=\n", "manca DOWNLOAD_PASSWORD"},
             {sound + "POST_PORT=80a\n", "POST_PORT non e' un numero di porta (\"80a\")"}}) {
        folder.Write("webservice.ini", text);
        EXPECT_EQ(LoadServerEndpoint(folder.Path()).settingsProblem,
                  folder.File("webservice.ini") + ": " + problem);
    }
    ASSERT_EQ(::unlink(folder.File("webservice.ini").c_str()), 0);
    ASSERT_EQ(::mkdir(folder.File("webservice.ini").c_str(), 0700), 0);
    EXPECT_EQ(LoadServerEndpoint(folder.Path()).settingsProblem,
              folder.File("webservice.ini") + ": e' una cartella, non un file");
}

TEST(WebExchange, BadOrPlaceholderHostsAreRefusedUnsent) {
    HttpRequest request;
    request.path = "/";
    request.host = "evil.invalid/x?";
    HttpReply reply = PerformHttp(request, {});
    EXPECT_EQ(reply.outcome, HttpReply::Outcome::NotSent);
    EXPECT_NE(reply.errorText.find("invalid server host"), std::string::npos);

    // No name server is asked for the placeholder.
    request.host = kPlaceholderHost;
    reply = PerformHttp(request, {});
    EXPECT_EQ(reply.outcome, HttpReply::Outcome::NotSent);
    EXPECT_EQ(reply.errorText, "Could not resolve host: webservice.invalid");
}
