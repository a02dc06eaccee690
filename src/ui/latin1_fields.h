#pragma once
// Edit fields take only what the program can keep. Its texts are Latin-1 (platform/qt_text.h):
// a character beyond it (an emoji, "€") would reach the meter, the server and the files as a
// "?", so it is not typed, and a paste keeps the rest of what it brings.

#include <QObject>
#include <QValidator>

class QCoreApplication;
class QLineEdit;

namespace ui {

class Latin1Validator : public QValidator {
public:
    using QValidator::QValidator;
    // Takes out every character Latin-1 lacks, both halves of a surrogate pair included, and
    // keeps the cursor where it was in what remains: always Acceptable.
    State validate(QString& input, int& pos) const override;
};

// While it lives, every line edit of the application (an editable combo box's and the report
// list's in-place editor included) gets a Latin1Validator when it is first shown, unless it
// has a validator of its own, holds a system name (MarkSystemNameField), or belongs to Qt's
// file or print dialog, whose names are the system's. One for the program, made with its
// QApplication.
class Latin1Fields : public QObject {
public:
    explicit Latin1Fields(QCoreApplication& application);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// A field whose text is a path in the system's bytes (platform::SystemNameFromQt): any
// character can be kept there.
void MarkSystemNameField(QLineEdit& edit);

}  // namespace ui
