#include "verification/set_vscale_dlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <optional>

#include "platform/operator.h"
#include "platform/text.h"

using ui::FromQt;
using ui::HookedDialog;
using ui::IdName;
using ui::ToQt;

namespace {

// Digits with at most one decimal point: what a meter's display shows. The conversion alone
// would also take "nan", "inf", hexadecimal and exponents.
bool IsPlainDecimal(const std::string& field) {
    int digits = 0;
    int points = 0;
    for (const char c : field) {
        if (c >= '0' && c <= '9')
            ++digits;
        else if (c == '.')
            ++points;
        else
            return false;
    }
    return digits > 0 && points <= 1;
}

// The value typed in a field, when the whole field is one number; a decimal comma counts as
// a decimal point.
std::optional<double> FieldNumber(const std::string& text) {
    const std::string field = platform::ReplaceAll(platform::Trim(text), ",", ".");
    if (!IsPlainDecimal(field))
        return std::nullopt;
    char* end = nullptr;
    const double value = platform::StrToD(field.c_str(), &end);
    if (end != field.c_str() + field.size())
        return std::nullopt;
    return value;
}

}  // namespace

CSet_VScale_Dlg::CSet_VScale_Dlg() = default;

CSet_VScale_Dlg::~CSet_VScale_Dlg() {
    DestroyWindow();
}

HookedDialog::Hooks CSet_VScale_Dlg::WindowHooks() {
    return {
        .shown = [this] { OnShow(); }, .ok = [this] { OnOK(); }, .cancel = [this] { OnCancel(); }};
}

void CSet_VScale_Dlg::BuildWindow(QDialog& dialog) {
    dialog.setWindowTitle(ToQt("Inserire Misure fonometro da verificare"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* form = new QFormLayout;
    for (int channel = 0; channel < 3; ++channel) {
        auto* label = new QLabel(&dialog);
        label->setObjectName(IdName(IDC_LABELS[channel]));
        auto* value = new QLineEdit(&dialog);
        value->setObjectName(IdName(IDC_VALUES[channel]));
        QObject::connect(
            value, &QLineEdit::textEdited, &dialog,
            [this, channel](const QString& text) { m_strValues[channel] = FromQt(text); });
        form->addRow(label, value);
    }
    layout->addLayout(form);
    auto* overload = new QCheckBox(ToQt("Sovraccarico"), &dialog);
    overload->setObjectName(IdName(IDC_OVERLOAD));
    QObject::connect(overload, &QCheckBox::toggled, &dialog,
                     [this](bool ticked) { m_bOverload = ticked ? 1 : 0; });
    layout->addWidget(overload);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    Sync();
}

void CSet_VScale_Dlg::ShowOverloadBox(bool show) {
    m_overloadShown = show;
    Sync();
}

void CSet_VScale_Dlg::SetValueText(int channel, const std::string& text) {
    m_strValues.at(static_cast<size_t>(channel)) = text;
    Sync();
}

void CSet_VScale_Dlg::SetOverload(bool ticked) {
    m_bOverload = ticked ? 1 : 0;
    Sync();
}

void CSet_VScale_Dlg::OnShow() {
    m_accepted = false;
    m_strValues = {};
    // A tick left from an earlier reading must not mark this one.
    m_bOverload = 0;
    Sync();
}

void CSet_VScale_Dlg::OnOK() {
    for (size_t channel = 0; channel < m_strLabels.size(); ++channel) {
        if (m_strLabels[channel].empty())
            continue;
        const auto value = FieldNumber(m_strValues[channel]);
        if (!value || *value < kLowestValue || *value > kHighestValue) {
            platform::AfxMessageBox("Inserire misura del canale " + m_strLabels[channel],
                                    MB_ICONSTOP);
            return;
        }
        m_strValues[channel] = platform::ReplaceAll(platform::Trim(m_strValues[channel]), ",", ".");
    }
    m_accepted = true;
    Sync();
    ShowWindow(false);
}

void CSet_VScale_Dlg::OnCancel() {
    m_accepted = false;
    ShowWindow(false);
}

void CSet_VScale_Dlg::Sync() {
    QDialog* window = Window();
    if (!window)
        return;
    for (size_t channel = 0; channel < 3; ++channel) {
        if (auto* label = window->findChild<QLabel*>(IdName(IDC_LABELS[channel])))
            label->setText(ToQt(m_strLabels[channel]));
        if (auto* value = window->findChild<QLineEdit*>(IdName(IDC_VALUES[channel]))) {
            if (FromQt(value->text()) != m_strValues[channel])
                value->setText(ToQt(m_strValues[channel]));
            // The first channel is read in every test.
            value->setEnabled(channel == 0 || !m_strLabels[channel].empty());
        }
    }
    if (auto* overload = window->findChild<QCheckBox*>(IdName(IDC_OVERLOAD))) {
        overload->setVisible(m_overloadShown);
        overload->setChecked(m_bOverload != 0);
    }
}
