// Label files: where they lie beside a data file, what counts as a label and an audio label,
// a save that gives back what was read, and the watch that tells when to read one again.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "acquisition/label_file.h"
#include "acquisition/path_watch.h"
#include "acquisition_test_support.h"
#include "platform/files.h"
#include "support/test_env.h"

using namespace acquisition;

TEST(LabelFile, ItLiesBesideItsDataFileUnderTheExtensionLbl) {
    EXPECT_EQ(LabelFilePath("/lab/mon.kr9"), "/lab/mon.lbl");
    EXPECT_EQ(LabelFilePath("/lab/mon.backup.kr9"), "/lab/mon.backup.lbl");
    EXPECT_EQ(LabelFilePath("mon.kr9"), "mon.lbl");
    // A data file without an extension has none, whatever its folders are called.
    EXPECT_EQ(LabelFilePath("/lab.2024/mon"), "");
    EXPECT_EQ(LabelFilePath("mon"), "");
    EXPECT_EQ(LabelFilePath(""), "");
}

TEST(LabelFile, LinesLoseTheirTrailingBlanksAndAudioLabelsAreMarked) {
    testenv::ScratchFolder folder;
    // As the program has always written them: CR CR LF. A blank line is a label of its own, so
    // that the ones after it keep their places.
    folder.Write("a.lbl",
                 "3#OCTAVE#x=1#y=2#door##\r\r\n\r\r\n4#OCTAVE#x=5#y=6#voice#Audio_7  \r\r\n");
    const LabelFileContents contents = ReadLabelFile(folder.File("a.lbl"));
    EXPECT_EQ(contents.labels, (std::vector<std::string>{"3#OCTAVE#x=1#y=2#door##", "",
                                                         "4#OCTAVE#x=5#y=6#voice#Audio_7"}));
    EXPECT_TRUE(contents.hasAudioLabels);

    // CR LF and bare LF read alike; a blank line is no audio label.
    folder.Write("b.lbl", "3#OCTAVE#x=1#y=2#door##\n\r\n");
    EXPECT_EQ(ReadLabelFile(folder.File("b.lbl")).labels,
              (std::vector<std::string>{"3#OCTAVE#x=1#y=2#door##", ""}));
    EXPECT_FALSE(ReadLabelFile(folder.File("b.lbl")).hasAudioLabels);
    EXPECT_TRUE(ReadLabelFile(folder.File("missing.lbl")).labels.empty());
    // A label longer than any line buffer stays one label.
    const std::string longLabel = "1#SLM5#x#y#" + std::string(3000, 'z') + "#";
    folder.Write("c.lbl", longLabel + "\r\n");
    EXPECT_EQ(ReadLabelFile(folder.File("c.lbl")).labels, std::vector<std::string>{longLabel});
}

TEST(LabelFile, AFifoInItsPlaceHoldsNoLabelsAndWaitsForNoWriter) {
    testenv::ScratchFolder folder;
    ASSERT_EQ(::mkfifo(folder.File("fifo.lbl").c_str(), 0644), 0);
    acqtest::LateFifoWriter writer({folder.File("fifo.lbl")});
    EXPECT_TRUE(ReadLabelFile(folder.File("fifo.lbl")).labels.empty());
    EXPECT_FALSE(writer.Stop()) << "the read waited for a FIFO's writer";
}

TEST(LabelFile, TextAfterTheLastLineEndIsALabelOnlyWhenItHoldsSomething) {
    testenv::ScratchFolder folder;
    for (const char* tail : {"", " ", "\r", "\r\r"}) {
        SCOPED_TRACE(::testing::PrintToString(tail));
        folder.Write("a.lbl", std::string("1#SLM5#x#y#a#\r\r\n") + tail);
        EXPECT_EQ(ReadLabelFile(folder.File("a.lbl")).labels,
                  std::vector<std::string>{"1#SLM5#x#y#a#"});
    }
    folder.Write("b.lbl", "1#SLM5#x#y#a#\r\r\n2#SLM5#x#y#b#");
    EXPECT_EQ(ReadLabelFile(folder.File("b.lbl")).labels,
              (std::vector<std::string>{"1#SLM5#x#y#a#", "2#SLM5#x#y#b#"}));
    folder.Write("c.lbl", "");
    EXPECT_TRUE(ReadLabelFile(folder.File("c.lbl")).labels.empty());
}

TEST(LabelFile, SavingWritesWhatReadingGivesBack) {
    testenv::ScratchFolder folder;
    const std::vector<std::string> labels = {"1#SLM5#x#y#a#", "", "2#SLM5#x#y#b#Audio_2"};
    ASSERT_TRUE(SaveLabelFile(folder.File("mon.kr9"), labels));
    const std::string written = "1#SLM5#x#y#a#\r\r\n\r\r\n2#SLM5#x#y#b#Audio_2\r\r\n";
    EXPECT_EQ(folder.Read("mon.lbl"), written);
    // Read and saved again, the file stays as it was.
    EXPECT_EQ(ReadLabelFile(folder.File("mon.lbl")).labels, labels);
    ASSERT_TRUE(
        SaveLabelFile(folder.File("mon.kr9"), ReadLabelFile(folder.File("mon.lbl")).labels));
    EXPECT_EQ(folder.Read("mon.lbl"), written);

    EXPECT_FALSE(SaveLabelFile(folder.File("noextension"), labels));
    ASSERT_TRUE(SaveLabelFile(folder.File("mon.kr9"), {}));
    EXPECT_EQ(folder.Read("mon.lbl"), "");
}

