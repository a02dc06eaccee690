// Saving chosen pages: single files keep their head and get the chosen pages at the lengths the
// format module gives, indexed recordings become one zip archive that Info-ZIP and Python read
// and the data-set reader opens again; the dialog's rules around the save.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>

#include "acquisition/data_buffer.h"
#include "acquisition/data_set.h"
#include "acquisition/sel_file_to_save_dlg.h"
#include "acquisition_test_support.h"
#include "platform/files.h"
#include "platform/text.h"
#include "support/dialog_steps.h"
#include "support/test_env.h"
#include "ui/hooked_dialog.h"

using namespace acquisition;

namespace {

// A single page file of `pages` full pages of octave spectra, page size `pageSize`.
std::string OctaveFile(int pages, long long pageSize, const std::string& scheduler = "NO SCHED") {
    records::SetupBlock block;
    block.SetField(records::SetupBlock::kAcquisitionMode, "OCTAVE");
    block.SetField(records::SetupBlock::kPagingSize, std::to_string(pageSize));
    std::string file =
        records::PageFileHead(block, records::ParseSchedulerField(scheduler),
                              records::ParseSchedulerField(scheduler), "2024/05/01 10:00:00");
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            file += "2024/05/01 10:0" + std::to_string(page) + ":00 ";
        for (long long sample = 0; sample < pageSize; ++sample) {
            std::vector<std::uint16_t> bands(12, static_cast<std::uint16_t>(page * 100 + sample));
            file += records::EncodeRecord(
                records::PackTimeWord(10, page, static_cast<int>(sample % 60)), bands);
        }
    }
    return file;
}

class SavePagesTest : public ::testing::Test {
protected:
    // Page `page` of a data set as the reader loads it.
    std::string Page(const std::string& path, int page) {
        const DataSetListing listing = ListDataSet(path);
        EXPECT_FALSE(listing.failure) << *listing.failure;
        if (listing.failure || listing.pages.empty())
            return {};
        const RecordingSetup& setup = listing.Setup(0);
        const PageLoad load = LoadPage(path, page, setup.Layout(), setup.pageSize, buffer);
        return std::string(buffer.begin(), buffer.begin() + load.bytes);
    }
    size_t FilesIn(const std::string& folder) {
        size_t files = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
            ++files;
        return files;
    }

    testenv::ScratchFolder folder;
    std::vector<unsigned char> buffer = std::vector<unsigned char>(records::kDataBufferSize);
};

}  // namespace

TEST_F(SavePagesTest, ASingleFileKeepsItsHeadAndTheChosenPagesWhole) {
    folder.Write("octave.kr9", OctaveFile(3, 1000));
    const PageSaveResult result =
        SaveSelectedPages(folder.File("octave.kr9"), folder.File("two.kr9"), {0, 2});
    ASSERT_TRUE(result.saved) << result.failure;
    EXPECT_EQ(folder.Read("two.kr9").size(), 500u + 2 * 26020u);
    EXPECT_EQ(Page(folder.File("two.kr9"), 0), Page(folder.File("octave.kr9"), 0));
    EXPECT_EQ(Page(folder.File("two.kr9"), 1), Page(folder.File("octave.kr9"), 2));
    EXPECT_TRUE(result.schedulerLog.empty());
}

TEST_F(SavePagesTest, ProfilePagesLabelHeadersAndAShortLastPageKeepTheirReaderLengths) {
    SKIP_WITHOUT("python3");
    ASSERT_EQ(acqtest::RunReference("layout_reference.py", "make ."), 0);
    // 0.25 s profile pages of 5 samples are 32 bytes, not 5 records of 4 bytes and the start.
    ASSERT_TRUE(SaveSelectedPages(folder.File("profile.kr9"), folder.File("p.kr9"), {1}).saved);
    EXPECT_EQ(folder.Read("p.kr9").size(), 500u + 32u);
    EXPECT_EQ(Page(folder.File("p.kr9"), 0), Page(folder.File("profile.kr9"), 1));

    // The single file's last page holds one record of its two: it stays last, whatever order
    // the pages were chosen in, so no page after it is shifted.
    ASSERT_TRUE(SaveSelectedPages(folder.File("single.kr9"), folder.File("s.kr9"), {2, 0}).saved);
    EXPECT_EQ(folder.Read("s.kr9").size(), 500u + 44u + 32u);
    EXPECT_EQ(Page(folder.File("s.kr9"), 0), Page(folder.File("single.kr9"), 0));
    EXPECT_EQ(Page(folder.File("s.kr9"), 1), Page(folder.File("single.kr9"), 2));

    // A page file with label blocks keeps them in front of its setup block.
    std::filesystem::copy_file(folder.File("page_a.rec"), folder.File("labelled.kr9"));
    ASSERT_TRUE(SaveSelectedPages(folder.File("labelled.kr9"), folder.File("l.kr9"), {0}).saved);
    EXPECT_EQ(folder.Read("l.kr9"), folder.Read("page_a.rec"));
}

