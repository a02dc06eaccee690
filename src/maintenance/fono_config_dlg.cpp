#include "maintenance/fono_config_dlg.h"

#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "link/link_session.h"
#include "link/link_side.h"
#include "maintenance/dialog_buttons.h"
#include "platform/operator.h"
#include "platform/text.h"
#include "report/instr_log.h"

using ui::ToQt;

namespace {
constexpr const char* kDone = "Aggiornamento data di scadenza taratura completato.";
constexpr const char* kNothingToChange =
    "I dati dello strumento sono gia' aggiornati.\nNessuna modifica eseguita.";
constexpr const char* kNotRecorded =
    "ATTENZIONE:\nLo strumento e' stato aggiornato ma la registrazione della modifica sul "
    "server e' fallita.\nLa modifica sara' registrata al prossimo aggiornamento dello "
    "strumento.";
constexpr const char* kPartRecorded = "\n\nLa modifica incompleta e' stata registrata sul server.";
constexpr const char* kLeftForNextUpdate =
    "\n\nLa modifica sara' registrata sul server al prossimo aggiornamento dello strumento.";
constexpr const char* kJournalKept =
    "\n\nLa modifica e' stata registrata sul server, ma il registro delle modifiche in corso "
    "non e' stato cancellato:\n%s\nIl prossimo aggiornamento dello strumento registrerebbe "
    "di nuovo la modifica.";
constexpr const char* kPartNotRecorded =
    "\n\nRegistrazione della modifica incompleta sul server fallita.\nLa modifica sara' "
    "registrata al prossimo aggiornamento dello strumento.";
}  // namespace

CFonoConfigDlg::CFonoConfigDlg(const maintenance::CalibExpiryUpdate::Uses& uses)
    : m_log(uses.log), m_link(uses.link), m_update(uses) {}

CFonoConfigDlg::~CFonoConfigDlg() {
    DestroyWindow();
}

ui::HookedDialog::Hooks CFonoConfigDlg::WindowHooks() {
    return {.ok = [this] { OnApply(); }, .cancel = [this] { OnCancel(); }};
}

BOOL CFonoConfigDlg::Create() {
    if (HasWindow())
        return TRUE;
    ModelessWindow::Create();
    ShowWindow(true);
    if (!m_update.ReadInstrument()) {
        platform::AfxMessageBox(m_update.Error(), MB_ICONSTOP);
        Close("-1");
        return TRUE;
    }
    ShowFields();
    switch (DoModal()) {
        case kAnswerOnWindow:
            break;
        case IDOK:
            OnApply();
            break;
        default:
            OnCancel();
            break;
    }
    return TRUE;
}

int CFonoConfigDlg::RunOnScreen() {
    ShowWindow(true);
    return kAnswerOnWindow;
}

void CFonoConfigDlg::OnApply() {
    if (!HasWindow())
        return;
    if (!m_update.AnyChange()) {
        platform::AfxMessageBox(kNothingToChange, MB_ICONINFORMATION);
        Close("OK");
        return;
    }
    if (!m_update.WriteInstrument()) {
        std::string box = m_update.Error();
        // The meter holds part of the change: the server hears of it, marked incomplete. What
        // a meter not read back holds, the next update finds and records.
        if (m_update.LeftForNextUpdate())
            box += kLeftForNextUpdate;
        else if (m_update.AnyWritten())
            box += Record() ? kPartRecorded + JournalKeptText() : kPartNotRecorded;
        platform::AfxMessageBox(box, MB_ICONSTOP);
        Close("-1");
        return;
    }
    ShowFields();
    if (!Record())
        platform::AfxMessageBox(kNotRecorded, MB_ICONEXCLAMATION);
    else if (const std::string kept = JournalKeptText(); !kept.empty())
        platform::AfxMessageBox(kDone + kept, MB_ICONEXCLAMATION);
    else
        platform::AfxMessageBox(kDone, MB_ICONINFORMATION);
    Close("OK");
}

std::string CFonoConfigDlg::JournalKeptText() const {
    const std::string& problem = m_update.JournalKept();
    return problem.empty() ? std::string() : platform::Format(kJournalKept, problem.c_str());
}

bool CFonoConfigDlg::Record() {
    if (m_update.RecordChange())
        return true;
    m_log.WriteInstrLog("Err: registrazione modifica sul server fallita");
    return false;
}

void CFonoConfigDlg::OnCancel() {
    if (!HasWindow())
        return;
    m_link.ClosePort(LinkSide::Target);
    Close("-1");
}

void CFonoConfigDlg::Close(const std::string& result) {
    m_strResult = result;
    DestroyWindow();
}

void CFonoConfigDlg::BuildWindow(QDialog& dialog) {
    dialog.setWindowTitle(ToQt("Aggiornamento data scadenza taratura"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* identity = new QLabel(&dialog);
    identity->setObjectName("identity");
    layout->addWidget(identity);
    auto* table = new QTableWidget(0, 3, &dialog);
    table->setObjectName(kFieldTableName);
    table->setHorizontalHeaderLabels(
        {ToQt("Campo"), ToQt("Nello strumento"), ToQt("Nuovo valore")});
    // Every field's name and value whole, whatever the font: the columns follow their texts.
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(table);
    maintenance::AddStepButtons(dialog, *layout, "Applica");
    dialog.resize(560, 260);
}

void CFonoConfigDlg::ShowFields() {
    QDialog* window = Window();
    if (!window)
        return;
    if (auto* identity = window->findChild<QLabel*>("identity"))
        identity->setText(ToQt("Strumento " + m_update.Model() + " SN " + m_update.Serial()));
    auto* table = window->findChild<QTableWidget*>(kFieldTableName);
    if (!table)
        return;
    const auto& fields = m_update.Fields();
    table->setRowCount(static_cast<int>(fields.size()));
    for (int row = 0; row < table->rowCount(); ++row) {
        const maintenance::FieldState& state = fields[static_cast<size_t>(row)];
        const std::string shown = state.after.empty() ? state.inMeter : state.after;
        table->setItem(row, 0, new QTableWidgetItem(ToQt(state.field->label)));
        table->setItem(row, 1, new QTableWidgetItem(ToQt(shown)));
        table->setItem(row, 2,
                       new QTableWidgetItem(ToQt(state.Changes() ? state.fresh : "(invariato)")));
    }
    // Wide enough for the three columns side by side, without a scroll bar.
    QHeaderView* header = table->horizontalHeader();
    header->setStretchLastSection(false);
    table->resizeColumnsToContents();
    const int width =
        header->length() + 2 * table->frameWidth() + table->verticalScrollBar()->sizeHint().width();
    header->setStretchLastSection(true);
    table->setMinimumWidth(width);
}