TEST(LabelFile, TheKeptLabelFileIsReadAgainWhenItChangesOrIsForgotten) {
    testenv::ScratchFolder folder;
    const std::string path = folder.File("mon.lbl");
    LabelFileCache cache;
    EXPECT_TRUE(cache.Read(path).labels.empty());
    folder.Write("mon.lbl", "1#SLM5#x#y#a#\r\r\n");
    EXPECT_EQ(cache.Read(path).labels, std::vector<std::string>{"1#SLM5#x#y#a#"});
    // Replaced at once by a file of the same size.
    ASSERT_TRUE(platform::WriteFileAtomic(path, "1#SLM5#x#y#b#Audio\r\n"));
    EXPECT_EQ(cache.Read(path).labels, std::vector<std::string>{"1#SLM5#x#y#b#Audio"});
    EXPECT_TRUE(cache.Read(path).hasAudioLabels);
    ASSERT_TRUE(platform::RemoveFile(path));
    EXPECT_TRUE(cache.Read(path).labels.empty());
    EXPECT_TRUE(cache.Read("").labels.empty());
}

TEST(LabelFile, AWatchHearsOfItsPathsAndTheirFilesOnly) {
    testenv::ScratchFolder folder;
    folder.Write("mon.kr9", "INDEX FILE\r\n");
    PathWatch watch;
    const std::vector<std::string> paths = {folder.File("mon.kr9"), folder.File("mon.lbl")};
    if (!watch.Watch(paths))
        GTEST_SKIP() << "the scratch folder's file system is not watched";
    watch.AddFiles();
    folder.Write("RecFile_1.rec", "a page beside them");
    EXPECT_FALSE(watch.HeardOfChange());
    folder.Write("mon.lbl", "1#SLM5#x#y#a#\r\r\n");
    EXPECT_TRUE(watch.HeardOfChange());

    ASSERT_TRUE(watch.Watch(paths));
    watch.AddFiles();
    EXPECT_FALSE(watch.HeardOfChange());
    // Rewritten in place, its size kept: whatever its times say.
    std::fstream(folder.File("mon.kr9"), std::ios::in | std::ios::out) << "INDEX FILE";
    EXPECT_TRUE(watch.HeardOfChange());
}

TEST(LabelFile, AWatchGivenOtherPathsHearsOnlyWhatHappensToThemAfterwards) {
    testenv::ScratchFolder folder;
    folder.Write("one.kr9", "INDEX FILE\r\n");
    folder.Write("two.kr9", "INDEX FILE\r\n");
    folder.Write("b/three.kr9", "INDEX FILE\r\n");
    PathWatch watch;
    if (!watch.Watch({folder.File("one.kr9")}))
        GTEST_SKIP() << "the scratch folder's file system is not watched";
    watch.AddFiles();
    // Both queued before the watch moves on; the caller looks at the new paths afterwards.
    folder.Write("one.kr9", "INDEX FILE\r\nRecFile_1.rec\r\n");
    folder.Write("two.kr9", "INDEX FILE\r\nRecFile_1.rec\r\n");

    // In the same folder, whose one watch the kernel gives again.
    ASSERT_TRUE(watch.Watch({folder.File("two.kr9"), folder.File("two.lbl")}));
    watch.AddFiles();
    EXPECT_FALSE(watch.HeardOfChange());
    folder.Write("one.kr9", "INDEX FILE\r\n");
    EXPECT_FALSE(watch.HeardOfChange());
    // Heard through the folder only: the file was not there to be watched.
    folder.Write("two.lbl", "1#SLM5#x#y#a#\r\r\n");
    EXPECT_TRUE(watch.HeardOfChange());

    ASSERT_TRUE(watch.Watch({folder.File("b/three.kr9")}));
    watch.AddFiles();
    folder.Write("two.kr9", "INDEX FILE\r\n");
    folder.Write("two.lbl", "");
    EXPECT_FALSE(watch.HeardOfChange());
    std::fstream(folder.File("b/three.kr9"), std::ios::in | std::ios::out) << "INDEX";
    EXPECT_TRUE(watch.HeardOfChange());
}

TEST(LabelFile, AWatchsLostQueueIsHeardUnlessItWasLostBeforeTheWatchMovedOn) {
    testenv::ScratchFolder folder;
    folder.Write("one.kr9", "INDEX FILE\r\n");
    folder.Write("two.kr9", "INDEX FILE\r\n");
    PathWatch watch;
    if (!watch.Watch({folder.File("one.kr9")}))
        GTEST_SKIP() << "the scratch folder's file system is not watched";
    watch.AddFiles();
    int queued = 16384;
    std::ifstream("/proc/sys/fs/inotify/max_queued_events") >> queued;
    // Events of other names in the folder, by turns so that none merges with the one before,
    // until the queue is lost.
    const auto loseTheQueue = [&] {
        folder.Write("x", "");
        folder.Write("y", "");
        for (int event = 0; event <= queued; ++event)
            ASSERT_EQ(::utimensat(AT_FDCWD, event % 2 ? "x" : "y", nullptr, 0), 0);
    };

    loseTheQueue();
    EXPECT_TRUE(watch.HeardOfChange());
    // Lost while the paths before were watched: the caller looks at the new ones afterwards.
    loseTheQueue();
    ASSERT_TRUE(watch.Watch({folder.File("two.kr9")}));
    watch.AddFiles();
    EXPECT_FALSE(watch.HeardOfChange());
}
