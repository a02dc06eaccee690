// The paging dialog's choice and the lost-data notice.
#include <gtest/gtest.h>

#include <QDialog>

#include "acquisition/loose_data_dlg.h"
#include "acquisition/paging_size_dlg.h"
#include "acquisition/sel_ch_monitor_dlg.h"
#include "support/record_kinds.h"
#include "support/test_env.h"

using namespace acquisition;

TEST(PagingSizeDialog, ItOpensOnTheFirstChoiceWhateverTheCallerSet) {
    testenv::TestOperator op;
    CPageningSizeDlg dialog;
    dialog.m_nChoice = 4;
    op.ExpectDialog("CPageningSizeDlg", [](platform::ModalDialog& shown) {
        EXPECT_EQ(static_cast<CPageningSizeDlg&>(shown).m_nChoice, 0);
        return IDOK;
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.PageSize(), 200);
    EXPECT_EQ(PagingSizeText(dialog.PageSize()), "Pagening Size: 200 samples");

    op.ExpectDialog("CPageningSizeDlg", [](platform::ModalDialog& shown) {
        static_cast<CPageningSizeDlg&>(shown).m_nChoice = 5;
        return IDOK;
    });
    dialog.DoModal();
    EXPECT_EQ(dialog.PageSize(), 10000);
    dialog.m_nChoice = 9;
    EXPECT_EQ(dialog.PageSize(), 200);
}

TEST(MonitoringOptionsDialog, ItShowsTheChannelModeAndOpensOnThePageSizeInForce) {
    CSelCHMonitorDlg spectra(testkinds::kThirdOctave, 2000);
    EXPECT_EQ(spectra.ChannelModeText(), "THIRD OCTAVE");
    EXPECT_EQ(spectra.PageSize(), 2000);
    // A size that is none of the choices (or none at all) opens on the first.
    CSelCHMonitorDlg none(std::nullopt, 0);
    EXPECT_EQ(none.ChannelModeText(), "NONE");
    EXPECT_EQ(none.PageSize(), 200);
    EXPECT_EQ(CSelCHMonitorDlg::ChoiceText(0), "200 Samples");
    EXPECT_EQ(CSelCHMonitorDlg::ChoiceText(5), "10000 Samples");
}

TEST(LooseDataDialog, EveryLossShowsTheOneNotice) {
    CLooseDataDlg notice;
    EXPECT_FALSE(notice.HasWindow());
    notice.ShowLoss();
    QDialog* window = notice.Window();
    ASSERT_TRUE(window);
    EXPECT_TRUE(notice.IsWindowVisible());
    window->accept();
    EXPECT_FALSE(notice.IsWindowVisible());
    notice.ShowLoss();
    EXPECT_EQ(notice.Window(), window);
    EXPECT_TRUE(notice.IsWindowVisible());
}
