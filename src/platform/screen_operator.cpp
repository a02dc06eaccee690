#include "platform/screen_operator.h"

#include <QFileDialog>
#include <QMessageBox>

#include "platform/dialog_parent.h"
#include "platform/qt_text.h"

namespace platform {

namespace {
QMessageBox::Icon IconOf(unsigned type) {
    switch (type & 0xF0) {
        case MB_ICONSTOP:
            return QMessageBox::Critical;
        case MB_ICONQUESTION:
            return QMessageBox::Question;
        case MB_ICONEXCLAMATION:
            return QMessageBox::Warning;
        case MB_ICONINFORMATION:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}
}  // namespace

int ScreenOperator::MessageBox(const std::string& text, const std::string& caption, unsigned type) {
    QMessageBox box(IconOf(type), ToQt(caption), ToQt(text), QMessageBox::NoButton, DialogParent());
    switch (type & 0x0F) {
        case MB_OKCANCEL:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MB_YESNO:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case MB_YESNOCANCEL:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        default:
            box.setStandardButtons(QMessageBox::Ok);
    }
    // The second button: No, or Cancel after OK.
    if (type & MB_DEFBUTTON2)
        box.setDefaultButton((type & 0x0F) == MB_OKCANCEL ? QMessageBox::Cancel : QMessageBox::No);
    switch (box.exec()) {
        case QMessageBox::Ok:
            return IDOK;
        case QMessageBox::Yes:
            return IDYES;
        case QMessageBox::No:
            return IDNO;
        default:
            return IDCANCEL;
    }
}

int ScreenOperator::RunModal(ModalDialog& dialog) {
    return dialog.RunOnScreen();
}

std::optional<std::string> ScreenOperator::ChooseFile(const FileChoice& choice) {
    const QString start = SystemNameToQt(
        choice.folder.empty() ? choice.fileName : choice.folder + "/" + choice.fileName);
    const QString chosen = choice.save
                               ? QFileDialog::getSaveFileName(DialogParent(), ToQt(choice.title),
                                                              start, ToQt(choice.filter))
                               : QFileDialog::getOpenFileName(DialogParent(), ToQt(choice.title),
                                                              start, ToQt(choice.filter));
    if (chosen.isEmpty())
        return std::nullopt;
    return SystemNameFromQt(chosen);
}

}  // namespace platform
