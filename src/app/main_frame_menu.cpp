// The frame's menu: the image menu on the menu bar, the command map and the update handlers
// that set the entries' states as a menu opens.

#include <QMenu>

#include "app/frame_command_ids.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "ui/hand_book_dlg.h"
#include "ui/program_images.h"

namespace {

struct CommandEntry {
    unsigned id;
    void (CMainFrame::*handler)();  // nullptr: mapped to nothing
    void (CMainFrame::*update)(CCmdUI&);
};

const CommandEntry kCommands[] = {
    {cmd::ID_FILE_OPEN, &CMainFrame::OnFileOpen, &CMainFrame::OnUpdateFileOpen},
    {cmd::ID_EDIT_REPORT_HEADER, &CMainFrame::OnEditReportHeader, nullptr},
    {cmd::ID_VALIDATE_REPORT, &CMainFrame::OnValidateReport, &CMainFrame::OnUpdateReportUI},
    // The view prints (CKX9MonitorView::OnCommand).
    {cmd::ID_FILE_PRINT, nullptr, &CMainFrame::OnUpdateReportUI},
    {cmd::ID_APP_EXIT, &CMainFrame::OnAppExit, &CMainFrame::OnUpdateExitUI},
    {cmd::ID_NEW_VERIFICATION, &CMainFrame::OnNewVerification, nullptr},
    {cmd::ID_CONTINUE_VERIFICATION, &CMainFrame::OnContinueVerification, nullptr},
    {cmd::ID_UPDATE_CALIB_EXPIRY, &CMainFrame::OnUpdateCalibExpiry, nullptr},
    {cmd::ID_CONNECTION_SETTINGS, &CMainFrame::OnConnectionSettings, nullptr},
    {cmd::ID_UPDATE_DATABASES, &CMainFrame::OnUpdateDatabases, nullptr},
    {cmd::ID_BOOK_INSTRUMENTS, &CMainFrame::OnBookInstruments, nullptr},
    {cmd::ID_REPLACE_MICROPHONE, &CMainFrame::OnReplaceMicrophone, nullptr},
    {cmd::ID_SOFTWARE_UPDATE, &CMainFrame::OnSoftwareUpdate, nullptr},
    {cmd::ID_FIRMWARE_UPGRADE, &CMainFrame::OnFirmwareUpgrade, nullptr},
    {cmd::ID_AUDIO_CARD_SETTINGS, &CMainFrame::OnAudioCardSettings, nullptr},
    {cmd::ID_UNUSED_33032, nullptr, nullptr},
    {cmd::ID_SAVE, &CMainFrame::OnSave, &CMainFrame::OnUpdateSaveUI},
    {cmd::ID_3DGRAPH_PROPERTIES, &CMainFrame::On3DGraphProperties,
     &CMainFrame::OnUpdateToolbar32964UI},
    {cmd::ID_VIEW_CROSS_REFERENCE, &CMainFrame::OnViewCrossReference, nullptr},
    {cmd::ID_VIEW_3DGRAPH, &CMainFrame::OnView3DGraph, nullptr},
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

QMenu* CMainFrame::NewMenu() {
    m_menu.LoadMenu(FrameMenuTemplate());
    m_menu.LoadToolbar(ui::IDR_MAINFRAME_TOOLBAR);
    return m_menu.Detach();
}

void CMainFrame::SetMenu(QMenu* menu) {
    if (CMainFrameWindow* window = Window())
        window->SetMenu(menu);
    else
        delete menu;
}

bool CMainFrame::OnCommand(unsigned id) {
    if (id == cmd::ID_APP_ABOUT) {
        TheApp().OnAppAbout();
        return true;
    }
    if (id == cmd::ID_HELP_HANDBOOK) {
        ui::CHandBookDlg(TheApp().m_strProgramDir).Show();
        return true;
    }
    // The view has the first say, as the framework routes a command.
    if (CKX9MonitorView* view = View(); view && view->OnCommand(id))
        return true;
    const CommandEntry* entry = FindCommand(id);
    if (!entry)
        return false;
    if (entry->handler)
        (this->*entry->handler)();
    return true;
}

bool CMainFrame::OnUpdateCommandUi(CCmdUI& cmdUi) {
    if (const auto state = m_dataViewCommands.OnUpdateCommand(cmdUi.m_nID)) {
        cmdUi.Enable(state->enabled);
        cmdUi.SetCheck(state->checked);
        return true;
    }
    const CommandEntry* entry = FindCommand(cmdUi.m_nID);
    if (!entry || !entry->update)
        return false;
    (this->*entry->update)(cmdUi);
    return true;
}

void CMainFrame::UpdateMenu() {
    for (const CommandEntry& entry : kCommands) {
        CCmdUI cmdUi(entry.id);
        if (!OnUpdateCommandUi(cmdUi))
            continue;
        m_menu.EnableMenuItem(entry.id, cmdUi.m_bEnabled);
        if (cmdUi.m_checked)
            m_menu.CheckMenuItem(entry.id, *cmdUi.m_checked);
    }
}
