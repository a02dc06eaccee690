#include <gtest/gtest.h>

#include "app/kx9monitor_app.h"
#include "app/startup_host.h"
#include "app/startup_settings.h"
#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/files.h"
#include "support/test_env.h"

using platform::DateTime;

namespace {
class FakeStartupHost : public StartupHost {
public:
    void CheckInternetConnection() override {
        ++checks;
        checked = internet;
    }
    bool IsInternetChecked() const override { return checked; }
    bool UpdateServerDatabases() override {
        ++updates;
        return true;
    }

    bool internet = true;
    bool checked = false;
    int checks = 0;
    int updates = 0;
};

class StartupCheckTest : public ::testing::Test {
protected:
    StartupCheckTest() {
        platform::Clock::SetFixedNow(now.Seconds());
        app.SetStartupHost(&host);
        // The databases are present unless a test removes them.
        folder.Write("msvcrt80.dll", "x");
        folder.Write("msvcrt70.dll", "x");
    }
    ~StartupCheckTest() override { platform::Clock::SetFixedNow(std::nullopt); }

    void WriteSettings(const DateTime& lastUpdate, const std::string& extra = "") {
        folder.Write("QS4060KRTN_VP.ini",
                     "LAST_UPDATE:" + lastUpdate.Format("%Y/%m/%d %H:%M:%S") + "  \r\n" + extra);
    }

    testenv::ScratchFolder folder;
    testenv::TestOperator op;
    const DateTime now = *DateTime::Parse("2026/12/06 10:00:00");
    FakeStartupHost host;
    CKX9MonitorApp app;
};
}  // namespace

TEST_F(StartupCheckTest, RefreshIsDueAfterFifteenDaysAndRecordsItsTime) {
    WriteSettings(now.AddDays(-15));
    const std::string before = folder.Read("QS4060KRTN_VP.ini");
    app.m_bDebug = 1;
    app.StartupUpdateCheck();
    EXPECT_EQ(host.checks + host.updates, 0);
    EXPECT_EQ(folder.Read("QS4060KRTN_VP.ini"), before);
    EXPECT_EQ(app.m_bDebug, 0);  // the check clears the debug flag

    WriteSettings(now.AddDays(-16), "DISPLAY_AUDIO_SETTING=0\r\n");
    app.StartupUpdateCheck();
    EXPECT_EQ(host.checks, 1);
    EXPECT_EQ(host.updates, 1);
    EXPECT_EQ(folder.Read("QS4060KRTN_VP.ini"),
              "LAST_UPDATE:2026/12/06 10:00:00\r\nDISPLAY_AUDIO_SETTING=0\r\n");
    EXPECT_EQ(app.m_nDisplayAudioSetting, 0);
    // What it wrote reads back the same, and is not due again.
    CKX9MonitorApp again;
    again.SetStartupHost(&host);
    again.StartupUpdateCheck();
    EXPECT_EQ(again.m_nDisplayAudioSetting, 0);
    EXPECT_EQ(host.checks, 1);
}

TEST_F(StartupCheckTest, DueRefreshWithoutInternetChangesNothingAndAGarbledTimeIsDue) {
    host.internet = false;
    WriteSettings(now.AddDays(-40));
    const std::string before = folder.Read("QS4060KRTN_VP.ini");
    app.StartupUpdateCheck();
    EXPECT_EQ(host.checks, 1);
    EXPECT_EQ(host.updates, 0);
    EXPECT_EQ(folder.Read("QS4060KRTN_VP.ini"), before);

    host.internet = true;
    folder.Write("QS4060KRTN_VP.ini", "LAST_UPDATE:yesterday-ish\r\n");
    app.StartupUpdateCheck();
    EXPECT_EQ(host.updates, 1);
    EXPECT_EQ(folder.Read("QS4060KRTN_VP.ini"),
              "LAST_UPDATE:2026/12/06 10:00:00\r\nDISPLAY_AUDIO_SETTING=1\r\n");
}

TEST_F(StartupCheckTest, MissingDatabasesNeedTheInternetCheckToHavePassed) {
    platform::RemoveFile(folder.File("msvcrt80.dll"));
    WriteSettings(now.AddDays(-1));
    app.StartupUpdateCheck();
    EXPECT_EQ(host.updates, 0);
    host.checked = true;  // an earlier check found the server
    app.StartupUpdateCheck();
    EXPECT_EQ(host.updates, 1);

    // A missing settings file is reported and the database checks still run.
    folder.Write("msvcrt80.dll", "x");
    platform::RemoveFile(folder.File("msvcrt70.dll"));
    platform::RemoveFile(folder.File("QS4060KRTN_VP.ini"));
    op.ExpectBox("Unable to open QS4060KRTN_VP.ini");
    app.StartupUpdateCheck();
    EXPECT_EQ(host.updates, 2);
}

TEST_F(StartupCheckTest, BookingLapsesAfterSevenDays) {
    WriteSettings(now);
    for (int days : {6, 7}) {
        folder.Write("msvcrt60_temp.dll",
                     now.AddDays(-days).Format("%Y/%m/%d %H:%M:%S") + "\r\nA1;B2\r\n");
        app.StartupUpdateCheck();
        EXPECT_EQ(platform::FileExists(folder.File("msvcrt60_temp.dll")), days < 7) << days;
    }
}
