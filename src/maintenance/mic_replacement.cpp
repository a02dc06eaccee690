#include "maintenance/mic_replacement.h"

#include <algorithm>
#include <cmath>
#include <vector>

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
constexpr const char* kRestoringText =
    "Annullamento: ripristino della calibrazione precedente in corso...";
constexpr const char* kPartlyRestoredText =
    "ATTENZIONE:\nSostituzione annullata: calibrazione precedente ripristinata in parte.";
constexpr const char* kNotRecorded =
    "La nuova calibrazione e' memorizzata nello strumento, ma la sostituzione non e' stata "
    "registrata sul server.";

// The commands the wizard sends, whose replies and silences are its own.
constexpr int kOwnCodes[] = {kProtectionCodeQuery, kGainQuery,           kElectricCalQuery,
                             kMicCalPrintValueKey, kGainWrite,           kMicNumberWrite,
                             kFactoryCommand,      kElectricCalStepQuery};

// What the meter did, after "Lo strumento ".
const char* LossText(MicReplacement::Loss loss) {
    switch (loss) {
        case MicReplacement::Loss::kRefused:
            return "ha rifiutato il comando";
        case MicReplacement::Loss::kEmptyAnswer:
            return "ha inviato una risposta vuota";
        case MicReplacement::Loss::kUnanswered:
            break;
    }
    return "non risponde";
}

std::string JoinList(const std::vector<std::string>& items) {
    std::string joined;
    for (const std::string& item : items)
        joined += (joined.empty() ? "" : ", ") + item;
    return joined;
}

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

void MicReplacement::Begin(const std::string& technicianRecord,
                           const std::string& micSerialBefore) {
    for (std::string* text :
         {&m_micSerial, &m_gain[0], &m_gain[1], &m_oldGain[0], &m_oldGain[1], &m_newGain[0],
          &m_newGain[1], &m_electricCal, &m_oldElectricCal, &m_protectionCode, &m_level})
        text->clear();
    m_writes.clear();
    m_restored.clear();
    m_notRestored.clear();
    m_record = technicianRecord;
    m_micSerialBefore = platform::Trim(micSerialBefore);
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
    m_writes.clear();
    Write(kGainWrite, kChannel0, m_newGain[0], "guadagno canale 0 = " + m_newGain[0]);
    Write(kGainWrite, kChannel1, m_newGain[1], "guadagno canale 1 = " + m_newGain[1]);
    Write(kMicNumberWrite, m_protectionCode, m_micSerial,
          "numero di serie del microfono = " + m_micSerial);
    // Its answer moves on to kStored.
    Write(kFactoryCommand, m_protectionCode, "", "memorizzazione della calibrazione");
}

void MicReplacement::OnWriteAnswered(int code, const std::string& arg1) {
    const auto write = std::find_if(m_writes.begin(), m_writes.end(), [&](const SentWrite& w) {
        return w.fate == SentWrite::Fate::kQueued && w.code == code && w.arg1 == arg1;
    });
    if (write == m_writes.end())
        return;
    write->fate = SentWrite::Fate::kAnswered;
    if (m_step == kWriting && code == kFactoryCommand) {
        m_step = kStored;
        NextStep();
    } else if (m_step == kRestoring &&
               std::none_of(m_writes.begin(), m_writes.end(), [](const SentWrite& w) {
                   return w.fate == SentWrite::Fate::kQueued;
               })) {
        EndRestored();
    }
}

bool MicReplacement::AwaitsReplyTo(int code) const {
    switch (m_step) {
        case kMeasuring:
        case kWriting:
        case kRestoring:
        case kReadingElectric:
            return std::find(std::begin(kOwnCodes), std::end(kOwnCodes), code) !=
                   std::end(kOwnCodes);
        default:
            return false;
    }
}

