// The audio-label window: the labels of the current record, removed only in clearing mode.
#include <gtest/gtest.h>

#include "sound/label_audio_dlg.h"

namespace {

class LabelTable : public sound::LabelAudioHost {
public:
    int CurrentRecord() const override { return record; }
    void LabelsRemoved() override { ++saves; }

    std::vector<std::string> labels = {"3#OCTAVE#x#y#door#", "4#OCTAVE#x#y#other#",
                                       "3#OCTAVE#x#y#voice#Audio_3", "3#bad"};
    int record = 3;
    int saves = 0;
};

}  // namespace

TEST(LabelAudioDialog, ItListsTheCurrentRecordsLabelsAndRemovesThemOnlyWhenClearing) {
    LabelTable table;
    sound::CLabelAudioDlg dialog(table.labels, table);
    dialog.UpdateLabelList();
    ASSERT_EQ(dialog.Rows().size(), 2u);
    EXPECT_EQ(dialog.Rows()[0].text, "door");
    EXPECT_EQ(dialog.Rows()[1].audio, "Audio_3");
    EXPECT_FALSE(dialog.RemoveRow(0));

    dialog.Create();
    dialog.m_bClearingMode = 1;
    dialog.UpdateLabelList();
    ASSERT_TRUE(dialog.RemoveRow(1));
    EXPECT_EQ(table.labels.size(), 3u);
    EXPECT_EQ(table.saves, 1);
    EXPECT_EQ(dialog.Rows().size(), 1u);
    EXPECT_FALSE(dialog.RemoveRow(5));
    table.record = -1;
    dialog.UpdateLabelList();
    EXPECT_TRUE(dialog.Rows().empty());
}
