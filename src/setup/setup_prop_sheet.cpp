#include "setup/setup_prop_sheet.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "link/instr_status.h"
#include "platform/dialog_parent.h"
#include "setup/channels_page.h"
#include "setup/cur_setting_prop_page.h"
#include "setup/current_settings.h"
#include "setup/data_logging_page.h"
#include "setup/data_logging_prp_page.h"
#include "setup/date_prop_page.h"
#include "setup/general_page.h"
#include "setup/info_prop_page.h"
#include "setup/options_page.h"
#include "setup/options_prop_page.h"
#include "setup/setup_host.h"
#include "setup/setup_prop_page.h"
#include "setup/spectrum_page.h"
#include "setup/spectrum_prop_page.h"

namespace setup {

namespace {

std::unique_ptr<SetupPage> MakePage(SetupHost& host, SetupPageKind kind) {
    switch (kind) {
        case SetupPageKind::Current:
            return std::make_unique<CurrentSettings>(host);
        case SetupPageKind::General:
            return std::make_unique<GeneralPage>(host);
        case SetupPageKind::Spectrum:
            return std::make_unique<SpectrumPage>(host);
        case SetupPageKind::Channels:
            return std::make_unique<ChannelsPage>(host);
        case SetupPageKind::DataLogging:
            return std::make_unique<DataLoggingPage>(host);
        case SetupPageKind::Options:
            return std::make_unique<OptionsPage>(host);
        default:
            return std::make_unique<SetupPage>(host, kind);
    }
}

CSetupPropPage* MakePageWindow(SetupPage& page) {
    if (auto* current = dynamic_cast<CurrentSettings*>(&page))
        return new CCurSettingPropPage(*current);
    if (auto* general = dynamic_cast<GeneralPage*>(&page))
        return new CDatePropPage(*general);
    if (auto* spectrum = dynamic_cast<SpectrumPage*>(&page))
        return new CSpectrrumPropPage(*spectrum);
    if (auto* channels = dynamic_cast<ChannelsPage*>(&page))
        return new CInfoPropPage(*channels);
    if (auto* logging = dynamic_cast<DataLoggingPage*>(&page))
        return new CDataLoggingPrpPage(*logging);
    if (auto* options = dynamic_cast<OptionsPage*>(&page))
        return new COptionsPropPage(*options);
    return new CSetupPropPage(page);
}

}  // namespace

// The dialog on screen: the tabs, "Apply All" and "Cancel". Enter closes it only on the pages
// that let it through.
class CSetupPropSheet::SheetWindow : public QDialog {
public:
    SheetWindow(CSetupPropSheet& sheet, QWidget* parent) : QDialog(parent), m_sheet(sheet) {
        setWindowTitle(kCaption);
        auto* layout = new QVBoxLayout(this);
        m_tabs = new QTabWidget;
        layout->addWidget(m_tabs);
        for (int i = 0; i < sheet.PageCount(); ++i) {
            CSetupPropPage* page = MakePageWindow(sheet.Page(i));
            m_pages.push_back(page);
            m_tabs->addTab(page, ToQt(sheet.Page(i).Info().title));
            if (const int image = TabImageAt(i); image >= 0)
                m_tabs->setTabIcon(i, QIcon(QPixmap::fromImage(SetupTabImage(image))));
        }
        auto* buttons = new QDialogButtonBox;
        QPushButton* apply = buttons->addButton("Apply All", QDialogButtonBox::AcceptRole);
        QPushButton* cancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
        apply->setObjectName(QString::number(IDOK));
        cancel->setObjectName(QString::number(IDCANCEL));
        apply->setDefault(true);
        layout->addWidget(buttons);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        connect(buttons, &QDialogButtonBox::accepted, this, [this] {
            if (m_sheet.ApplyAll())
                accept();
        });
        connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
            if (m_turningBack || index == m_sheet.ActivePage())
                return;
            if (!m_sheet.SetActivePage(index)) {
                m_turningBack = true;
                m_tabs->setCurrentIndex(m_sheet.ActivePage());
                m_turningBack = false;
            }
        });
    }

    CSetupPropPage* Page(int index) const {
        return index >= 0 && index < static_cast<int>(m_pages.size())
                   ? m_pages[static_cast<size_t>(index)]
                   : nullptr;
    }
    void ShowTab(int index) {
        m_turningBack = true;
        m_tabs->setCurrentIndex(index);
        m_turningBack = false;
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        const int active = m_sheet.ActivePage();
        if (enter && active >= 0 && m_sheet.Page(active).Info().swallowsEnter) {
            event->accept();
            return;
        }
        QDialog::keyPressEvent(event);
    }