TEST_F(SavePagesTest, AFileSavedOntoItselfOrAScheduledOneKeepsEveryByteItNeeds) {
    folder.Write("rec.kr9", OctaveFile(3, 10, "00:01:00"));
    folder.Write("rec_LogScheduler.txt", "2024/05/01 10:00:00: Start Monitoring\r\n");
    const std::string page2 = Page(folder.File("rec.kr9"), 2);
    const PageSaveResult self =
        SaveSelectedPages(folder.File("rec.kr9"), folder.File("rec.kr9"), {2});
    ASSERT_TRUE(self.saved) << self.failure;
    EXPECT_EQ(Page(folder.File("rec.kr9"), 0), page2);

    const PageSaveResult copy =
        SaveSelectedPages(folder.File("rec.kr9"), folder.File("copy.kr9"), {0});
    ASSERT_TRUE(copy.saved);
    EXPECT_EQ(copy.schedulerLog, folder.File("copy_LogScheduler.txt"));
    EXPECT_EQ(folder.Read("copy_LogScheduler.txt"), folder.Read("rec_LogScheduler.txt"));
}

TEST_F(SavePagesTest, AnIndexedRecordingBecomesOneArchiveThatEveryReaderOpens) {
    SKIP_WITHOUT("python3");
    ASSERT_EQ(acqtest::RunReference("layout_reference.py", "make ."), 0);
    folder.Write("set_LogScheduler.txt", "log line\r\n");
    std::filesystem::create_directory(folder.File("out"));
    const std::string target = folder.File("out/mon.kr9");
    const PageSaveResult result = SaveSelectedPages(folder.File("set.kr9"), target, {1});
    ASSERT_TRUE(result.saved) << result.failure;
    // Only the archive is left there.
    EXPECT_EQ(FilesIn(folder.File("out")), 1u);

    if (acqtest::HasProgram("unzip")) {
        EXPECT_EQ(acqtest::Shell("unzip -tq " + target + " >/dev/null"), 0);
    }
    const std::string listed = folder.File("names.txt");
    ASSERT_EQ(acqtest::Shell("python3 -c \"import zipfile,sys; z=zipfile.ZipFile(sys.argv[1]); "
                             "assert z.testzip() is None; print(' '.join(z.namelist())); "
                             "print(z.read('mon.kr9').decode())\" " +
                             target + " >" + listed),
              0);
    const std::vector<std::string> lines = acqtest::Lines(listed);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "page_b.rec mon_LogScheduler.txt mon.kr9");
    EXPECT_EQ(lines[1], "INDEX FILE\r");
    EXPECT_EQ(lines[2], "page_b.rec\r");

    ASSERT_TRUE(UnpackZippedDataSet(target).Unpacked());
    EXPECT_EQ(ListDataSet(target).pages.size(), 1u);
    EXPECT_EQ(Page(target, 0), Page(folder.File("set.kr9"), 1));
    EXPECT_EQ(folder.Read("out/mon_LogScheduler.txt"), "log line\r\n");
}

TEST_F(SavePagesTest, AFailedSaveSaysWhyAndLeavesWhatWasThere) {
    SKIP_WITHOUT("python3");
    ASSERT_EQ(acqtest::RunReference("layout_reference.py", "make ."), 0);
    const PageSaveResult noFolder =
        SaveSelectedPages(folder.File("single.kr9"), folder.File("none/x.kr9"), {0});
    EXPECT_FALSE(noFolder.saved);
    EXPECT_EQ(noFolder.failure, "Unable to create file to save on(code 2)");

    folder.Write("old.kr9", "what was there");
    EXPECT_FALSE(SaveSelectedPages(folder.File("single.kr9"), folder.File("old.kr9"), {7}).saved);
    std::filesystem::remove(folder.File("page_b.rec"));
    const PageSaveResult missing =
        SaveSelectedPages(folder.File("set.kr9"), folder.File("old.kr9"), {0});
    EXPECT_FALSE(missing.saved);
    EXPECT_EQ(missing.failure, "Unable to open current file (code 2)");
    EXPECT_EQ(folder.Read("old.kr9"), "what was there");
    const size_t files = FilesIn(folder.Path());
    EXPECT_FALSE(SaveSelectedPages(folder.File("gone.kr9"), folder.File("y.kr9"), {0}).saved);
    EXPECT_EQ(FilesIn(folder.Path()), files);  // no temporary left
}

