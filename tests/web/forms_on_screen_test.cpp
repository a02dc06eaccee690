// The forms on screen: their controls carry the dialog ids, show the members and hand the
// operator's entries back through the forms' own handlers.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "databases_test_env.h"
#include "platform/screen_operator.h"
#include "support/dialog_steps.h"
#include "web/booking_form.h"
#include "web/code_entry_form.h"
#include "web/laboratory_choice_form.h"
#include "web/login_form.h"

namespace {
using testenv::WhenDialogShown;

template <typename Widget>
Widget* Control(QDialog& dialog, int id) {
    auto* widget = dialog.findChild<Widget*>(QString::number(id));
    EXPECT_NE(widget, nullptr) << id;
    return widget;
}
}  // namespace

TEST_F(DatabasesTest, LoginOnScreenKeepsTheFormOpenUntilTheCodeIsKnown) {
    folder.Write("msvcrt80.dll", kLabDatabase);
    CSetHystogramRange login(account);
    login.m_strCode = "999999";
    op.AlwaysAnswer("Codice identificativo del tecnico esecutore non valido", IDNO);
    op.ExpectBox("Nome utente errato");
    WhenDialogShown([](QDialog& dialog) {
        EXPECT_EQ(Control<QLineEdit>(dialog, 1495)->text(), "999999");
        EXPECT_EQ(Control<QLineEdit>(dialog, 1495)->maxLength(), 6);
        auto* password = Control<QLineEdit>(dialog, 1496);
        EXPECT_TRUE(password->isEnabled());
        Control<QCheckBox>(dialog, 1797)->click();
        EXPECT_FALSE(password->isEnabled());
        Control<QPushButton>(dialog, IDOK)->click();
        EXPECT_TRUE(dialog.isVisible());
        Control<QLineEdit>(dialog, 1495)->setText("654321");
        Control<QPushButton>(dialog, IDOK)->click();
    });
    EXPECT_EQ(login.RunOnScreen(), IDOK);
    EXPECT_EQ(login.m_bAuthorised, 1);
    EXPECT_EQ(technicianId, "654321");
    EXPECT_EQ(technicianChecked, 1);
    EXPECT_EQ(RequestsFor("//qs4060krtn_vp//find_acredia_user.php"), 0);  // by code alone
}

TEST_F(DatabasesTest, BookingCodeAndChoiceFormsOnScreen) {
    CAudioTriggerEvDlg booking(folder.File("msvcrt60_temp.dll"));
    WhenDialogShown([](QDialog& dialog) {
        Control<QLineEdit>(dialog, 1732)->setText("A4");
        Control<QPushButton>(dialog, IDOK)->click();
    });
    EXPECT_EQ(booking.RunOnScreen(), IDOK);
    EXPECT_EQ(booking.m_strSerials, (std::array<std::string, 6>{"", "", "", "A4", "", ""}));

    CSetLabelDlg code;
    op.ExpectBox("deve essere di 6 cifre");
    WhenDialogShown([](QDialog& dialog) {
        EXPECT_EQ(Control<QLabel>(dialog, 1799)->text(),
                  "Inserire codice identificativo del tecnico esecutore (6 CIFRE)");
        Control<QLineEdit>(dialog, 1723)->setText("12345");
        Control<QPushButton>(dialog, 1722)->click();
        Control<QLineEdit>(dialog, 1723)->setText("123456");
        Control<QPushButton>(dialog, 1722)->click();
    });
    EXPECT_EQ(code.RunOnScreen(), IDOK);
    EXPECT_EQ(code.m_strText, "123456");

    CSetLimitDlg choice;
    choice.m_strList = "Lab Nord;Lab Sud;";
    WhenDialogShown([](QDialog& dialog) {
        auto* combo = Control<QComboBox>(dialog, 1031);
        EXPECT_EQ(combo->count(), 2);
        EXPECT_EQ(combo->currentIndex(), 0);
        combo->setCurrentIndex(1);
        Control<QPushButton>(dialog, IDOK)->click();
    });
    EXPECT_EQ(choice.RunOnScreen(), IDOK);
    EXPECT_EQ(choice.m_nChoice, 1);
}

TEST_F(DatabasesTest, TheBookingFormShowsTheReferenceLabelWithoutAFieldOfItsOwn) {
    CAudioTriggerEvDlg booking(folder.File("msvcrt60_temp.dll"));
    int found = 0;
    bool plain = false;  // shown, and naming no field
    int edits = -1;
    testenv::WhenDialogShown([&](QDialog& dialog) {
        for (QLabel* label : dialog.findChildren<QLabel*>())
            if (label->text() == "Ref Instr SN") {
                ++found;
                plain = label->isVisible() && label->buddy() == nullptr;
            }
        edits = static_cast<int>(dialog.findChildren<QLineEdit*>().size());
        dialog.close();
    });
    EXPECT_EQ(booking.RunOnScreen(), IDCANCEL);
    EXPECT_EQ(found, 1);
    EXPECT_TRUE(plain);
    EXPECT_EQ(edits, 6);  // the six serial numbers only
}

TEST_F(DatabasesTest, AfterTheSixDigitsBoxTheCodeFieldTakesTheNextDigits) {
    platform::ScreenOperator screen;
    platform::ScopedOperator onScreen(screen);
    // OK and the box's own button pressed by Enter, then both clicked.
    for (const bool click : {false, true}) {
        SCOPED_TRACE(click ? "click" : "Enter");
        const auto press = [click](QWidget* button, QWidget* focused) {
            if (click)
                QTest::mouseClick(button, Qt::LeftButton);
            else
                QTest::keyClick(focused, Qt::Key_Return);
        };
        CSetLabelDlg code;
        QString box;
        QString typed;
        WhenDialogShown([&](QDialog& dialog) {
            dialog.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
            // The keys go wherever the focus is, as the operator's do.
            QTest::keyClicks(QApplication::focusWidget(), "12");
            WhenDialogShown([&](QDialog& shown) {
                auto* message = qobject_cast<QMessageBox*>(&shown);
                ASSERT_NE(message, nullptr);
                box = message->text();
                press(message->buttons().at(0), message);
            });
            press(Control<QPushButton>(dialog, 1722), QApplication::focusWidget());
            // Offscreen, a closed box leaves no window active; a window manager gives the
            // activation back to the dialog.
            dialog.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
            QTest::keyClicks(QApplication::focusWidget(), "3456");
            typed = Control<QLineEdit>(dialog, 1723)->text();
            if (typed.size() == 6)  // else OK would ask again, with nobody to answer
                QTest::keyClick(Control<QLineEdit>(dialog, 1723), Qt::Key_Return);
            if (dialog.isVisible())
                dialog.reject();
        });
        code.RunOnScreen();
        EXPECT_EQ(box, "ATTENZIONE:\nIl codice identificativo dell'utente deve essere di 6 cifre");
        EXPECT_EQ(typed, "123456");
        EXPECT_EQ(code.m_strText, "123456");
    }
}
