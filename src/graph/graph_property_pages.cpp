#include "graph/graph_property_pages.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <charconv>

#include "graph/axis_label.h"
#include "graph/graph_combo_box.h"
#include "graph/graph_panel.h"
#include "graph/graph_wnd.h"
#include "platform/operator.h"
#include "platform/text.h"

namespace graph {

namespace {

// The framework's texts for an entry that does not read as a number.
constexpr const char* kEnterNumber = "Please enter a number.";
constexpr const char* kEnterInteger = "Please enter an integer.";
constexpr int kLimitDecimals = 6;
// A double shown in an edit as the framework shows one: up to 15 significant digits.
constexpr int kShownDigits = 15;

QLineEdit* AddEdit(QFormLayout* form, const char* label, int id) {
    auto* edit = new QLineEdit;
    edit->setObjectName(IdName(id));
    form->addRow(label, edit);
    return edit;
}

QCheckBox* AddCheck(QBoxLayout* layout, const char* text, int id) {
    auto* check = new QCheckBox(text);
    check->setObjectName(IdName(id));
    layout->addWidget(check);
    return check;
}

QPushButton* AddButton(QBoxLayout* layout, const char* text, int id) {
    auto* button = new QPushButton(text);
    button->setObjectName(IdName(id));
    layout->addWidget(button);
    return button;
}

QString ShowDouble(double value) {
    char text[64];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, kShownDigits);
    return ToQt(std::string_view(text, static_cast<size_t>(result.ptr - text)));
}

std::optional<double> ReadDouble(QLineEdit* edit) {
    const std::string text = platform::Trim(FromQt(edit->text()));
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<int> ReadInt(QLineEdit* edit) {
    const std::string text = platform::Trim(FromQt(edit->text()));
    int value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The framework's check of an entry: a box, the edit focused, the page kept open.
bool Refuse(QLineEdit* edit, const std::string& text) {
    platform::AfxMessageBox(text, MB_ICONEXCLAMATION);
    edit->setFocus();
    edit->selectAll();
    return false;
}

}  // namespace

double CutLimit(double value, int decimals) {
    const std::string printed = FormatFixed(value, kLimitDecimals);
    const size_t point = printed.find('.');
    const std::string cut = point == std::string::npos
                                ? printed
                                : printed.substr(0, point + (decimals > 0 ? 1 + decimals : 0));
    double result = 0;
    std::from_chars(cut.data(), cut.data() + cut.size(), result);
    return result;
}

// --- "General"

CGraphPropertyPage::CGraphPropertyPage() {
    setObjectName("102");
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("Coordinates range");
    auto* form = new QFormLayout(group);
    m_edits[0] = AddEdit(form, "x1 =", 1012);
    m_edits[1] = AddEdit(form, "x2 =", 1013);
    m_edits[2] = AddEdit(form, "y1 =", 1016);
    m_edits[3] = AddEdit(form, "y2 =", 1017);
    layout->addWidget(group);
    m_checks[0] = AddCheck(layout, "Point marks", 1024);
    m_checks[1] = AddCheck(layout, "Mouse coordinates", 1026);
    m_checks[2] = AddCheck(layout, "Axis", 1018);
    layout->addStretch();
}

void CGraphPropertyPage::Fill(const VisibleRange& range, unsigned options) {
    m_x1 = CutLimit(range.xFrom, 0);
    m_x2 = CutLimit(range.xTo, 0);
    m_y1 = CutLimit(range.yFrom, 1);
    m_y2 = CutLimit(range.yTo, 1);
    m_nPointMarks = (options & CGraphPanel::kPointMarks) != 0;
    m_nMouseCoords = (options & CGraphPanel::kReadout) != 0;
    m_nAxis = (options & CGraphPanel::kAxis) != 0;
}

unsigned CGraphPropertyPage::ApplyTo(unsigned options) const {
    const auto bit = [&options](unsigned flag, int on) {
        options = on ? options | flag : options & ~flag;
    };
    bit(CGraphPanel::kPointMarks, m_nPointMarks);
    bit(CGraphPanel::kReadout, m_nMouseCoords);
    bit(CGraphPanel::kAxis, m_nAxis);
    return options;
}

bool CGraphPropertyPage::UpdateData(bool save) {
    double* limits[4] = {&m_x1, &m_x2, &m_y1, &m_y2};
    int* checks[3] = {&m_nPointMarks, &m_nMouseCoords, &m_nAxis};
    if (!save) {
        for (int i = 0; i < 4; ++i)
            m_edits[i]->setText(ShowDouble(*limits[i]));
        for (int i = 0; i < 3; ++i)
            m_checks[i]->setChecked(*checks[i] != 0);
        return true;
    }
    double read[4];
    for (int i = 0; i < 4; ++i) {
        const std::optional<double> value = ReadDouble(m_edits[i]);
        if (!value)
            return Refuse(m_edits[i], kEnterNumber);
        read[i] = *value;
    }
    for (int i = 0; i < 4; ++i)
        *limits[i] = read[i];
    for (int i = 0; i < 3; ++i)
        *checks[i] = m_checks[i]->isChecked() ? 1 : 0;
    return true;
}

// --- "Axis"

CAxisPropertyPage::CAxisPropertyPage() {
    setObjectName("103");
    auto* layout = new QVBoxLayout(this);
    auto* xGroup = new QGroupBox("X Axis");
    auto* xForm = new QFormLayout(xGroup);
    m_xTitle = AddEdit(xForm, "Title", 1018);
    m_xUnit = AddEdit(xForm, "UOM", 1020);
    m_xPrecision = AddEdit(xForm, "Precision", 1027);
    auto* yGroup = new QGroupBox("Y Axis");
    auto* yForm = new QFormLayout(yGroup);
    m_yTitle = AddEdit(yForm, "Title", 1021);
    m_yUnit = AddEdit(yForm, "UOM", 1022);
    m_yPrecision = AddEdit(yForm, "Precision", 1028);
    layout->addWidget(xGroup);
    layout->addWidget(yGroup);
    layout->addStretch();
}

bool CAxisPropertyPage::UpdateData(bool save) {
    if (!save) {
        m_xPrecision->setText(QString::number(m_nXPrecision));
        m_xTitle->setText(ToQt(m_strXTitle));
        m_xUnit->setText(ToQt(m_strXUnit));
        m_yPrecision->setText(QString::number(m_nYPrecision));
        m_yTitle->setText(ToQt(m_strYTitle));
        m_yUnit->setText(ToQt(m_strYUnit));
        return true;
    }
    int precision[2];
    QLineEdit* edits[2] = {m_xPrecision, m_yPrecision};
    for (int i = 0; i < 2; ++i) {
        const std::optional<int> value = ReadInt(edits[i]);
        if (!value)
            return Refuse(edits[i], kEnterInteger);
        if (*value < 0 || *value > kMostDecimals)
            return Refuse(edits[i], platform::Format("Please enter an integer between 0 and %d.",
                                                     kMostDecimals));
        precision[i] = *value;
    }
    m_nXPrecision = precision[0];
    m_nYPrecision = precision[1];
    m_strXTitle = FromQt(m_xTitle->text());
    m_strXUnit = FromQt(m_xUnit->text());
    m_strYTitle = FromQt(m_yTitle->text());
    m_strYUnit = FromQt(m_yUnit->text());
    return true;
}

// --- "Graphs"

CGraphicsPropertyPage::CGraphicsPropertyPage(const CGraphWnd& graph) {
    setObjectName("104");
    m_copies.reserve(graph.GetGraphCount());
    int position = -1;
    for (const CGraphProps* series = graph.GetFirstGraph(position); series;
         series = graph.GetNextGraph(position)) {
        m_copies.emplace_back(*series);
        m_copies.back().SetIndex(position);
    }

    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    m_combo = new CGraphPropsComboBox(m_copies);
    m_combo->setObjectName(IdName(1021));
    row->addWidget(m_combo, 1);
    m_hide = AddButton(row, "Hide", 1023);
    layout->addLayout(row);
    m_name = new QLineEdit;
    m_name->setObjectName(IdName(1002));
    m_name->setReadOnly(true);
    layout->addWidget(m_name);
    auto* buttons = new QHBoxLayout;
    QPushButton* title = AddButton(buttons, "Title", 1004);
    QPushButton* colour = AddButton(buttons, "Color", 1005);
    QPushButton* showAll = AddButton(buttons, "Show all", 1028);
    layout->addLayout(buttons);
    layout->addStretch();

    for (size_t i = 0; i < m_copies.size(); ++i)
        m_combo->addItem(QString());
    QObject::connect(m_combo, &QComboBox::activated, this, [this] { OnSelChange(); });
    QObject::connect(m_hide, &QPushButton::clicked, this, [this] { OnHide(); });
    QObject::connect(title, &QPushButton::clicked, this, [this] { OnTitle(); });
    QObject::connect(colour, &QPushButton::clicked, this, [this] { OnColor(); });
    QObject::connect(showAll, &QPushButton::clicked, this, [this] { OnShowAll(); });
    if (!m_copies.empty()) {
        m_combo->setCurrentIndex(0);
        OnSelChange();
    }
}

bool CGraphicsPropertyPage::UpdateData(bool save) {
    if (!save)
        m_name->setText(ToQt(m_strName));
    return true;
}

CGraphProps* CGraphicsPropertyPage::Selected() {
    const int item = m_combo->currentIndex();
    return item >= 0 && item < static_cast<int>(m_copies.size()) ? &m_copies[item] : nullptr;
}

void CGraphicsPropertyPage::Relabel() {
    if (const CGraphProps* copy = Selected())
        m_hide->setText(copy->IsVisible() ? "Hide" : "Show");
}

void CGraphicsPropertyPage::OnSelChange() {
    const CGraphProps* copy = Selected();
    if (!copy)
        return;
    Relabel();
    m_strName = copy->GetName();
    UpdateData(false);
}

void CGraphicsPropertyPage::OnHide() {
    CGraphProps* copy = Selected();
    if (!copy)
        return;
    copy->SetVisible(!copy->IsVisible());
    Relabel();
}

void CGraphicsPropertyPage::OnShowAll() {
    if (!Selected())
        return;
    for (CGraphProps& copy : m_copies)
        copy.SetVisible(true);
    Relabel();
}

void CGraphicsPropertyPage::OnColor() {
    CGraphProps* copy = Selected();
    if (!copy)
        return;
    CColorDialog dialog(copy->GetColour());
    const QPointer<CGraphicsPropertyPage> alive(this);
    if (dialog.DoModal() != IDOK || !alive)
        return;
    copy->SetColour(dialog.m_color);
    m_combo->repaint();
}

void CGraphicsPropertyPage::OnTitle() {
    CGraphProps* copy = Selected();
    if (!copy)
        return;
    CGraphTitlePrompt dialog(copy->GetName());
    const QPointer<CGraphicsPropertyPage> alive(this);
    if (dialog.DoModal() != IDOK || !alive)
        return;
    copy->SetName(dialog.m_strTitle);
    m_combo->repaint();
    m_strName = copy->GetName();
    UpdateData(false);
}

}  // namespace graph
