#include "app/frame_commands.h"

#include <Qt>

#include "app/busy_meter_job.h"
#include "app/frame_bench.h"
#include "app/frame_command_ids.h"
#include "app/frame_data_view_commands.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame_window.h"
#include "app/maintenance_commands.h"
#include "app/port_setup_dlg.h"
#include "app/verification_workflow.h"
#include "app/view_lookup.h"
#include "link/meter_mode.h"
#include "platform/operator.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "ui/hand_book_dlg.h"
#include "ui/program_images.h"
#include "web/instrument_booking.h"
#include "web/server_databases.h"

namespace {

using Parts = FrameCommands::Parts;

struct CommandEntry {
    unsigned id;
    void (*run)(const Parts&);  // nullptr: mapped to nothing
    void (*update)(const Parts&, CCmdUI&);
};

bool HasReportRows(const Parts& p) {
    const CKX9MonitorView* view = p.views.Shown();
    return view && view->m_ReportList.GetItemCount() > 0;
}

// Nothing long may be cut short by leaving or saving.
bool IsBusy(const Parts& p) {
    return BusyMeterJobRefusal(p.mode) != nullptr;
}

// The instrument under test's port; port.ini is written whether the dialog ended with OK or not.
void OnConnectionSettings(const Parts&) {
    CPortSetupDlg dialog;
    dialog.DoModal();
    TheApp().SavePortIni(TheApp().m_RefPort, TheApp().m_TargetPort);
}

const CommandEntry kCommands[] = {
    {cmd::ID_FILE_OPEN, [](const Parts& p) { p.verification.OnFileOpen(); },
     [](const Parts& p, CCmdUI& ui) { ui.Enable(!p.bench.IsWindowCreated()); }},
    {cmd::ID_EDIT_REPORT_HEADER, [](const Parts& p) { p.verification.OnEditReportHeader(); },
     nullptr},
    {cmd::ID_VALIDATE_REPORT, [](const Parts& p) { p.verification.OnValidateReport(); },
     [](const Parts& p, CCmdUI& ui) { ui.Enable(HasReportRows(p)); }},
    // The view prints (CKX9MonitorView::OnCommand).
    {cmd::ID_FILE_PRINT, nullptr, [](const Parts& p, CCmdUI& ui) { ui.Enable(HasReportRows(p)); }},
    {cmd::ID_APP_EXIT, [](const Parts& p) { p.exit(); },
     [](const Parts& p, CCmdUI& ui) { ui.Enable(!IsBusy(p)); }},
    {cmd::ID_NEW_VERIFICATION, [](const Parts& p) { p.verification.OnNewVerification(); }, nullptr},
    {cmd::ID_CONTINUE_VERIFICATION, [](const Parts& p) { p.verification.OnContinueVerification(); },
     nullptr},
    {cmd::ID_UPDATE_CALIB_EXPIRY, [](const Parts& p) { p.verification.OnUpdateCalibExpiry(); },
     nullptr},
    {cmd::ID_CONNECTION_SETTINGS, OnConnectionSettings, nullptr},
    {cmd::ID_UPDATE_DATABASES, [](const Parts& p) { p.databases.OnUpdateDatabases(); }, nullptr},
    {cmd::ID_BOOK_INSTRUMENTS, [](const Parts& p) { p.booking.OnBookInstruments(); }, nullptr},
    {cmd::ID_REPLACE_MICROPHONE, [](const Parts& p) { p.maintenance.OnReplaceMicrophone(); },
     nullptr},
    {cmd::ID_SOFTWARE_UPDATE, [](const Parts& p) { p.maintenance.OnSoftwareUpdate(); }, nullptr},
    {cmd::ID_FIRMWARE_UPGRADE, [](const Parts& p) { p.maintenance.OnFirmwareUpgrade(); }, nullptr},
    {cmd::ID_AUDIO_CARD_SETTINGS, [](const Parts& p) { p.maintenance.OnAudioCardSettings(); },
     nullptr},
    {cmd::ID_UNUSED_33032, nullptr, nullptr},
    {cmd::ID_SAVE, [](const Parts& p) { p.dataView.OnSave(); },
     [](const Parts& p, CCmdUI& ui) {
         ui.Enable(!IsBusy(p) && !TheApp().m_strCurrentFile.empty());
     }},
    // Nothing sets the display-mode word to 3: the entry stays disabled.
    {cmd::ID_3DGRAPH_PROPERTIES, [](const Parts& p) { p.dataView.On3DGraphProperties(); },
     [](const Parts& p, CCmdUI& ui) {
         ui.Enable(!p.mode.IsDownloading() && !TheApp().m_strCurrentFile.empty() &&
                   p.dataView.DisplayMode() == 3);
     }},
    {cmd::ID_VIEW_CROSS_REFERENCE, [](const Parts& p) { p.dataView.OnViewCrossReference(); },
     nullptr},
    {cmd::ID_VIEW_3DGRAPH, [](const Parts& p) { p.dataView.OnView3DGraph(); }, nullptr},
    {cmd::ID_DATA_PRESENT, nullptr, nullptr},
};

const CommandEntry* FindCommand(unsigned id) {
    for (const CommandEntry& entry : kCommands)
        if (entry.id == id)
            return &entry;
    return nullptr;
}

}  // namespace

