#pragma once
// Building blocks of the on-screen forms: controls named by their dialog ids, so that the
// forms' controls can be found as "1495".

#include <QString>
#include <string>

#include "platform/qt_text.h"

class QBoxLayout;
class QDialog;
class QFormLayout;
class QLineEdit;
class QPushButton;
class QWidget;

namespace web::forms {

using platform::FromQt;
using platform::ToQt;

QString IdName(int id);

// A labelled edit in a form layout; maxLength 0 means no limit.
QLineEdit* AddEdit(QFormLayout* layout, const char* label, int id, const std::string& text,
                   int maxLength = 0, bool password = false);
QPushButton* AddButton(QBoxLayout* layout, const char* text, int id);
// A row with OK (id 1) and, when asked, Cancel (id 2, which rejects the dialog).
QPushButton* AddOkCancel(QBoxLayout* layout, QDialog& dialog, bool withCancel);

}  // namespace web::forms
