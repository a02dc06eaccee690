#include "app/frame_commands.h"

#include <Qt>

#include "app/frame_bench.h"
#include "app/frame_command_ids.h"
#include "app/frame_web.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "app/maintenance_commands.h"
#include "app/port_setup_dlg.h"
#include "app/verification_workflow.h"
#include "platform/operator.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "ui/hand_book_dlg.h"
#include "ui/program_images.h"

namespace {

struct CommandEntry {
    unsigned id;
    void (*run)(CMainFrame&);  // nullptr: mapped to nothing
    void (*update)(CMainFrame&, CCmdUI&);
};

bool HasReportRows(CMainFrame& frame) {
    const CKX9MonitorView* view = frame.View();
    return view && view->m_ReportList.GetItemCount() > 0;
}

// Nothing long may be cut short by leaving or saving.
bool IsBusy(CMainFrame& frame) {
    return frame.Mode().IsDownloading() || frame.Mode().IsFirmwareUpgrading() ||
           frame.Mode().IsSchedulerRunning();
}

// The instrument under test's port; port.ini is written whether the dialog ended with OK or not.
void OnConnectionSettings(CMainFrame&) {
    CPortSetupDlg dialog;
    dialog.DoModal();
    TheApp().SavePortIni(TheApp().m_RefPort, TheApp().m_TargetPort);
}

const CommandEntry kCommands[] = {
    {cmd::ID_FILE_OPEN, [](CMainFrame& f) { f.Verification().OnFileOpen(); },
     [](CMainFrame& f, CCmdUI& ui) { ui.Enable(!f.Bench().IsWindowCreated()); }},
    {cmd::ID_EDIT_REPORT_HEADER, [](CMainFrame& f) { f.Verification().OnEditReportHeader(); },
     nullptr},
    {cmd::ID_VALIDATE_REPORT, [](CMainFrame& f) { f.Verification().OnValidateReport(); },
     [](CMainFrame& f, CCmdUI& ui) { ui.Enable(HasReportRows(f)); }},
    // The view prints (CKX9MonitorView::OnCommand).
    {cmd::ID_FILE_PRINT, nullptr, [](CMainFrame& f, CCmdUI& ui) { ui.Enable(HasReportRows(f)); }},
    {cmd::ID_APP_EXIT, [](CMainFrame& f) { f.OnAppExit(); },
     [](CMainFrame& f, CCmdUI& ui) { ui.Enable(!IsBusy(f)); }},
    {cmd::ID_NEW_VERIFICATION, [](CMainFrame& f) { f.Verification().OnNewVerification(); },
     nullptr},
    {cmd::ID_CONTINUE_VERIFICATION,
     [](CMainFrame& f) { f.Verification().OnContinueVerification(); }, nullptr},
    {cmd::ID_UPDATE_CALIB_EXPIRY, [](CMainFrame& f) { f.Verification().OnUpdateCalibExpiry(); },
     nullptr},
    {cmd::ID_CONNECTION_SETTINGS, OnConnectionSettings, nullptr},
    {cmd::ID_UPDATE_DATABASES, [](CMainFrame& f) { f.Web().Databases().OnUpdateDatabases(); },
     nullptr},
    {cmd::ID_BOOK_INSTRUMENTS, [](CMainFrame& f) { f.Web().Booking().OnBookInstruments(); },
     nullptr},
    {cmd::ID_REPLACE_MICROPHONE, [](CMainFrame& f) { f.Maintenance().OnReplaceMicrophone(); },
     nullptr},
    {cmd::ID_SOFTWARE_UPDATE, [](CMainFrame& f) { f.Maintenance().OnSoftwareUpdate(); }, nullptr},
    {cmd::ID_FIRMWARE_UPGRADE, [](CMainFrame& f) { f.Maintenance().OnFirmwareUpgrade(); }, nullptr},
    {cmd::ID_AUDIO_CARD_SETTINGS, [](CMainFrame& f) { f.Maintenance().OnAudioCardSettings(); },
     nullptr},
    {cmd::ID_UNUSED_33032, nullptr, nullptr},
    {cmd::ID_SAVE, [](CMainFrame& f) { f.Commands().DataView().OnSave(); },
     [](CMainFrame& f, CCmdUI& ui) {
         ui.Enable(!IsBusy(f) && !TheApp().m_strCurrentFile.empty());
     }},
    // Nothing sets the display-mode word to 3: the entry stays disabled.
    {cmd::ID_3DGRAPH_PROPERTIES,
     [](CMainFrame& f) { f.Commands().DataView().On3DGraphProperties(); },
     [](CMainFrame& f, CCmdUI& ui) {
         ui.Enable(!f.Mode().IsDownloading() && !TheApp().m_strCurrentFile.empty() &&
                   f.Commands().DisplayMode() == 3);
     }},
    {cmd::ID_VIEW_CROSS_REFERENCE,
     [](CMainFrame& f) { f.Commands().DataView().OnViewCrossReference(); }, nullptr},
    {cmd::ID_VIEW_3DGRAPH, [](CMainFrame& f) { f.Commands().DataView().OnView3DGraph(); }, nullptr},
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
    if (CMainFrameWindow* window = m_frame.Window())
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
    if (CKX9MonitorView* view = m_frame.View(); view && view->OnCommand(id))
        return true;
    const CommandEntry* entry = FindCommand(id);
    if (!entry)
        return false;
    if (entry->run)
        entry->run(m_frame);
    return true;
}

bool FrameCommands::OnUpdateCommandUi(CCmdUI& cmdUi) {
    if (const auto state = m_dataView.OnUpdateCommand(cmdUi.m_nID)) {
        cmdUi.Enable(state->enabled);
        cmdUi.SetCheck(state->checked);
        return true;
    }
    const CommandEntry* entry = FindCommand(cmdUi.m_nID);
    if (!entry || !entry->update)
        return false;
    entry->update(m_frame, cmdUi);
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
            if (m_frame.Bench().IsWindowCreated())
                m_frame.Bench().Window().ShowDebugControls(app.m_bDebug != 0);
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