TEST_F(SavePagesTest, ASchedulerLogThatIsAFifoFailsTheSaveAtOnce) {
    folder.Write("rec.kr9", OctaveFile(1, 10, "00:01:00"));
    folder.Write("page.rec", OctaveFile(1, 10, "00:01:00"));
    folder.Write("set.kr9", "INDEX FILE\r\npage.rec\r\n");
    for (const char* log : {"rec_LogScheduler.txt", "set_LogScheduler.txt"})
        ASSERT_EQ(::mkfifo(folder.File(log).c_str(), 0644), 0);
    acqtest::LateFifoWriter writer(
        {folder.File("rec_LogScheduler.txt"), folder.File("set_LogScheduler.txt")});

    const PageSaveResult single =
        SaveSelectedPages(folder.File("rec.kr9"), folder.File("copy.kr9"), {0});
    const PageSaveResult indexed =
        SaveSelectedPages(folder.File("set.kr9"), folder.File("zipped.kr9"), {0});
    EXPECT_FALSE(writer.Stop()) << "the save waited for a FIFO's writer";
    EXPECT_FALSE(single.saved);
    EXPECT_EQ(single.failure, "Unable to create file to save on(code 1)");
    EXPECT_FALSE(indexed.saved);
    EXPECT_TRUE(indexed.failure.starts_with("ERROR: Unable to save selected reports (") &&
                platform::Contains(indexed.failure, "set_LogScheduler.txt"))
        << indexed.failure;
    EXPECT_FALSE(platform::FileExists(folder.File("copy.kr9")));
    EXPECT_FALSE(platform::FileExists(folder.File("zipped.kr9")));
}

TEST(SavePageList, ItemsNamesAndTargets) {
    const std::vector<std::string> rows = {"PAGE 0", "2024/05/01 10:00:00", "PAGE 1",
                                           "b",      "CURR PAGE",           "c"};
    EXPECT_EQ(OfferedPages(rows, false).size(), 3u);
    const std::vector<PageListItem> live = OfferedPages(rows, true);
    ASSERT_EQ(live.size(), 2u);
    EXPECT_EQ(live[1].name, "PAGE 1");
    EXPECT_EQ(live[1].date, "b");

    EXPECT_EQ(ChosenPage("PAGE 12", 3), 12);
    EXPECT_EQ(ChosenPage("CURR PAGE", 3), 2);
    EXPECT_EQ(ChosenPage("2024/05/01", 3), std::nullopt);
    EXPECT_EQ(ChosenPage("PAGE -1", 3), std::nullopt);

    EXPECT_EQ(SaveTargetPath("/data/mon"), "/data/mon.kr9");
    EXPECT_EQ(SaveTargetPath("/data/mon.kr9"), "/data/mon.kr9");
    EXPECT_EQ(SchedulerLogPath("/data/mon.kr9"), "/data/mon_LogScheduler.txt");
    EXPECT_EQ(SchedulerLogPath("/data.d/mon"), "/data.d/mon_LogScheduler.txt");
}

TEST_F(SavePagesTest, TheDialogAsksRefusesAndTellsAsTheOperatorExpects) {
    testenv::TestOperator op;
    folder.Write("rec.kr9", OctaveFile(2, 10));
    CSelFileToSaveDlg::Source source;
    source.currentFile = folder.File("rec.kr9");
    source.programFolder = folder.Path();
    source.liveIndex = folder.File("RecFile.kr9");
    source.pageRows = {"PAGE 0", "t0", "CURR PAGE", "t1"};
    CSelFileToSaveDlg dialog(source);
    dialog.OnInitDialog();
    EXPECT_EQ(dialog.m_strTarget, folder.File("QS4160_1.kr9"));
    EXPECT_FALSE(dialog.IsOkEnabled());
    EXPECT_FALSE(dialog.OnOK());  // nothing selected: nothing happens

    dialog.OnClickList(1);
    EXPECT_TRUE(dialog.IsOkEnabled());
    dialog.m_strTarget = folder.File("RecFile");
    op.ExpectBox("is the index of the live recording");
    EXPECT_FALSE(dialog.OnOK());

    folder.Write("mine.kr9", "keep");
    dialog.m_strTarget = folder.File("mine");
    op.ExpectBox("File already exist.\nDo you want overwrite it?", IDNO);
    EXPECT_FALSE(dialog.OnOK());
    EXPECT_EQ(folder.Read("mine.kr9"), "keep");

    op.ExpectBox("File already exist.", IDYES);
    op.ExpectBox("Selected Reports saved successfully.");
    EXPECT_TRUE(dialog.OnOK());
    EXPECT_EQ(dialog.m_nResult, IDOK);
    EXPECT_EQ(Page(folder.File("mine.kr9"), 0), Page(folder.File("rec.kr9"), 1));

    op.ExpectFileChoice(folder.File("x.txt"));
    op.ExpectBox("ERROR: Bad File Extention");
    dialog.OnBrowse();
    EXPECT_EQ(dialog.m_strTarget, folder.File("mine.kr9"));
    op.ExpectFileChoice(folder.File("x"));
    dialog.OnBrowse();
    EXPECT_EQ(dialog.m_strTarget, folder.File("x.kr9"));

    // Without a readable recording the dialog closes with nothing saved.
    CSelFileToSaveDlg empty(CSelFileToSaveDlg::Source{"", folder.Path(), "", {"PAGE 0", "t"}});
    op.ExpectDialog("CSelFileToSaveDlg", [](platform::ModalDialog& shown) {
        auto& save = static_cast<CSelFileToSaveDlg&>(shown);
        save.OnClickList(0);
        EXPECT_TRUE(save.OnOK());
        return save.m_nResult;
    });
    EXPECT_EQ(empty.DoModal(), CSelFileToSaveDlg::kNothingToSave);
}