private:
    CSetupPropSheet& m_sheet;
    QTabWidget* m_tabs = nullptr;
    std::vector<CSetupPropPage*> m_pages;
    bool m_turningBack = false;
};

CSetupPropSheet::CSetupPropSheet(SetupHost& host) {
    for (SetupPageKind kind : SheetPagesFor(host.Current().m_strModel))
        m_pages.push_back(MakePage(host, kind));
    m_initialised.assign(m_pages.size(), false);
}

CSetupPropSheet::CSetupPropSheet(std::vector<std::unique_ptr<SetupPage>> pages)
    : m_pages(std::move(pages)) {
    m_initialised.assign(m_pages.size(), false);
}

CSetupPropSheet::~CSetupPropSheet() = default;

std::vector<SetupPageKind> CSetupPropSheet::Kinds() const {
    std::vector<SetupPageKind> kinds;
    for (const auto& page : m_pages)
        kinds.push_back(page->Kind());
    return kinds;
}

CSetupPropPage* CSetupPropSheet::Widget(int index) const {
    return m_window ? m_window->Page(index) : nullptr;
}

void CSetupPropSheet::Activate(int index) {
    SetupPage& page = Page(index);
    if (!m_initialised[static_cast<size_t>(index)]) {
        m_initialised[static_cast<size_t>(index)] = true;
        page.OnInitDialog();
    }
    m_active = index;
    page.OnSetActive();
    if (CSetupPropPage* widget = Widget(index))
        widget->ShowControls();
}

bool CSetupPropSheet::SetActivePage(int index) {
    if (index < 0 || index >= PageCount() || !LeaveActive())
        return false;
    Activate(index);
    if (m_window)
        m_window->ShowTab(index);
    return true;
}

bool CSetupPropSheet::LeaveActive() {
    if (m_active < 0)
        return true;
    CSetupPropPage* widget = Widget(m_active);
    if (widget)
        widget->TakeControls();
    const bool left = Page(m_active).OnKillActive();
    if (widget)
        widget->ShowControls();
    return left;
}

bool CSetupPropSheet::ApplyAll() {
    if (!LeaveActive())
        return false;
    m_applied = true;
    return true;
}

QDialog* CSetupPropSheet::CreateWindow(QWidget* parent) {
    if (!m_window) {
        m_window = std::make_unique<SheetWindow>(*this, parent);
        if (m_active < 0 && PageCount() > 0)
            Activate(0);
        m_window->ShowTab(m_active);
        if (CSetupPropPage* widget = Widget(m_active))
            widget->ShowControls();
    }
    return m_window.get();
}

QDialog* CSetupPropSheet::Window() const {
    return m_window.get();
}

int CSetupPropSheet::RunOnScreen() {
    QDialog* window = CreateWindow(platform::DialogParent());
    const int result = window->exec() == QDialog::Accepted ? IDOK : IDCANCEL;
    m_window.reset();
    return result;
}

int CSetupPropSheet::Run() {
    m_applied = false;
    if (m_active < 0 && PageCount() > 0)
        Activate(0);
    int result = DoModal();
    if (result == IDOK && !m_applied && !ApplyAll())
        result = IDCANCEL;
    return result;
}

QImage SetupTabImage(int image) {
    QImage picture(13, 13, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor ink(0, 0, 128);
    p.setPen(ink);
    switch (image) {
        case 0:  // options: a folder
            p.fillRect(1, 4, 11, 7, QColor(230, 190, 60));
            p.drawRect(1, 4, 10, 7);
            p.drawLine(1, 3, 5, 3);
            break;
        case 1:  // current settings: a list
            for (int y = 2; y <= 10; y += 4) {
                p.fillRect(1, y, 2, 2, ink);
                p.drawLine(4, y, 11, y);
            }
            break;
        case 2:  // data logging: a memory chip
            p.fillRect(3, 2, 7, 9, QColor(60, 60, 60));
            for (int y = 3; y <= 9; y += 2) {
                p.drawPoint(1, y);
                p.drawPoint(11, y);
            }
            break;
        case 3:  // general: a clock
            p.drawEllipse(1, 1, 10, 10);
            p.drawLine(6, 6, 6, 3);
            p.drawLine(6, 6, 9, 6);
            break;
        case 4:  // spectrum: bars
            for (int i = 0; i < 4; ++i) {
                const int height = 3 + (i * 5) % 8;
                p.fillRect(1 + i * 3, 12 - height, 2, height, QColor(0, 128, 0));
            }
            break;
        default:  // channels: a level meter
            p.drawRect(1, 1, 10, 10);
            p.fillRect(3, 6, 2, 4, QColor(200, 0, 0));
            p.fillRect(6, 3, 2, 7, QColor(200, 0, 0));
            break;
    }
    return picture;
}

}  // namespace setup
