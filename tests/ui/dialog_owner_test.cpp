// A box on screen over a modeless window that goes while the box is open: the window must not
// take the box with it; and a click's handler that must not run inside an exchange.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <memory>
#include <string>
#include <vector>

#include "platform/event_loop.h"
#include "platform/operator.h"
#include "platform/screen_operator.h"
#include "platform/scripted_operator.h"
#include "support/dialog_steps.h"
#include "ui/modeless_window.h"
#include "ui/posted_click.h"

namespace {

class WaitBox : public ui::ModelessWindow {
private:
    void BuildWindow(QDialog& window) override { window.setWindowTitle("Please wait"); }
};

TEST(DialogOwnerTest, ABoxStaysOpenWhenTheModelessWindowThatWasActiveGoesUnderIt) {
    platform::ScreenOperator screen;
    platform::ScopedOperator onScreen(screen);
    WaitBox wait;
    wait.Create();
    wait.ShowWindow(true);
    wait.Window()->activateWindow();
    for (int turn = 0; turn < 100 && QApplication::activeWindow() != wait.Window(); ++turn)
        platform::EventLoop::ProcessPending();
    ASSERT_EQ(QApplication::activeWindow(), wait.Window());

    bool stayedOpen = false;
    testenv::WhenDialogShown([&](QDialog& shown) {
        const QPointer<QDialog> box(&shown);
        // What a reply handled inside the box's loop does to the setup read's wait box.
        wait.DestroyWindow();
        platform::EventLoop::ProcessPending();
        stayedOpen = box && box->isVisible();
        if (auto* message = qobject_cast<QMessageBox*>(box.data()))
            message->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(platform::AfxMessageBox("Comunication error: setup abort", MB_ICONEXCLAMATION), IDOK);
    EXPECT_TRUE(stayedOpen);
    EXPECT_FALSE(wait.HasWindow());
}

}  // namespace

// A click taken just before an exchange pumps the window input: its handler (a dialog's OK, a
// "Cancel Download") waits for the exchange's end with the program's other messages, and does
// not run once its dialog is gone.
TEST(DialogOwnerTest, AClickHandlerWaitsOutAnExchangeAndOutlivesNoDialog) {
    std::vector<std::string> happened;
    auto dialog = std::make_unique<QDialog>();
    auto* ok = new QPushButton("OK", dialog.get());
    ui::OnClickedLater(ok, dialog.get(), [&] { happened.push_back("ok"); });
    ok->click();
    platform::EventLoop::PumpWindowInput(nullptr);
    happened.push_back("exchange over");
    platform::EventLoop::ProcessPending();
    EXPECT_EQ(happened, (std::vector<std::string>{"exchange over", "ok"}));

    ok->click();
    dialog.reset();
    platform::EventLoop::ProcessPending();
    EXPECT_EQ(happened.size(), 2u);
}
