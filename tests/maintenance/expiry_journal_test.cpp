// The record of a calibration-expiry change under way: what a killed run leaves for the next.
#include <gtest/gtest.h>

#include "maintenance/expiry_journal.h"
#include "platform/files.h"
#include "platform/text.h"
#include "support/test_env.h"

namespace {

using maintenance::ExpiryJournal;
using maintenance::PendingChange;

TEST(ExpiryJournalTest, EachMetersRecordComesBackAsKeptAndAFileOfNoWholeRecordsIsRefused) {
    testenv::ScratchFolder folder;
    ExpiryJournal journal(folder.File("pending.txt"));
    // Whatever the values hold stays in its place.
    const PendingChange change{"T7", "", {{"MAKER", "a;b", "c%d\n=\x01"}}};
    ASSERT_TRUE(journal.Keep(change));
    ASSERT_TRUE(journal.Keep({"T9", "1", {{"MAKER", "a", "b"}}}));
    std::optional<PendingChange> found;
    ASSERT_TRUE(journal.Find("T7", found));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->fields, change.fields);
    ASSERT_TRUE(journal.Remove("T7"));
    ASSERT_TRUE(journal.Remove("T9"));
    EXPECT_FALSE(platform::FileExists(journal.Path()));

    for (const auto& [text, problem] : std::vector<std::pair<std::string, std::string>>{
             {"SN=T7\nTECNICO=1\n", "registrazione incompleta"},
             {"TECNICO=1\n", "riga 1 non valida"},
             {"SN=T7\nCAMPO=MAKER;a\n", "riga 2 non valida"},
             {"SN=T7\nCAMPO=MAKER;%4;b\n", "riga 2 non valida"}}) {
        folder.Write("pending.txt", text);
        EXPECT_FALSE(journal.Find("T7", found)) << text;
        EXPECT_EQ(journal.Problem(), journal.Path() + ": " + problem);
        // Nothing is written over what cannot be read.
        EXPECT_FALSE(journal.Keep(change));
        EXPECT_EQ(folder.Read("pending.txt"), text);
    }
}

TEST(ExpiryJournalTest, ARecordSavedWithDesktopLineEndsIsFoundAsKept) {
    testenv::ScratchFolder folder;
    ExpiryJournal journal(folder.File("pending.txt"));
    const std::vector<maintenance::JournalField> fields{{"CERT_DATE", "2023/01/01", "2025/06/30"}};
    // As a desktop editor saves it, and as the program rewrote such a file, the CR escaped.
    for (const char* text :
         {"SN=T7\r\nTECNICO=1\r\nCAMPO=CERT_DATE;2023/01/01;2025/06/30\r\n",
          "SN=T7%0D\nTECNICO=1%0D\nCAMPO=CERT_DATE;2023/01/01;2025/06/30%0D\n"}) {
        folder.Write("pending.txt", text);
        std::optional<PendingChange> found;
        ASSERT_TRUE(journal.Find("T7", found)) << journal.Problem();
        ASSERT_TRUE(found) << text;
        EXPECT_EQ(found->technician, "1");
        EXPECT_EQ(found->fields, fields);
    }
}

TEST(ExpiryJournalTest, AFilePastTheBoundIsRefusedByNameAndNoRecordGrowsOnePastIt) {
    testenv::ScratchFolder folder;
    ExpiryJournal journal(folder.File("pending.txt"));
    constexpr size_t kBound = 1024 * 1024;
    // Whole records, up to the bound.
    std::string records;
    for (int meter = 0;; ++meter) {
        const std::string record =
            platform::Format("SN=M%06d\nTECNICO=1\nCAMPO=MAKER;a;b\n", meter);
        if (records.size() + record.size() > kBound)
            break;
        records += record;
    }
    folder.Write("pending.txt", records);
    const std::string tooLarge =
        journal.Path() + ": troppo grande (oltre 1048576 byte) per un registro delle modifiche";
    EXPECT_FALSE(journal.Keep({"T7", "654321", {{"CERT_DATE", "2023/01/01", "2025/06/30"}}}));
    EXPECT_EQ(journal.Problem(), tooLarge);
    // Compared whole: a failure's report of two megabyte-long texts would take minutes.
    EXPECT_TRUE(folder.Read("pending.txt") == records);

    folder.Write("pending.txt", records + records);
    std::optional<PendingChange> found;
    EXPECT_FALSE(journal.Find("M000001", found));
    EXPECT_EQ(journal.Problem(), tooLarge);
    EXPECT_FALSE(journal.Remove("M000001"));
}

}  // namespace
