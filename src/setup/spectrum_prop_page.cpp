#include "setup/spectrum_prop_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "setup/spectrum_page.h"

namespace setup {

using namespace spectrum_ids;

CSpectrrumPropPage::CSpectrrumPropPage(SpectrumPage& model, QWidget* parent)
    : CSetupPropPage(model, parent) {
    auto* page = new QVBoxLayout(this);

    QGroupBox* bands = NewGroup("Octave - T.Octave");
    auto* grid = new QGridLayout(bands);
    QComboBox* type = NewList(kType);
    QComboBox* mean = NewList(kMean);
    QLabel* weightCaption = NewText(kMeanWeightLabel);
    weightCaption->setText("Mean Weight");
    const std::pair<QWidget*, QWidget*> rows[] = {
        {new QLabel("Type"), type},
        {new QLabel("Aux. Pond"), NewList(kAuxWeighting)},
        {new QLabel("Step"), NewList(kStep)},
        {new QLabel("Mean"), mean},
        {weightCaption, NewList(kMeanWeight)},
    };
    int row = 0;
    for (const auto& [caption, control] : rows) {
        grid->addWidget(caption, row, 0);
        grid->addWidget(control, row, 1);
        ++row;
    }
    QLabel* shift = NewText(kBandShift);
    shift->setFrameStyle(QFrame::Box | QFrame::Sunken);
    grid->addWidget(shift, row, 0, 1, 2);
    page->addWidget(bands);

    QGroupBox* fft = NewGroup("FFT", kFftGroup);
    auto* fftRow = new QGridLayout(fft);
    QLabel* bandCaption = NewText(kFftBandLabel);
    bandCaption->setText("FFT Band");
    fftRow->addWidget(bandCaption, 0, 0);
    fftRow->addWidget(NewList(kFftBand), 0, 1);
    page->addWidget(fft);
    page->addStretch(1);

    OnChoice(type, [&model] { model.OnSelChangeMeanType(); });
    OnChoice(mean, [&model] { model.OnSelChangeMean(); });
}

}  // namespace setup