ui::MenuTemplate FrameMenuTemplate() {
    return ui::MenuTemplateBuilder()
        .Popup(u"&File")
        .Item(cmd::ID_FILE_OPEN, u"&Apri rapporto")
        .Item(cmd::ID_EDIT_REPORT_HEADER, u"Modifica intestazione rapporto")
        .Item(cmd::ID_VALIDATE_REPORT, u"Validazione Rapporto")
        .Item(cmd::ID_FILE_PRINT, u"Stampa Rapporto")
        .Separator()
        .Item(cmd::ID_APP_EXIT, u"&Esci")
        .EndPopup()
        .Popup(u"&Verifica periodica")
        .Item(cmd::ID_NEW_VERIFICATION, u"Avvia nuova verifica")
        .Item(cmd::ID_CONTINUE_VERIFICATION, u"Continua verifica")
        .Separator()
        .Item(cmd::ID_UPDATE_CALIB_EXPIRY, u"Aggiorna data scadenza taratura")
        .EndPopup()
        .Popup(u"&Strumenti")
        .Item(cmd::ID_CONNECTION_SETTINGS, u"Impostazioni connessione")
        .Separator()
        .Item(cmd::ID_UPDATE_DATABASES, u"Aggiornamento database strumenti / utenti")
        .Item(cmd::ID_BOOK_INSTRUMENTS, u"Prenotazione strumenti")
        .Separator()
        .Item(cmd::ID_REPLACE_MICROPHONE, u"Sostituzione microfono fonometro")
        .Item(cmd::ID_SOFTWARE_UPDATE, u"Aggiornamento software")
        .Item(cmd::ID_FIRMWARE_UPGRADE, u"Aggiornamento firmware")
        .EndPopup()
        .Popup(u"&?")
        .Item(cmd::ID_AUDIO_CARD_SETTINGS, u"Impostazioni scheda audio")
        .Separator()
        .Item(cmd::ID_HELP_HANDBOOK, u"Manuale")
        .Item(cmd::ID_APP_ABOUT, u"Info")
        .EndPopup()
        .Build();
}

void FrameCommands::InstallMenu() {
    m_menu.LoadMenu(FrameMenuTemplate());
    m_menu.LoadToolbar(ui::IDR_MAINFRAME_TOOLBAR);
    QMenu* menu = m_menu.Detach();
    if (CMainFrameWindow* window = m_window.Get())
        window->SetMenu(menu);
    else
        delete menu;
}

bool FrameCommands::OnCommand(unsigned id) {
    if (id == cmd::ID_APP_ABOUT) {
        TheApp().OnAppAbout();
        return true;
    }
    if (id == cmd::ID_HELP_HANDBOOK) {
        ui::CHandBookDlg(TheApp().m_strProgramDir).Show();
        return true;
    }
    // The view has the first say, as the framework routes a command.
    if (CKX9MonitorView* view = m_parts.views.Shown(); view && view->OnCommand(id))
        return true;
    const CommandEntry* entry = FindCommand(id);
    if (!entry)
        return false;
    if (entry->run)
        entry->run(m_parts);
    return true;
}

bool FrameCommands::OnUpdateCommandUi(CCmdUI& cmdUi) {
    if (const auto state = m_parts.dataView.OnUpdateCommand(cmdUi.m_nID)) {
        cmdUi.Enable(state->enabled);
        cmdUi.SetCheck(state->checked);
        return true;
    }
    const CommandEntry* entry = FindCommand(cmdUi.m_nID);
    if (!entry || !entry->update)
        return false;
    entry->update(m_parts, cmdUi);
    return true;
}

void FrameCommands::UpdateMenu() {
    for (const CommandEntry& entry : kCommands) {
        CCmdUI cmdUi(entry.id);
        if (!OnUpdateCommandUi(cmdUi))
            continue;
        m_menu.EnableMenuItem(entry.id, cmdUi.m_bEnabled);
        if (cmdUi.m_checked)
            m_menu.CheckMenuItem(entry.id, *cmdUi.m_checked);
    }
}

bool FrameCommands::OnHotKey(int key) {
    CKX9MonitorApp& app = TheApp();
    switch (key) {
        case Qt::Key_R:
            for (PortRecord* record : {&app.m_RefPort, &app.m_TargetPort}) {
                record->m_nErrorCount = 0;
                record->m_nResetCount = 0;
            }
            app.SavePortIni(app.m_RefPort, app.m_TargetPort);
            platform::AfxMessageBox("Reset error counters");
            return true;
        case Qt::Key_D:
            app.m_bDebug = app.m_bDebug ? 0 : 1;
            if (app.m_bDebug)
                platform::AfxMessageBox("err deb");
            if (m_parts.bench.IsWindowCreated())
                m_parts.bench.Window().ShowDebugControls(app.m_bDebug != 0);
            return true;
        case Qt::Key_L:
            // Without a current report there is no log to open.
            if (!app.m_strCurrentFile.empty())
                platform::OpenDocument(platform::Format(
                    "%sLog.txt", platform::ReplaceAll(app.m_strCurrentFile, ".vpg", "").c_str()));
            return true;
        default:
            return false;
    }
}
