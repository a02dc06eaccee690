#include "setup/info_prop_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>
#include <array>
#include <initializer_list>

#include "setup/channels_page.h"

namespace setup {

using namespace channels_ids;

CInfoPropPage::CInfoPropPage(ChannelsPage& model, QWidget* parent) : CSetupPropPage(model, parent) {
    auto label = [this](int id, const QString& text) {
        QLabel* l = id > 0 ? NewText(id) : new QLabel;
        l->setText(text);
        return l;
    };
    // A caption and its lists on one row of `grid`.
    auto row = [&label](QGridLayout* grid, int at, int captionId, const QString& caption,
                        std::initializer_list<QWidget*> lists) {
        grid->addWidget(label(captionId, caption), at, 0);
        int column = 1;
        for (QWidget* list : lists)
            grid->addWidget(list, at, column++);
    };

    QGroupBox* slm = NewGroup("SLM");
    auto* slmGrid = new QGridLayout(slm);
    const std::array<int, 5> captions = {0, 0, 0, kSlm4Label, kSlm5Label};
    for (size_t i = 0; i < kSlmParams.size(); ++i) {
        QComboBox* parameter = NewList(kSlmParams[i]);
        const int channel = static_cast<int>(i) + 1;
        OnChoice(parameter, [&model, channel] { model.OnSelChangeSlm(channel); });
        row(slmGrid, static_cast<int>(i), captions[i], QString("SLM %1").arg(channel),
            {parameter, NewList(kSlmBands[i])});
    }

    QGroupBox* profile = NewGroup("PROFILE", kProfileGroup);
    auto* profileGrid = new QGridLayout(profile);
    QComboBox* profileParam = NewList(kProfileParam);
    OnChoice(profileParam, [&model] { model.OnSelChangeProfileParam(); });
    row(profileGrid, 0, kProfileParamLabel, "Parameter", {profileParam, NewList(kProfileBand)});
    row(profileGrid, 1, kProfileTimeLabel, "Time", {NewList(kProfileTime)});

    QGroupBox* statistics = NewGroup("STATISTICS");
    auto* statisticsGrid = new QGridLayout(statistics);
    QComboBox* statParam = NewList(kStatParam);
    OnChoice(statParam, [&model] { model.OnSelChangeStatParam(); });
    row(statisticsGrid, 0, 0, "Param", {statParam, NewList(kStatBand)});
    for (size_t i = 0; i < kPercentiles.size(); ++i)
        row(statisticsGrid, static_cast<int>(i) + 1, 0, QString("Percentile %1").arg(i + 1),
            {NewList(kPercentiles[i])});

    QGroupBox* dose = NewGroup("DOSE INTEGRATION");
    auto* doseGrid = new QGridLayout(dose);
    row(doseGrid, 0, 0, "Exchange Rate", {NewList(kExchangeRate)});
    row(doseGrid, 1, 0, "Dose Threshold", {NewList(kDoseThreshold)});
    row(doseGrid, 2, 0, "Dose Criterion", {NewList(kDoseCriterion)});

    auto picture = [this](int id, bool qs4160) {
        QLabel* l = NewText(id);
        l->setPixmap(QPixmap::fromImage(MeterPicture(qs4160)));
        return l;
    };

    auto* columns = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(slm);
    left->addWidget(profile);
    left->addStretch(1);
    auto* middle = new QVBoxLayout;
    middle->addWidget(statistics);
    middle->addWidget(dose);
    middle->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(picture(kQS4160Picture, true));
    right->addWidget(picture(kQS4060Picture, false));
    right->addStretch(1);
    columns->addLayout(left);
    columns->addLayout(middle);
    columns->addLayout(right);
}

QImage MeterPicture(bool qs4160) {
    QImage picture(60, 180, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor body = qs4160 ? QColor(40, 60, 110) : QColor(70, 70, 70);
    p.setPen(Qt::black);
    // Microphone on its preamplifier, the body, the display and the keys.
    p.setBrush(QColor(180, 180, 180));
    p.drawEllipse(QRectF(22, 2, 16, 16));
    p.drawRect(QRectF(26, 18, 8, 22));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(6, 40, 48, 136), 8, 8);
    p.setBrush(QColor(170, 200, 150));
    p.drawRect(QRectF(12, 50, 36, qs4160 ? 40 : 28));
    p.setBrush(QColor(220, 220, 220));
    const int keysTop = qs4160 ? 104 : 92;
    for (int r = 0; r < 3; ++r)
        for (int k = 0; k < 3; ++k)
            p.drawEllipse(QRectF(13 + k * 13, keysTop + r * 16, 8, 8));
    return picture;
}

}  // namespace setup