void MicReplacement::OnCommandLost(int code, const std::string& arg1, Loss loss) {
    if (!AwaitsReplyTo(code))
        return;
    const std::string what = LossText(loss);
    if (m_step == kMeasuring) {
        Fail("Lo strumento " + what + ".");
        return;
    }
    if (m_step == kReadingElectric) {
        m_step = kFailed;
        m_message = "ATTENZIONE:\nLo strumento " + what + ".\n" + kNotRecorded;
        m_log.WriteInstrLog(
            "Err: sostituzione microfono memorizzata ma non registrata sul server: lo strumento " +
            what);
        platform::AfxMessageBox(m_message, MB_ICONEXCLAMATION);
        return;
    }
    const auto lostWrite = std::find_if(m_writes.begin(), m_writes.end(), [&](const SentWrite& w) {
        return w.fate == SentWrite::Fate::kQueued && w.code == code && w.arg1 == arg1;
    });
    const auto lost = static_cast<size_t>(lostWrite - m_writes.begin());
    // A refused write was not taken; those before it that went out were.
    const bool nothingTaken =
        loss == Loss::kRefused && std::all_of(m_writes.begin(), lostWrite, [](const SentWrite& w) {
            return w.fate == SentWrite::Fate::kWithdrawn;
        });
    const std::string report = WritesReport(lost, loss) + NotRestoredLine();
    const bool restoring = m_step == kRestoring;
    m_step = kFailed;
    m_message =
        "ATTENZIONE:\nLo strumento " + what +
        (restoring ? " durante il ripristino della calibrazione precedente.\n" : ".\n") + report +
        (nothingTaken ? "\nNessuna modifica eseguita."
                      : "\nLa calibrazione dello strumento puo' essere memorizzata in parte: "
                        "controllare lo strumento e ripetere la sostituzione del microfono.");
    std::string logLine = "Err: sostituzione microfono: lo strumento " + what + ". " + report;
    std::replace(logLine.begin(), logLine.end(), '\n', ' ');
    m_log.WriteInstrLog(logLine);
    platform::AfxMessageBox(m_message, MB_ICONSTOP);
}

std::string MicReplacement::WritesReport(size_t lost, Loss loss) const {
    // Silence or an empty answer may come after the meter took the write.
    const size_t mayBeTaken = loss == Loss::kRefused ? lost : lost + 1;
    std::vector<std::string> confirmed;
    std::vector<std::string> unconfirmed;
    std::vector<std::string> notDone;
    for (size_t i = 0; i < m_writes.size(); ++i) {
        const SentWrite& write = m_writes[i];
        (write.fate == SentWrite::Fate::kAnswered                   ? confirmed
         : write.fate == SentWrite::Fate::kQueued && i < mayBeTaken ? unconfirmed
                                                                    : notDone)
            .push_back(write.what);
    }
    std::string report = "Scritture confermate dallo strumento: " +
                         (confirmed.empty() ? std::string("nessuna") : JoinList(confirmed)) + ".";
    if (!unconfirmed.empty())
        report += "\nSenza conferma, forse eseguite: " + JoinList(unconfirmed) + ".";
    if (!notDone.empty())
        report += (loss == Loss::kRefused ? "\nNon eseguite: " : "\nNon inviate: ") +
                  JoinList(notDone) + ".";
    return report;
}

std::string MicReplacement::NotRestoredLine() const {
    if (m_notRestored.empty())
        return {};
    return "\nNon ripristinati, valore precedente non noto: " + JoinList(m_notRestored) + ".";
}

std::string MicReplacement::WithdrawnLine() const {
    std::vector<std::string> withdrawn;
    for (const SentWrite& write : m_writes)
        if (write.fate == SentWrite::Fate::kWithdrawn)
            withdrawn.push_back(write.what);
    if (withdrawn.empty())
        return {};
    return "\nNon inviate: " + JoinList(withdrawn) + ".";
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
            Restore();
            return;
        case kRestoring:
            // The meter's answer or its silence ends this.
            return;
        case kStored:
        case kReadingElectric:
        case kElectricRead:
            EndCancelled(std::string("ATTENZIONE:\n") + kNotRecorded, MB_ICONEXCLAMATION,
                         "Err: sostituzione microfono memorizzata ma annullata prima della "
                         "registrazione sul server");
            return;
        case kEnterMicrophone:
        case kMeasuring:
        case kConfirmGain:
            EndCancelled("Sostituzione microfono annullata.\nNessuna modifica eseguita.",
                         MB_ICONINFORMATION,
                         "Sostituzione microfono annullata: nessuna modifica eseguita");
            return;
        default:
            return;
    }
}

