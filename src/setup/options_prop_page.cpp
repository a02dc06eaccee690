#include "setup/options_prop_page.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include "setup/options_page.h"
#include "ui/button_st.h"

namespace setup {

namespace {

constexpr int kLoadIcon = 356;
constexpr int kSaveIcon = 357;

}  // namespace

QImage CustomSetupIcon(int id) {
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setPen(QColor(0, 0, 0));
    if (id == kLoadIcon) {
        p.setBrush(QColor(230, 190, 60));
        p.drawRect(3, 9, 24, 17);
        p.drawRect(3, 6, 10, 3);
        p.setBrush(QColor(250, 220, 110));
        p.drawPolygon(QPolygon({QPoint(7, 14), QPoint(30, 14), QPoint(26, 26), QPoint(3, 26)}));
    } else {
        p.setBrush(QColor(40, 60, 160));
        p.drawRect(4, 4, 24, 24);
        p.setBrush(QColor(235, 235, 235));
        p.drawRect(9, 4, 14, 9);
        p.setBrush(QColor(90, 90, 90));
        p.drawRect(9, 18, 14, 10);
    }
    return icon;
}

COptionsPropPage::COptionsPropPage(OptionsPage& model, QWidget* parent)
    : CSetupPropPage(model, parent) {
    auto* layout = new QVBoxLayout(this);
    QGroupBox* group = NewGroup("Custom Setup");
    auto* row = new QHBoxLayout(group);
    const auto button = [row](int id, const char* caption, int icon) {
        auto* b = new ui::CButtonST(caption);
        b->setObjectName(QString::number(id));
        b->SetIcon(CustomSetupIcon(icon), ui::CButtonST::BTNST_NO_ICON);
        b->SetFlat(FALSE);
        // Enter on the page is the sheet's "Apply All", whichever button has the focus.
        b->setAutoDefault(false);
        b->setMinimumSize(120, 48);
        row->addWidget(b);
        return b;
    };
    ui::CButtonST* load = button(options_ids::kLoadSetup, "Load Setup", kLoadIcon);
    ui::CButtonST* save = button(options_ids::kSaveSetup, "Save Setup", kSaveIcon);
    OnChoice(load, [&model] { model.OnLoadSetup(); });
    OnChoice(save, [&model] { model.OnSaveSetup(); });
    layout->addWidget(group);
    layout->addStretch(1);
}

}  // namespace setup
