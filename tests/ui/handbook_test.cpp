// The handbook viewer: the handbook in the program folder, or a box that says it is missing.
#include <gtest/gtest.h>

#include <QTextBrowser>

#include "platform/files.h"
#include "support/test_env.h"
#include "ui/hand_book_dlg.h"

using ui::CHandBookDlg;

TEST(HandBookTest, AMissingHandbookIsABoxNeverAnEmptyWindow) {
    testenv::ScratchFolder folder;
    testenv::TestOperator op;
    CHandBookDlg viewer(folder.Path());
    op.ExpectBox("Manuale non disponibile:\nil file " + folder.File("Manuale.html"));
    EXPECT_EQ(viewer.Show(), IDCANCEL);

    // A folder of that name is no handbook either.
    platform::MakeDirectories(folder.File("Manuale.html"));
    op.ExpectBox("Manuale non disponibile");
    EXPECT_EQ(viewer.Show(), IDCANCEL);
}

TEST(HandBookTest, TheViewerShowsTheHandbookOfTheProgramFolder) {
    testenv::ScratchFolder folder;
    testenv::TestOperator op;
    folder.Write("Manuale.html",
                 "<html><body><h1>Verifica periodica</h1><p>Collegare il fonometro.</p>"
                 "</body></html>");
    CHandBookDlg viewer(folder.Path());
    op.ExpectDialog("CHandBookDlg", [](platform::ModalDialog&) { return IDOK; });
    EXPECT_EQ(viewer.Show(), IDOK);

    const auto window = viewer.BuildWindow();
    EXPECT_EQ(window->windowTitle(), "Handbook");
    auto* browser = window->findChild<QTextBrowser*>("1348");
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->toPlainText().contains("Collegare il fonometro."));
    EXPECT_EQ(browser->source().toLocalFile().toStdString(), folder.File("Manuale.html"));
}
