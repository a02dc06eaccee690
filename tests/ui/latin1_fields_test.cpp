// Edit fields keep only Latin-1: the validator drops the rest, typed or pasted, and every field
// of the program's windows has it once shown; fields of system names take anything.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QInputMethodEvent>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/event_loop.h"
#include "ui/latin1_fields.h"

using ui::Latin1Validator;

namespace {

void Type(QLineEdit* edit, const char* utf8) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8(utf8));
    QApplication::sendEvent(edit, &press);
}

// What an input method commits at the end of a composition.
void Compose(QLineEdit* edit, const char* utf8) {
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8(utf8));
    QApplication::sendEvent(edit, &commit);
}

// A text dragged from another program and dropped on the field.
void Drop(QLineEdit* edit, const char* utf8) {
    QMimeData data;
    data.setText(QString::fromUtf8(utf8));
    const QPoint at(edit->width() - 1, edit->height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit, &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit, &drop);
}

}  // namespace

TEST(Latin1FieldsTest, TheValidatorKeepsUpToU00FFAndDropsU0100AndSurrogatePairs) {
    const Latin1Validator validator;
    QString text = QString::fromUtf8("aÿĀb😀c");
    int pos = 6;  // after the emoji's two halves
    EXPECT_EQ(validator.validate(text, pos), QValidator::Acceptable);
    EXPECT_EQ(text, QString::fromUtf8("aÿbc"));
    EXPECT_EQ(pos, 3);
}

TEST(Latin1FieldsTest, TheProgramsFieldsRefuseTheCharactersAndPastesKeepTheRest) {
    ui::Latin1Fields latin1Fields(*QCoreApplication::instance());
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* plain = new QLineEdit(&dialog);
    auto* combo = new QComboBox(&dialog);
    combo->setEditable(true);
    auto* number = new QLineEdit(&dialog);
    auto* const ownValidator = new QIntValidator(0, 99, number);
    number->setValidator(ownValidator);
    auto* path = new QLineEdit(&dialog);
    ui::MarkSystemNameField(*path);
    for (QWidget* field : {static_cast<QWidget*>(plain), static_cast<QWidget*>(combo),
                           static_cast<QWidget*>(number), static_cast<QWidget*>(path)})
        layout->addWidget(field);
    dialog.show();
    platform::EventLoop::ProcessPending();

    for (QLineEdit* edit : {plain, combo->lineEdit()}) {
        Type(edit, "M");
        Type(edit, "€");
        Type(edit, "😀");
        EXPECT_EQ(edit->text(), "M");
        edit->insert(QString::fromUtf8("è😀7"));  // as a paste inserts the clipboard's text
        EXPECT_EQ(edit->text(), QString::fromUtf8("Mè7"));
    }
    EXPECT_EQ(number->validator(), ownValidator);
    Type(path, "😀");
    EXPECT_EQ(path->text(), QString::fromUtf8("😀"));

    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.show();
    platform::EventLoop::ProcessPending();
    for (const QLineEdit* edit : files.findChildren<QLineEdit*>())
        EXPECT_EQ(dynamic_cast<const Latin1Validator*>(edit->validator()), nullptr);
}

TEST(Latin1FieldsTest, AnInputMethodsTextAndADropKeepOnlyWhatTheProgramCanKeep) {
    ui::Latin1Fields latin1Fields(*QCoreApplication::instance());
    QLineEdit edit;
    edit.show();
    platform::EventLoop::ProcessPending();
    Compose(&edit, "Mè€");
    EXPECT_EQ(edit.text(), QString::fromUtf8("Mè"));
    Drop(&edit,
         "😀"
         "7");
    EXPECT_EQ(edit.text(), QString::fromUtf8("Mè7"));
}

TEST(Latin1FieldsTest, AComboMadeEditableOnScreenIsCoveredAndASpinBoxKeepsItsOwnRule) {
    ui::Latin1Fields latin1Fields(*QCoreApplication::instance());
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* combo = new QComboBox(&dialog);
    auto* spin = new QSpinBox(&dialog);
    layout->addWidget(combo);
    layout->addWidget(spin);
    dialog.show();
    platform::EventLoop::ProcessPending();

    combo->setEditable(true);
    platform::EventLoop::ProcessPending();
    Type(combo->lineEdit(), "C");
    Type(combo->lineEdit(), "€");
    EXPECT_EQ(combo->lineEdit()->text(), "C");

    // Its own validator refuses more than Latin-1's would.
    auto* digits = spin->findChild<QLineEdit*>();
    digits->selectAll();
    for (const char* key : {"4", "x", "€"})
        Type(digits, key);
    EXPECT_EQ(digits->text(), "4");
}
