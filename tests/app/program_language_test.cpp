// The program's start (src/app/main.cpp, built into this test with its main renamed) gives Qt's
// own texts the desktop's language, so that an Italian box reads "Sì", "No", "Annulla".
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <string>

// main.cpp's.
bool InstallQtTranslator(QCoreApplication& application, QTranslator& translator,
                         const QLocale& locale);

namespace {

std::string Caption(QMessageBox& box, QMessageBox::StandardButton button) {
    return box.button(button)->text().remove('&').toStdString();
}

TEST(ProgramLanguageTest, AnItalianDesktopReadsTheStandardButtonsInItalian) {
    QTranslator translator;
    ASSERT_TRUE(InstallQtTranslator(*qApp, translator, QLocale(QLocale::Italian, QLocale::Italy)));
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(Caption(box, QMessageBox::Yes), "Sì");
    EXPECT_EQ(Caption(box, QMessageBox::No), "No");
    EXPECT_EQ(Caption(box, QMessageBox::Cancel), "Annulla");
    QCoreApplication::removeTranslator(&translator);
}

}  // namespace
