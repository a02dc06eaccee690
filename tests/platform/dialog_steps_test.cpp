// The steps a test takes on a dialog on screen: however they end, the dialog's run comes back.
#include "support/dialog_steps.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QDialog>

namespace {

// Runs `dialog` with `steps`, catching the failures they record.
int RunWith(QDialog& dialog, std::function<void(QDialog&)> steps,
            testing::TestPartResultArray& failures) {
    const testing::ScopedFakeTestPartResultReporter catcher(
        testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
    testenv::WhenDialogShown(std::move(steps));
    return dialog.exec();
}

}  // namespace

TEST(DialogSteps, AFailedAssertionClosesTheDialogAndFailsTheTest) {
    QDialog dialog;
    testing::TestPartResultArray failures;
    bool pastTheAssertion = false;
    const int result = RunWith(
        dialog,
        [&](QDialog& shown) {
            ASSERT_TRUE(shown.windowTitle() == "none") << "a step that fails";
            pastTheAssertion = true;
            shown.accept();
        },
        failures);
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(pastTheAssertion);
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_EQ(failures.size(), 2);
    EXPECT_TRUE(failures.GetTestPartResult(0).fatally_failed());
    EXPECT_NE(std::string(failures.GetTestPartResult(1).message()).find("still open"),
              std::string::npos);
}

TEST(DialogSteps, StepsThatCloseTheDialogRecordNothingAndOnesThatForgetFail) {
    QDialog dialog;
    testing::TestPartResultArray failures;
    EXPECT_EQ(RunWith(
                  dialog, [](QDialog& shown) { shown.accept(); }, failures),
              QDialog::Accepted);
    EXPECT_EQ(failures.size(), 0);

    dialog.setWindowTitle("Impostazioni");
    EXPECT_EQ(RunWith(
                  dialog, [](QDialog&) {}, failures),
              QDialog::Rejected);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_NE(std::string(failures.GetTestPartResult(0).message()).find("\"Impostazioni\""),
              std::string::npos);
}