TEST_F(SavePagesTest, AnAccentedFolderAndATypedAccentedNameGiveTheFileItsUtf8Name) {
    testenv::TestOperator op;
    folder.Write("rec.kr9", OctaveFile(2, 10));
    std::filesystem::create_directory(folder.File("Forl\u00ec"));
    CSelFileToSaveDlg dialog(
        {folder.File("rec.kr9"), folder.Path(), "", {"PAGE 0", "t0", "PAGE 1", "t1"}});
    dialog.OnInitDialog();
    op.ExpectFileChoice(folder.File("Forl\u00ec/mon.kr9"));
    op.ExpectBox("Selected Reports saved successfully.");
    QString shown;
    testenv::WhenDialogShown([&](QDialog& window) {
        const auto key = [&](QWidget* to, int code, const char* text = "") {
            QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, QString::fromUtf8(text));
            QApplication::sendEvent(to, &press);
        };
        auto* target = window.findChild<QLineEdit*>(ui::IdName(CSelFileToSaveDlg::IDC_TARGET));
        window.findChild<QPushButton*>(ui::IdName(CSelFileToSaveDlg::IDC_BROWSE))->click();
        shown = target->text();
        target->end(false);
        for (int i = 0; i < 7; ++i)  // "mon.kr9"
            key(target, Qt::Key_Backspace);
        for (const char* typed : {"c", "i", "t", "t", "\u00e0", ".", "k", "r", "9"})
            key(target, Qt::Key_unknown, typed);
        auto* list = window.findChild<QTreeWidget*>(ui::IdName(CSelFileToSaveDlg::IDC_PAGES));
        list->topLevelItem(1)->setSelected(true);
        emit list->itemClicked(list->topLevelItem(1), 0);
        window.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    EXPECT_EQ(dialog.RunOnScreen(), IDOK);
    EXPECT_EQ(shown.toStdString(), folder.File("Forl\u00ec/mon.kr9"));
    EXPECT_TRUE(platform::FileExists(folder.File("Forl\u00ec/citt\u00e0.kr9")));
}

TEST_F(SavePagesTest, AFolderNamedInNoUtf8KeepsItsBytesAsShownAndWhenOnlyTheNameIsTyped) {
    testenv::TestOperator op;
    folder.Write("rec.kr9", OctaveFile(2, 10));
    // Named in Latin-1 on disk: Qt shows the byte as U+FFFD and cannot encode it back.
    const std::string forli = folder.File("Forl\xEC");
    std::filesystem::create_directory(forli);
    CSelFileToSaveDlg dialog({folder.File("rec.kr9"), forli, "", {"PAGE 0", "t0", "PAGE 1", "t1"}});
    const auto save = [&](const char* typedName) {
        dialog.OnInitDialog();
        op.ExpectBox("Selected Reports saved successfully.");
        testenv::WhenDialogShown([&](QDialog& window) {
            auto* target = window.findChild<QLineEdit*>(ui::IdName(CSelFileToSaveDlg::IDC_TARGET));
            if (typedName) {
                const qsizetype name = target->text().lastIndexOf('/') + 1;
                target->setSelection(name, target->text().size() - name);
                target->insert(QString::fromUtf8(typedName));
            }
            auto* list = window.findChild<QTreeWidget*>(ui::IdName(CSelFileToSaveDlg::IDC_PAGES));
            list->topLevelItem(0)->setSelected(true);
            emit list->itemClicked(list->topLevelItem(0), 0);
            window.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        return dialog.RunOnScreen();
    };
    EXPECT_EQ(save(nullptr), IDOK);
    EXPECT_TRUE(platform::FileExists(forli + "/QS4160_1.kr9"));
    EXPECT_EQ(save("citt\u00e0.kr9"), IDOK);
    EXPECT_TRUE(platform::FileExists(forli + "/citt\u00e0.kr9"));
}
