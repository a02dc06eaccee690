#include "platform/operator.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "platform/event_loop.h"
#include "platform/scripted_operator.h"
#include "support/test_env.h"

using namespace platform;

namespace {
class FakeDialog : public ModalDialog {
public:
    std::string DialogName() const override { return "CSetHystogramRange"; }
    int RunOnScreen() override { return IDOK; }
    std::string user;
};
}  // namespace

TEST(Operator, ScriptAnswersBoxesInOrderAndStandingRulesAnyTime) {
    testenv::TestOperator op;
    op.ExpectBox("non risponde", IDOK).ExpectBox("non risponde", IDCANCEL);
    op.AlwaysAnswer("Confirm Exit", IDNO);
    EXPECT_EQ(AfxMessageBox("Confirm Exit ?", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(AfxMessageBox("Lo strumento non risponde", MB_OKCANCEL | 0x30), IDOK);
    EXPECT_EQ(AfxMessageBox("Lo strumento non risponde", MB_OKCANCEL | 0x30), IDCANCEL);
    EXPECT_EQ(op.Shown().size(), 3u);
}

TEST(Operator, DialogScriptFillsTheDialogsFields) {
    testenv::TestOperator op;
    op.ExpectDialog("CSetHystogramRange", [](ModalDialog& d) {
        static_cast<FakeDialog&>(d).user = "T001";
        return IDOK;
    });
    FakeDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.user, "T001");
}

TEST(Operator, UnexpectedBoxOrUnmetExpectationFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(
        {
            testenv::TestOperator op;
            AfxMessageBox("Connessione internet assente", MB_ICONSTOP);
        },
        "Connessione internet assente");
    EXPECT_NONFATAL_FAILURE({ testenv::TestOperator().ExpectBox("never", IDOK); },
                            "never shown: box: never");
}

TEST(Operator, PendingQuitDismissesBoxesAndDialogsWithoutAskingButSaysWhatTheBoxesHeld) {
    ScriptedOperator op;  // any question would be unexpected
    ScopedOperator scoped(op);
    EventLoop::RequestQuit(0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(AfxMessageBox("Confirm Exit ?", MB_YESNO), IDNO);
    EXPECT_EQ(AfxMessageBox("?", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(AfxMessageBox("Aggiornamento fallito.\n\nErr=Status Code:404\n", MB_OK), IDOK);
    FakeDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "kx9monitor: not shown, the program is ending: Confirm Exit ?\n"
              "kx9monitor: not shown, the program is ending: ?\n"
              "kx9monitor: not shown, the program is ending: Aggiornamento fallito. "
              "Err=Status Code:404\n");
    EventLoop::ClearQuit();
    EXPECT_TRUE(op.Shown().empty());
}

TEST(Operator, LenientScriptAnswersTheFirstButtonButARetryOnlyAFewTimes) {
    ScriptedOperator op;
    op.SetLenient(true);
    ScopedOperator scoped(op);
    EXPECT_EQ(AfxMessageBox("a", MB_YESNO), IDYES);
    EXPECT_EQ(AfxMessageBox("b", MB_OKCANCEL), IDOK);
    EXPECT_EQ(FakeDialog().DoModal(), IDCANCEL);
    EXPECT_TRUE(op.Failures().empty());

    // A loop's question: three retries, then No without a box.
    RetryQuestion retry;
    for (int time = 0; time < RetryQuestion::kScriptedRetries; ++time)
        EXPECT_EQ(retry.Ask("Riprovare ?", MB_YESNO), IDYES);
    EXPECT_EQ(retry.Ask("Riprovare ?", MB_YESNO), IDNO);
    EXPECT_EQ(op.Shown().size(), 3u + RetryQuestion::kScriptedRetries);
}
