#include "acquisition/loose_data_dlg.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/win_types.h"
#include "ui/posted_click.h"

namespace acquisition {

void CLooseDataDlg::BuildWindow(QDialog& dialog) {
    dialog.setWindowTitle("KX9 Monitor");
    dialog.setObjectName(ui::IdName(IDD));
    auto* layout = new QVBoxLayout(&dialog);
    for (const char* text : {"WARNING:", "Loss data detected."}) {
        auto* label = new QLabel(text, &dialog);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    auto* ok = new QPushButton("OK", &dialog);
    ok->setObjectName(ui::IdName(IDOK));
    ok->setDefault(true);
    ui::OnClickedLater(ok, &dialog, [&dialog] { dialog.accept(); });
    layout->addWidget(ok, 0, Qt::AlignHCenter);
}

void CLooseDataDlg::ShowLoss() {
    Create();
    ShowWindow(true);
}

}  // namespace acquisition
