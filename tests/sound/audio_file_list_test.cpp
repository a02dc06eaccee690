#include "sound/audio_file_list.h"

#include <gtest/gtest.h>

#include "support/test_env.h"

using namespace sound;

TEST(AudioFileListTest, EachRecordingAddsOneLineThatEndsWithItsFile) {
    testenv::ScratchFolder folder;
    const AudioRecordingEntry first{"2024/03/09 10:00:00", "2024/03/09 10:05:00", 1, 300,
                                    "C:\\prog\\Audio_20240309_100000.wav"};
    EXPECT_EQ(AudioFileListLine(first),
              "2024/03/09 10:00:00#2024/03/09 10:05:00#1#300#C:\\prog\\Audio_20240309_100000.wav");
    ASSERT_TRUE(AppendAudioFileListLine(folder.Path(), first));
    ASSERT_TRUE(AppendAudioFileListLine(folder.Path(), {"a", "b", 301, 302, "second.wav"}));
    EXPECT_EQ(folder.Read(kAudioFileList),
              AudioFileListLine(first) + "\r\na#b#301#302#second.wav\r\n");
    EXPECT_EQ(RecordedFileOfLine(AudioFileListLine(first)), first.fileName);
    EXPECT_EQ(RecordedFileOfLine("no fields"), "no fields");

    EXPECT_FALSE(AppendAudioFileListLine(folder.File("missing/folder"), first));
}
