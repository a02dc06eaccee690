#include "ui/modeless_window.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>

namespace {

class CountingWindow : public ui::ModelessWindow {
public:
    int built = 0;
    int destroyed = 0;
    bool windowDuringDestroy = false;
    int shown = 0;
    ui::HookedDialog::Hooks hooks = ModelessWindow::WindowHooks();

private:
    ui::HookedDialog::Hooks WindowHooks() override { return hooks; }
    void BuildWindow(QDialog& window) override {
        ++built;
        new QLabel("text", &window);
    }
    void OnDestroy() override {
        ++destroyed;
        windowDuringDestroy = Window() != nullptr;
    }
};

TEST(ModelessWindowTest, CreateBuildsOneHiddenWindowUnderItsParent) {
    QWidget parent;
    CountingWindow window;
    EXPECT_FALSE(window.HasWindow());
    EXPECT_EQ(window.Window(), nullptr);
    EXPECT_EQ(window.Create(&parent), TRUE);
    QDialog* made = window.Window();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->parentWidget(), &parent);
    EXPECT_FALSE(window.IsWindowVisible());
    EXPECT_EQ(window.Create(), TRUE);
    EXPECT_EQ(window.Window(), made);
    EXPECT_EQ(window.built, 1);
    EXPECT_NE(made->findChild<QLabel*>(), nullptr);
}

TEST(ModelessWindowTest, OkAndCancelOnlyHideTheWindowByDefault) {
    CountingWindow window;
    window.Create();
    for (void (QDialog::*button)() : {&QDialog::accept, &QDialog::reject}) {
        window.ShowWindow(true);
        EXPECT_TRUE(window.IsWindowVisible());
        (window.Window()->*button)();
        EXPECT_FALSE(window.IsWindowVisible());
        EXPECT_TRUE(window.HasWindow());
    }
}

TEST(ModelessWindowTest, TheDerivedHooksReplaceTheDefaults) {
    CountingWindow window;
    window.hooks = {.shown = [&] { ++window.shown; }};
    window.Create();
    window.ShowWindow(true);
    EXPECT_EQ(window.shown, 1);
    window.Window()->reject();
    EXPECT_TRUE(window.Window()->isHidden());
}

TEST(ModelessWindowTest, DestroyWindowRunsOnDestroyWhileTheWindowIsThere) {
    CountingWindow window;
    EXPECT_EQ(window.DestroyWindow(), FALSE);
    EXPECT_EQ(window.destroyed, 0);
    window.ShowWindow(true);  // no window: nothing happens
    EXPECT_FALSE(window.IsWindowVisible());

    window.Create();
    window.ShowWindow(true);
    EXPECT_EQ(window.DestroyWindow(), TRUE);
    EXPECT_EQ(window.destroyed, 1);
    EXPECT_TRUE(window.windowDuringDestroy);
    EXPECT_FALSE(window.HasWindow());
    EXPECT_FALSE(window.IsWindowVisible());
    EXPECT_EQ(window.DestroyWindow(), FALSE);

    window.Create();
    EXPECT_EQ(window.built, 2);
}

}  // namespace
