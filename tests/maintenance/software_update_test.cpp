// The software update check against the web service's stand-in: the version list, the
// questions, the archive's download and unpacking, and the outside updater.
#include <gtest/gtest.h>

#include <vector>

#include "maintenance/software_update.h"
#include "platform/event_loop.h"
#include "platform/shell.h"
#include "web/web_test_env.h"
#include "zip/zip_archive.h"

namespace {

using maintenance::AvailableUpdate;
using maintenance::CompareVersions;
using maintenance::FindNewerVersion;

constexpr const char* kList = "//qs4060krtn_vp//software_upgrade//sw_versions.txt";
constexpr const char* kArchive = "//qs4060krtn_vp//software_upgrade//kx9_1_1_0.zip";
constexpr const char* kAsk =
    "E' disponibile una versione aggiornata del software.\nScaricarla ora ?";
constexpr const char* kAnnounce =
    "E' disponibile una versione aggiornata del software.\nL'aggiornamento verra' eseguito ora";

TEST(VersionListTest, VersionsCompareByTheirNumbers) {
    EXPECT_LT(CompareVersions("1.9", "1.10"), 0);
    EXPECT_EQ(CompareVersions("1.2", "1.2.0"), 0);
    EXPECT_GT(CompareVersions("2.0.1", "2.0"), 0);

    const std::string list = "0.9;old.zip\r\n1.1.0;a.zip\n\n1.10;b.zip\n1.2;\nbroken line\n";
    EXPECT_EQ(FindNewerVersion(list, "1.0.0"), (AvailableUpdate{"1.10", "b.zip"}));
    EXPECT_EQ(FindNewerVersion(list, "1.10"), std::nullopt);
    EXPECT_EQ(FindNewerVersion("", "1.0.0"), std::nullopt);
}

class SoftwareUpdateTest : public WebClientTest {
protected:
    SoftwareUpdateTest() {
        platform::SetShellRecorder([this](const platform::ShellRequest& request) {
            started.push_back(request);
            return starts;
        });
    }
    ~SoftwareUpdateTest() override {
        platform::SetShellRecorder(nullptr);
        platform::EventLoop::ClearQuit();
    }

    void ServeNewerVersion() {
        stub.ServeFile(kList, "1.0.0;kx9_1_0_0.zip\n1.1.0;kx9_1_1_0.zip\n");
        folder.Write("leggimi.txt", "1.1.0");
        CZipArchive zip;
        ASSERT_TRUE(zip.Open(folder.File("build.zip"), CZipArchive::kCreate));
        ASSERT_TRUE(zip.AddNewFile(folder.File("leggimi.txt"), -1, false));
        zip.Close();
        stub.ServeFile(kArchive, folder.Read("build.zip"));
    }
    int Check(int ask, int tell) { return update.Check(client, folder.Path(), ask, tell, "1.0.0"); }

    testenv::TestOperator op;
    maintenance::SoftwareUpdate update;
    std::vector<platform::ShellRequest> started;
    bool starts = true;
};

TEST_F(SoftwareUpdateTest, NothingNewerIsToldOnlyWhenAskedToTell) {
    stub.ServeFile(kList, "1.0.0;kx9_1_0_0.zip\n");
    EXPECT_EQ(Check(0, 0), 0);
    EXPECT_EQ(Check(1, 0), 0);
    op.ExpectBox("Non ci sono aggiornamenti.");
    EXPECT_EQ(Check(1, 1), 0);

    // No list on the server: the start-up goes on silently, the menu command says why.
    stub.AddFault("sw_versions.txt", "status 404");
    EXPECT_EQ(Check(0, 0), 0);
    op.ExpectBox("Verifica aggiornamenti software non riuscita.");
    EXPECT_EQ(Check(1, 1), 0);
    EXPECT_TRUE(started.empty());
}

TEST_F(SoftwareUpdateTest, WithoutAnUpdaterANewerVersionIsToldOnceAndNothingIsDownloaded) {
    ServeNewerVersion();
    const std::string notInstalled =
        "E' disponibile una versione aggiornata del software (1.1.0).\nNessun programma di "
        "aggiornamento configurato (updater.ini): l'aggiornamento non viene installato";
    op.ExpectBox(notInstalled);
    EXPECT_EQ(Check(0, 0), 0);
    // The start-up's second look says nothing; the operator who asks is told again.
    EXPECT_EQ(Check(0, 0), 0);
    op.ExpectBox(notInstalled);
    EXPECT_EQ(Check(1, 1), 0);
    EXPECT_EQ(RequestsFor(kList), 2);
    EXPECT_EQ(RequestsFor(kArchive), 0);
    EXPECT_TRUE(started.empty());
    EXPECT_FALSE(platform::EventLoop::QuitPending());
}

TEST_F(SoftwareUpdateTest, ADeclinedUpdateIsNotFetchedAndTheUpdaterGetsTheUnpackedOne) {
    ServeNewerVersion();
    folder.Write("updater.ini", "# il programma del produttore\nUPDATER= /opt/corvanex/upd \n");
    op.ExpectBox(kAsk, IDNO);
    EXPECT_EQ(Check(1, 1), 0);
    EXPECT_EQ(RequestsFor(kArchive), 0);
    op.ExpectBox(kAsk, IDYES);
    EXPECT_EQ(Check(1, 1), 1);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].path, "/opt/corvanex/upd");
    EXPECT_EQ(folder.Read("software_upgrade/leggimi.txt"), "1.1.0");
    EXPECT_EQ(started[0].arguments,
              (std::vector<std::string>{folder.File("software_upgrade"), folder.Path()}));
    EXPECT_TRUE(platform::EventLoop::QuitPending());

    // An updater that cannot be started leaves the program running.
    platform::EventLoop::ClearQuit();
    starts = false;
    op.ExpectBox(kAnnounce);
    op.ExpectBox("Avvio del programma di aggiornamento fallito");
    EXPECT_EQ(Check(0, 0), 0);
    EXPECT_FALSE(platform::EventLoop::QuitPending());
}

TEST_F(SoftwareUpdateTest, ABrokenArchiveIsReportedAndNothingIsStarted) {
    ServeNewerVersion();
    stub.ServeFile(kArchive, "questo non e' uno zip");
    folder.Write("updater.ini", "UPDATER=/opt/corvanex/upd\n");
    op.ExpectBox(kAnnounce);
    op.ExpectBox("Archivio dell'aggiornamento software non valido: kx9_1_1_0.zip");
    EXPECT_EQ(Check(0, 0), 0);
    EXPECT_TRUE(started.empty());
}

}  // namespace
