#include "maintenance/mic_replacement.h"

#include <cmath>

#include "link/command_codes.h"
#include "maintenance/calibration_protocol.h"
#include "platform/operator.h"
#include "platform/text.h"
#include "report/instr_log.h"
#include "web/web_client.h"

namespace maintenance {

namespace {

using namespace command_code;
using meter::kChannel0;
using meter::kChannel1;

constexpr const char* kEnterText =
    "Inserire il numero di serie del nuovo microfono e premere Avanti.\n"
    "Lo strumento deve essere nel calibratore acceso (94 dB).";
constexpr const char* kMeasuringText = "Lettura dello strumento in corso...";
constexpr const char* kStoringText = "Memorizzazione della nuova calibrazione...";
constexpr const char* kElectricText = "Lettura del riferimento di calibrazione elettrica...";

// A serial number goes into the microphone-number command, after the protection code and a
// ':', and into the ";"-separated record.
bool IsAcceptableSerial(const std::string& serial) {
    if (serial.empty())
        return false;
    for (const char c : serial)
        if (static_cast<unsigned char>(c) < 0x20 || c == ';' || c == ':')
            return false;
    return true;
}

}  // namespace

void MicReplacement::Begin(const std::string& technicianRecord) {
    for (std::string* text :
         {&m_micSerial, &m_gain[0], &m_gain[1], &m_oldGain[0], &m_oldGain[1], &m_newGain[0],
          &m_newGain[1], &m_electricCal, &m_oldElectricCal, &m_protectionCode, &m_level})
        text->clear();
    m_record = technicianRecord;
    m_step = kEnterMicrophone;
    m_message = kEnterText;
}

void MicReplacement::SetChannelGain(int channel, const std::string& text) {
    m_gain[channel ? 1 : 0] = platform::Trim(text);
}

bool MicReplacement::Next(const std::string& microphoneSerial) {
    switch (m_step) {
        case kEnterMicrophone: {
            const std::string serial = platform::Trim(microphoneSerial);
            if (!IsAcceptableSerial(serial)) {
                m_message = "Numero di serie del microfono non valido.\n" + std::string(kEnterText);
                return false;
            }
            m_micSerial = serial;
            Measure();
            return true;
        }
        case kConfirmGain:
            WriteCalibration();
            return true;
        default:
            return false;
    }
}

void MicReplacement::Measure() {
    for (std::string* text : {&m_gain[0], &m_gain[1], &m_electricCal, &m_protectionCode, &m_level})
        text->clear();
    m_step = kMeasuring;
    m_message = kMeasuringText;
    Send(kProtectionCodeQuery);
    Send(kGainQuery, kChannel0);
    Send(kGainQuery, kChannel1);
    Send(kElectricCalQuery, kChannel0);
    // Its reply ends the readings.
    Send(kMicCalPrintValueKey);
}

void MicReplacement::NextStep() {
    switch (m_step) {
        case kMeasuring:
            EvaluateLevel();
            return;
        case kStored:
            m_step = kReadingElectric;
            m_message = kElectricText;
            Send(kElectricCalStepQuery, kChannel0);
            return;
        case kElectricRead:
            Record();
            return;
        default:
            // A reply the wizard does not wait for.
            return;
    }
}

void MicReplacement::EvaluateLevel() {
    const auto gain0 = meter::ReadNumber(m_gain[0]);
    const auto gain1 = meter::ReadNumber(m_gain[1]);
    const auto level = meter::ReadNumber(m_level);
    if (platform::Trim(m_protectionCode).empty()) {
        Fail("Codice di protezione dello strumento non letto.");
        return;
    }
    if (!gain0 || !gain1) {
        Fail("Guadagni dello strumento non letti.");
        return;
    }
    if (!level) {
        Fail("Livello misurato dallo strumento non valido: " + m_level);
        return;
    }
    const double correction = meter::kCalibratorLevelDb - *level;
    if (std::fabs(correction) > kMaxCorrectionDb) {
        Fail(
            platform::Format("Livello misurato %s dB: differisce dal calibratore (%.1f dB) di "
                             "piu' di %.1f dB.\nControllare il calibratore e il microfono.",
                             m_level.c_str(), meter::kCalibratorLevelDb, kMaxCorrectionDb));
        return;
    }
    m_oldGain[0] = m_gain[0];
    m_oldGain[1] = m_gain[1];
    m_newGain[0] = platform::Format("%.1f", *gain0 + correction);
    m_newGain[1] = platform::Format("%.1f", *gain1 + correction);
    m_oldElectricCal = platform::Trim(m_electricCal);
    m_step = kConfirmGain;
    m_message = platform::Format(
        "Livello misurato: %s dB\nGuadagno canale 0: %s -> %s\nGuadagno canale 1: %s -> %s\n"
        "Premere Avanti per memorizzare la nuova calibrazione.",
        m_level.c_str(), m_oldGain[0].c_str(), m_newGain[0].c_str(), m_oldGain[1].c_str(),
        m_newGain[1].c_str());
}

void MicReplacement::WriteCalibration() {
    m_step = kWriting;
    m_message = kStoringText;
    Send(kGainWrite, kChannel0, m_newGain[0]);
    Send(kGainWrite, kChannel1, m_newGain[1]);
    Send(kMicNumberWrite, m_protectionCode, m_micSerial);
    // Its reply sets kStored.
    Send(kFactoryCommand, m_protectionCode);
}

std::string MicReplacement::RecordText() const {
    return platform::Format("%s;MIC_N %s;GAIN0 %s -> %s;GAIN1 %s -> %s;LIVELLO %s;ELCAL %s -> %s",
                            m_record.c_str(), m_micSerial.c_str(), m_oldGain[0].c_str(),
                            m_newGain[0].c_str(), m_oldGain[1].c_str(), m_newGain[1].c_str(),
                            m_level.c_str(), m_oldElectricCal.c_str(),
                            platform::Trim(m_electricCal).c_str());
}

void MicReplacement::Record() {
    m_step = kDone;
    const std::string line = RecordText();
    m_log.WriteInstrLog("Sostituzione microfono: " + line);
    if (m_web.HttpLogUser(kLogFileName, line)) {
        m_message = "Sostituzione microfono completata.";
        platform::AfxMessageBox(m_message, MB_ICONINFORMATION);
        return;
    }
    m_log.WriteInstrLog("Err: registrazione sostituzione microfono sul server fallita");
    m_message =
        "ATTENZIONE:\nLa nuova calibrazione e' memorizzata nello strumento, ma la registrazione "
        "della sostituzione sul server e' fallita.";
    platform::AfxMessageBox(m_message, MB_ICONEXCLAMATION);
}

void MicReplacement::Cancel() {
    switch (m_step) {
        case kWriting:
            // The meter goes back to the calibration it had, whichever writes it took.
            Send(kGainWrite, kChannel0, m_oldGain[0]);
            Send(kGainWrite, kChannel1, m_oldGain[1]);
            Send(kFactoryCommand, m_protectionCode);
            m_message = "Sostituzione annullata: lo strumento torna alla calibrazione precedente.";
            break;
        case kStored:
        case kReadingElectric:
        case kElectricRead:
            m_message =
                "ATTENZIONE:\nLa nuova calibrazione e' memorizzata nello strumento, ma la "
                "sostituzione non e' stata registrata sul server.";
            platform::AfxMessageBox(m_message, MB_ICONEXCLAMATION);
            break;
        default:
            m_message = "Sostituzione annullata.";
            break;
    }
    m_step = kCancelled;
}

void MicReplacement::Fail(const std::string& why) {
    m_step = kFailed;
    m_message = "ATTENZIONE:\n" + why + "\nNessuna modifica eseguita.";
    m_log.WriteInstrLog("Err: sostituzione microfono: " + why);
    platform::AfxMessageBox(m_message, MB_ICONSTOP);
}

}  // namespace maintenance
