#include "link/state_replies.h"

#include <initializer_list>

#include "link/command_codes.h"
#include "platform/text.h"

using namespace command_code;

namespace {

bool ContainsAny(std::string_view text, std::initializer_list<std::string_view> parts) {
    for (std::string_view part : parts) {
        if (platform::Contains(text, part))
            return true;
    }
    return false;
}

void SetDataLogging(CInstrStatus& current, CInstrStatus& edited, bool on) {
    current.m_nDataLogging = on ? 1 : 0;
    edited.m_nDataLogging = on ? 1 : 0;
}

void QueueStatusRefresh(AcquisitionReplyOutcome& out) {
    out.clearStatusText = true;
    for (int code : kStatusQueries)
        out.commands.push_back({code, false});
}

void ReadAcquisitionState(std::string_view reply, CInstrStatus& current, CInstrStatus& edited,
                          AcquisitionReplyOutcome& out) {
    if (!platform::Contains(reply, "STT:ACQUISITION:"))
        return;
    if (platform::Contains(reply, "STOP")) {
        SetDataLogging(current, edited, false);
        out.dataLogging = false;
        out.acquiring = false;
    } else if (platform::Contains(reply, "REC") && !out.dataLogging) {
        out.startRecordingBlink = true;
        SetDataLogging(current, edited, true);
        out.dataLogging = true;
        out.acquiring = true;
    }
    if (platform::Contains(reply, "INTEGRATION")) {
        if (platform::Contains(reply, "SINGLE"))
            current.m_strIntegrationMode = edited.m_strIntegrationMode = "SINGLE";
        else if (platform::Contains(reply, "MULTI"))
            current.m_strIntegrationMode = edited.m_strIntegrationMode = "MULTI";
    }
    if (ContainsAny(reply, {"RUN", "HOLD"}))
        out.acquiring = true;
}

void StartDataLogging(const CInstrStatus& current, const ConfirmFn& confirm,
                      AcquisitionReplyOutcome& out) {
    if (out.dataLogging) {
        out.warning = "WARNING: Instrument is already in DATALOGGING status.";
        QueueStatusRefresh(out);
        return;
    }
    if (out.acquiring) {
        if (!confirm("Instrument is in ACQUISITION state.Do you want stop acquisition and start "
                     "recording ?"))
            return;
        out.commands.push_back({kStopAcquisition, false});
    }
    const std::string time = IntegrationTimeText(current.m_strIntegrationTime);
    if (current.m_strIntegrationMode == "SINGLE" && time != "00 s") {
        if (!confirm("WARNING: Instrument integration time is " + time +
                     ".\nDatalogging will stop after this time automatically.\nConfirm start "
                     "datalogging ?"))
            return;
    }
    if (current.m_strAutoStore == "OFF")
        out.commands.push_back({kDataLogKey, false});
    else if (current.m_strAutoStore == "ON")
        out.commands.push_back({kRunAcquisition, false});
    out.startRecordingBlink = true;
    QueueStatusRefresh(out);
}

void StopDataLogging(AcquisitionReplyOutcome& out) {
    if (!out.dataLogging)
        out.warning = "WARNING: Instrument is already in NO DATALOGGING status.";
    else
        out.commands.push_back({kStopDataLogging, false});
    QueueStatusRefresh(out);
}

}  // namespace

std::string IntegrationTimeText(const std::string& integrationTime) {
    const int colon = platform::Find(integrationTime, ':');
    std::string text = colon < 0 ? integrationTime : platform::Mid(integrationTime, colon + 1);
    if (platform::Contains(integrationTime, "SS"))
        text += " s";
    if (platform::Contains(integrationTime, "MM"))
        text += " m";
    if (platform::Contains(integrationTime, "HH"))
        text += " h";
    return text;
}

AcquisitionReplyOutcome OnAcquisitionStateReply(std::string_view reply, bool dataLogging,
                                                int pendingOp, CInstrStatus& current,
                                                CInstrStatus& edited, const ConfirmFn& confirm) {
    AcquisitionReplyOutcome out;
    out.dataLogging = dataLogging;
    out.pendingOp = pendingOp;
    ReadAcquisitionState(reply, current, edited, out);

    switch (pendingOp) {
        case kStartDataLoggingOp:
            out.pendingOp = kNoPendingOp;
            StartDataLogging(current, confirm, out);
            break;
        case kStopDataLoggingOp:
            out.pendingOp = kNoPendingOp;
            StopDataLogging(out);
            break;
        case kStartDownloadOp:
            out.pendingOp = kNoPendingOp;
            if (out.acquiring)
                out.commands.push_back({kRunKey, false});
            out.commands.push_back({kDumpOn, false});
            break;
        default:
            break;
    }
    return out;
}

DisplayReplyOutcome OnDisplayStateReply(std::string_view reply, bool schedulerMode,
                                        const ConfirmFn& confirm) {
    DisplayReplyOutcome out;
    auto keys = [&out](std::initializer_list<int> codes) {
        for (int code : codes)
            out.commands.push_back({code, false});
        out.commands.push_back({kDisplayQuery, false});
    };

    if (ContainsAny(reply, {"Confirm STOP", "Auto", "Half-band shift", "spostati di 1/2 banda",
                            "Data logging disabled", "Force STOP", "Fabric calibration",
                            "CALIB. DI FABBRICA", "Default calibration", "CALIB. DI DEFAULT"})) {
        keys({kRightKey});
    } else if (ContainsAny(reply, {"Recording", "la registraz. dati"})) {
        out.warning =
            "WARNING: Memory error detected.\n\nDownload current data and clear memory before "
            "starting  new logging.";
        keys({kRightKey});
    } else if (ContainsAny(reply, {"Title", "TITOLO"})) {
        keys({kEnterKey});
    } else if (ContainsAny(reply, {"Memory", "Memoria"})) {
        out.refuseDump = true;
        keys({kDumpOff});
    } else if (platform::Contains(reply, "PROGRAM:")) {
        std::string question;
        if (platform::Contains(reply, "PROGRAM:1"))
            question = "WARNING: Calibration program is active.\nConfirm Exit?";
        else if (platform::Contains(reply, "PROGRAM:4"))
            question = "WARNING: Diagnostic Test program is active.\nConfirm Exit?";
        else if (platform::Contains(reply, "PROGRAM:3"))
            question = "WARNING: Frequency check program is active.\nConfirm Exit?";
        else
            question = "WARNING: " + std::string(reply) + " is active.\nConfirm Exit?";
        if (schedulerMode || confirm(question))
            keys({kRightKey});
        else
            out.checkDisplay = false;
    } else if (platform::Contains(reply, "Replay")) {
        keys({kProgKey, kCursorKey});
    } else if (ContainsAny(reply, {"Fast", "Alphanumeric"})) {
        keys({kEnterKey});
    } else if (ContainsAny(reply, {"Editing", "Menu", "Sub-Menu", "Parameter", "Parametri"})) {
        keys({kMenuKey});
    } else {
        out.checkDisplay = false;
    }
    return out;
}
