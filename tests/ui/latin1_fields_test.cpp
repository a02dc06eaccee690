// Edit fields keep only Latin-1: the validator drops the rest, typed or pasted, and every field
// of the program's windows has it once shown; fields of system names take anything.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>

#include "platform/event_loop.h"
#include "ui/latin1_fields.h"

using ui::Latin1Validator;

namespace {

void Type(QLineEdit* edit, const char* utf8) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8(utf8));
    QApplication::sendEvent(edit, &press);
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
