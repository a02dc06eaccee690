#include "ui/latin1_fields.h"

#include <QAbstractPrintDialog>
#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QLineEdit>

namespace ui {

namespace {

constexpr const char* kSystemNameProperty = "kx9SystemName";

bool InQtNameDialog(const QWidget* widget) {
    for (const QWidget* ancestor = widget; ancestor; ancestor = ancestor->parentWidget())
        if (qobject_cast<const QFileDialog*>(ancestor) ||
            qobject_cast<const QAbstractPrintDialog*>(ancestor))
            return true;
    return false;
}

}  // namespace

QValidator::State Latin1Validator::validate(QString& input, int& pos) const {
    qsizetype kept = 0;
    int cursor = pos;
    for (qsizetype i = 0; i < input.size(); ++i) {
        if (input[i].unicode() <= 0xFF)
            input[kept++] = input[i];
        else if (i < pos)
            --cursor;
    }
    input.truncate(kept);
    pos = cursor;
    return Acceptable;
}

Latin1Fields::Latin1Fields(QCoreApplication& application) {
    application.installEventFilter(this);
}

bool Latin1Fields::eventFilter(QObject* watched, QEvent* event) {
    // A widget is polished once, before it is first shown: no field takes a key before that.
    if (event->type() == QEvent::Polish) {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        if (edit && !edit->validator() && !edit->property(kSystemNameProperty).toBool() &&
            !InQtNameDialog(edit))
            edit->setValidator(new Latin1Validator(edit));
    }
    return false;
}

void MarkSystemNameField(QLineEdit& edit) {
    edit.setProperty(kSystemNameProperty, true);
}

}  // namespace ui
