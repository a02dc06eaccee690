#include "report/instr_log.h"

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "support/test_env.h"

namespace {
class InstrLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::Clock::SetFixedNow(platform::DateTime::FromParts(2026, 3, 9, 17, 5, 4).Seconds());
    }
    void TearDown() override { platform::Clock::SetFixedNow(std::nullopt); }

    testenv::ScratchFolder folder;
    std::string serial = "B77";
    std::vector<std::string> uploads;
    InstrLog log{folder.Path(), [this] { return serial; },
                 [this](const std::string& path) { uploads.push_back(path); }};
};
}  // namespace

TEST_F(InstrLogTest, LinesGoToTheDaysLogOfTheInstrument) {
    log.WriteInstrLog("Avvio verifica");
    log.WriteInstrLog("Prova 94 dB");
    serial = "C88";
    log.WriteInstrLog("altro strumento");
    EXPECT_EQ(folder.Read("archivio_verifiche/instr_B77_2026_03_09_Log.txt"),
              "2026/03/09 17:05:04: Avvio verifica\r\n2026/03/09 17:05:04: Prova 94 dB\r\n");
    EXPECT_EQ(folder.Read("archivio_verifiche/instr_C88_2026_03_09_Log.txt"),
              "2026/03/09 17:05:04: altro strumento\r\n");
    EXPECT_TRUE(uploads.empty());
}

TEST_F(InstrLogTest, FailureWordsSendTheLogAtOnceWithTheLineInIt) {
    const struct {
        std::string text;
        bool upload;
    } cases[] = {
        {"Verifica FALLITA", true},   {"prova fallita", true}, {"lettura irregolare", true},
        {"letture irregolari", true}, {"Fallita", false},      {"Verifica OK", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        uploads.clear();
        log.WriteInstrLog(c.text);
        EXPECT_EQ(uploads.size(), c.upload ? 1u : 0u);
    }
    const std::string path = folder.File("archivio_verifiche/instr_B77_2026_03_09_Log.txt");
    log.WriteInstrLog("DUT: fallita");
    ASSERT_EQ(uploads, (std::vector<std::string>{path}));
    EXPECT_NE(
        folder.Read("archivio_verifiche/instr_B77_2026_03_09_Log.txt").find("DUT: fallita\r\n"),
        std::string::npos);
}

TEST_F(InstrLogTest, UploadThatLogsAFailureStartsNoSecondUpload) {
    int calls = 0;
    InstrLog* self = nullptr;
    InstrLog nested(
        folder.Path(), [] { return std::string("B77"); },
        [&](const std::string&) {
            ++calls;
            self->WriteInstrLog("invio log fallita");
        });
    self = &nested;
    nested.WriteInstrLog("Verifica FALLITA");
    EXPECT_EQ(calls, 1);
    nested.WriteInstrLog("di nuovo FALLITA");
    EXPECT_EQ(calls, 2);
}

TEST_F(InstrLogTest, SerialNumberCannotLeaveTheReportFolder) {
    serial = "../../x/y";
    log.WriteInstrLog("riga");
    EXPECT_EQ(log.LogPath(platform::DateTime(platform::Clock::Now())),
              folder.File("archivio_verifiche/instr_..-..-x-y_2026_03_09_Log.txt"));
    EXPECT_EQ(folder.Read("archivio_verifiche/instr_..-..-x-y_2026_03_09_Log.txt"),
              "2026/03/09 17:05:04: riga\r\n");
}