bool MicReplacement::WentOut(int code, const std::string& arg1) const {
    return std::any_of(m_writes.begin(), m_writes.end(), [&](const SentWrite& w) {
        return w.code == code && w.arg1 == arg1 && w.fate != SentWrite::Fate::kWithdrawn;
    });
}

void MicReplacement::Restore() {
    // What has not gone out never will: the meter can have taken only what went out.
    for (SentWrite& write : m_writes)
        if (write.fate == SentWrite::Fate::kQueued &&
            m_withdraw(write.code, write.arg1, write.arg2))
            write.fate = SentWrite::Fate::kWithdrawn;
    const bool gain[2] = {WentOut(kGainWrite, kChannel0), WentOut(kGainWrite, kChannel1)};
    const bool micNumber = WentOut(kMicNumberWrite, m_protectionCode);
    if (!gain[0] && !gain[1] && !micNumber && !WentOut(kFactoryCommand, m_protectionCode)) {
        EndCancelled(
            "Sostituzione microfono annullata.\nNessuna modifica eseguita." + WithdrawnLine(),
            MB_ICONINFORMATION, "Sostituzione microfono annullata: nessuna modifica eseguita");
        return;
    }
    // The meter goes back to what it had, whichever of these writes it took; the wizard says
    // so once the meter confirmed all of it.
    m_step = kRestoring;
    m_message = kRestoringText;
    for (int channel = 0; channel < 2; ++channel) {
        if (!gain[channel])
            continue;
        const std::string value =
            platform::Format("guadagno canale %d = %s", channel, m_oldGain[channel].c_str());
        m_restored.push_back(value);
        Write(kGainWrite, channel ? kChannel1 : kChannel0, m_oldGain[channel],
              value + " (precedente)");
    }
    if (micNumber) {
        if (IsAcceptableSerial(m_micSerialBefore)) {
            const std::string value = "numero di serie del microfono = " + m_micSerialBefore;
            m_restored.push_back(value);
            Write(kMicNumberWrite, m_protectionCode, m_micSerialBefore, value + " (precedente)");
        } else {
            m_notRestored.push_back("numero di serie del microfono = " + m_micSerial);
        }
    }
    Write(kFactoryCommand, m_protectionCode, "", "memorizzazione della calibrazione precedente");
}

void MicReplacement::EndRestored() {
    const std::string restored =
        "\nValori ripristinati: " +
        (m_restored.empty() ? std::string("nessuno") : JoinList(m_restored)) + ".";
    if (m_notRestored.empty()) {
        EndCancelled(
            "Sostituzione annullata: lo strumento e' tornato alla calibrazione precedente." +
                restored + WithdrawnLine(),
            MB_ICONINFORMATION,
            "Sostituzione microfono annullata: calibrazione precedente ripristinata");
        return;
    }
    std::string logLine =
        "Err: sostituzione microfono annullata: calibrazione precedente ripristinata in parte." +
        NotRestoredLine();
    std::replace(logLine.begin(), logLine.end(), '\n', ' ');
    EndCancelled(std::string(kPartlyRestoredText) + restored + NotRestoredLine() + WithdrawnLine(),
                 MB_ICONEXCLAMATION, logLine);
}

void MicReplacement::EndCancelled(const std::string& message, unsigned icon,
                                  const std::string& logLine) {
    m_step = kCancelled;
    m_message = message;
    m_log.WriteInstrLog(logLine);
    platform::AfxMessageBox(m_message, icon);
}

void MicReplacement::Fail(const std::string& why) {
    m_step = kFailed;
    m_message = "ATTENZIONE:\n" + why + "\nNessuna modifica eseguita.";
    m_log.WriteInstrLog("Err: sostituzione microfono: " + why);
    platform::AfxMessageBox(m_message, MB_ICONSTOP);
}

}  // namespace maintenance
