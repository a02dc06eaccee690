// The port settings dialog on screen: its controls, named by their ids, show the dialog
// object's state, and every click goes through the object's handlers.

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <map>

#include "app/port_setup_dlg.h"
#include "platform/dialog_parent.h"
#include "platform/qt_text.h"
#include "ui/program_images.h"

namespace {

template <typename Widget>
Widget* Named(Widget* widget, int id) {
    widget->setObjectName(QString::number(id));
    return widget;
}

void Fill(QComboBox* combo, const std::vector<std::string>& entries, int selection) {
    combo->clear();
    for (const std::string& entry : entries)
        combo->addItem(platform::ToQt(entry));
    combo->setCurrentIndex(selection);
}

}  // namespace

int CPortSetupDlg::RunOnScreen() {
    QDialog dialog(platform::DialogParent());
    dialog.setWindowTitle("Impostazioni connessione");
    auto* layout = new QVBoxLayout(&dialog);
    std::map<int, QWidget*> controls;
    auto keep = [&controls](int id, auto* widget) {
        controls[id] = Named(widget, id);
        return widget;
    };
    const char* lineFormat = "38400 - 8, N, 2, Xon/Xoff )";

    auto* refGroup = keep(IDC_REF_GROUP, new QGroupBox("Strumento di riferimento"));
    auto* refLayout = new QGridLayout(refGroup);
    refLayout->addWidget(keep(IDC_REF_NAME, new QLabel("QS4060KRTN ( REF )")), 0, 0, 1, 3);
    refLayout->addWidget(keep(IDC_REF_PORT_LABEL, new QLabel("Port")), 1, 0);
    auto* refPort = keep(IDC_REF_PORT, new QComboBox);
    refLayout->addWidget(refPort, 1, 1);
    refLayout->addWidget(keep(IDC_REF_FORMAT, new QLabel(lineFormat)), 1, 2);
    auto* refRate = keep(IDC_REF_RATE, new QComboBox);
    refLayout->addWidget(refRate, 2, 1);
    layout->addWidget(refGroup);

    auto* targetGroup = new QGroupBox("Strumento da verificare");
    auto* targetLayout = new QGridLayout(targetGroup);
    auto* targetCheck = keep(IDC_TARGET_CHECK, new QCheckBox("QS4060KRTN ( DUT )"));
    targetLayout->addWidget(targetCheck, 0, 0, 1, 3);
    targetLayout->addWidget(new QLabel("Port"), 1, 0);
    auto* targetPort = keep(IDC_TARGET_PORT, new QComboBox);
    targetLayout->addWidget(targetPort, 1, 1);
    targetLayout->addWidget(new QLabel(lineFormat), 1, 2);
    auto* targetRate = keep(IDC_TARGET_RATE, new QComboBox);
    targetLayout->addWidget(targetRate, 2, 1);
    layout->addWidget(targetGroup);

    auto* autoDetect = keep(IDC_AUTO_DETECT, new QCheckBox("Auto detect"));
    layout->addWidget(autoDetect);

    auto* typeGroup = new QGroupBox("Select connection type");
    auto* typeLayout = new QGridLayout(typeGroup);
    auto* cable = keep(IDC_CABLE, new QRadioButton("Cable"));
    auto* modem = keep(IDC_MODEM, new QRadioButton("Modem"));
    auto* number = keep(IDC_MODEM_NUMBER, new QLineEdit);
    typeLayout->addWidget(cable, 0, 0);
    typeLayout->addWidget(modem, 0, 1);
    typeLayout->addWidget(new QLabel("Num."), 1, 0);
    typeLayout->addWidget(number, 1, 1);
    layout->addWidget(typeGroup);

    auto* picture = keep(IDC_PICTURE, new QLabel);
    picture->setPixmap(QPixmap::fromImage(ui::ProgramBitmap(ui::IDB_METER_LINK)));
    picture->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QString::number(IDOK));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QString::number(IDCANCEL));
    layout->addWidget(buttons);

    auto write = [&] {
        Fill(refPort, PortEntries(), m_nRefPortSel);
        Fill(targetPort, PortEntries(), m_nTargetPortSel);
        Fill(refRate, RateEntries(), m_nRefRateSel);
        Fill(targetRate, RateEntries(), m_nTargetRateSel);
        autoDetect->setChecked(m_bAutoDetect != FALSE);
        targetCheck->setChecked(m_bTargetCheck != FALSE);
        // Neither radio is checked until a type is chosen.
        cable->setAutoExclusive(false);
        modem->setAutoExclusive(false);
        cable->setChecked(m_nConnectionType == kCable);
        modem->setChecked(m_nConnectionType == kModem);
        cable->setAutoExclusive(true);
        modem->setAutoExclusive(true);
        number->setText(platform::ToQt(m_strModemNumber));
        for (const auto& [id, widget] : controls) {
            widget->setVisible(IsItemVisible(id));
            widget->setEnabled(IsItemEnabled(id));
        }
    };
    auto read = [&] {
        m_nRefPortSel = refPort->currentIndex();
        m_nTargetPortSel = targetPort->currentIndex();
        m_nRefRateSel = refRate->currentIndex();
        m_nTargetRateSel = targetRate->currentIndex();
        m_bAutoDetect = autoDetect->isChecked() ? TRUE : FALSE;
        m_bTargetCheck = targetCheck->isChecked() ? TRUE : FALSE;
        m_nConnectionType = modem->isChecked() ? kModem : cable->isChecked() ? kCable : -1;
        m_strModemNumber = platform::FromQt(number->text());
    };
    auto handle = [&](void (CPortSetupDlg::*handler)()) {
        return [this, &read, &write, handler] {
            read();
            (this->*handler)();
            write();
        };
    };
    QObject::connect(targetCheck, &QCheckBox::clicked, &dialog,
                     handle(&CPortSetupDlg::OnTargetCheck));
    QObject::connect(autoDetect, &QCheckBox::clicked, &dialog,
                     handle(&CPortSetupDlg::OnAutoDetect));
    QObject::connect(cable, &QRadioButton::clicked, &dialog, handle(&CPortSetupDlg::OnCable));
    QObject::connect(modem, &QRadioButton::clicked, &dialog, handle(&CPortSetupDlg::OnModem));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        read();
        dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    write();
    return dialog.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}
