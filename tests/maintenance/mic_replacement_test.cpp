// The microphone replacement's calibration step by step, fed with the replies of the shared
// calibration table: what it asks the meter for, the gains it computes, what it refuses to
// write, what it puts back when cancelled, and what it records.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "link/command_codes.h"
#include "maintenance/calibration_protocol.h"
#include "maintenance/mic_replacement.h"
#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/files.h"
#include "platform/text.h"
#include "report/instr_log.h"
#include "support/test_env.h"
#include "web/web_test_env.h"

namespace {

using namespace command_code;
using maintenance::MicReplacement;
using Loss = MicReplacement::Loss;
namespace meter = maintenance::meter;

constexpr const char* kRecord = "123456;Lab;Via;Citta;MI;02;lab@x;Mario (id=123456);T200";
// The microphone the meter had, as its identity read gave it.
constexpr const char* kMicBefore = "M5678";

// The wizard's commands, as "<code> <arg1> <arg2>", those of them still in the queue, its records
// on the web service's stand-in and the lines of its instrument log.
class MicReplacementTest : public WebClientTest {
protected:
    MicReplacementTest() { wizard.Begin(kRecord, kMicBefore); }

    // The readings the meter gives, as the calibration replies hand them over.
    void Readings(const std::string& level, const std::string& code = "4321") {
        ASSERT_TRUE(wizard.Next("M9001"));
        GoOut();
        sent.clear();
        wizard.SetProtectionCode(code);
        wizard.SetChannelGain(0, "1.5");
        wizard.SetChannelGain(1, "-0.5");
        wizard.SetElectricCal("91.5");
        wizard.SetLevel(meter::PrintedValue(meter::PrintedValueReply(level, "dB(A)")));
        wizard.NextStep();
    }
    // What the service's log of replacements holds.
    std::string Recorded() const {
        return stub.ReadState(std::string("server_logs/") + MicReplacement::kLogFileName)
            .value_or("");
    }
    // Today's instrument log, without the lines' time stamps.
    std::vector<std::string> InstrLogLines() const {
        std::vector<std::string> lines;
        platform::LineReader reader(instrLog.LogPath(platform::DateTime(platform::Clock::Now())));
        for (std::string line; reader.ReadLine(line, 1024);)
            lines.push_back(line.substr(line.find(": ") + 2));
        return lines;
    }

    // The first `count` commands still queued go out to the meter.
    void GoOut(size_t count = SIZE_MAX) {
        unsent.erase(unsent.begin(), unsent.begin() + std::min(count, unsent.size()));
    }
    static std::string Line(int code, const std::string& arg1, const std::string& arg2) {
        return std::to_string(code) + " " + arg1 + " " + arg2;
    }

    testenv::TestOperator op;
    std::vector<std::string> sent;
    std::vector<std::string> unsent;
    InstrLog instrLog{folder.Path(), [] { return std::string("T200"); }, {}};
    MicReplacement wizard{
        [this](int code, const std::string& arg1, const std::string& arg2, int, BOOL) {
            sent.push_back(Line(code, arg1, arg2));
            unsent.push_back(sent.back());
        },
        [this](int code, const std::string& arg1, const std::string& arg2) {
            const auto queued = std::find(unsent.begin(), unsent.end(), Line(code, arg1, arg2));
            if (queued == unsent.end())
                return false;
            unsent.erase(queued);
            return true;
        },
        client, instrLog};
};

TEST_F(MicReplacementTest, AReplacementReadsCalibratesStoresAndRecords) {
    ASSERT_EQ(wizard.GetStep(), MicReplacement::kEnterMicrophone);
    ASSERT_TRUE(wizard.Next(" M9001 "));
    EXPECT_EQ(sent,
              (std::vector<std::string>{"136  ", "131 CH:0 ", "131 CH:1 ", "133 CH:0 ", "135  "}));
    EXPECT_FALSE(wizard.WaitsForOperator());
    sent.clear();
    wizard.SetProtectionCode("4321");
    wizard.SetChannelGain(0, " 1.5");
    wizard.SetChannelGain(1, "-0.5");
    wizard.SetElectricCal("91.5");
    wizard.SetLevel("93.8");
    wizard.NextStep();
    ASSERT_EQ(wizard.GetStep(), MicReplacement::kConfirmGain);
    EXPECT_EQ(wizard.NewGain(0), "1.7");
    EXPECT_EQ(wizard.NewGain(1), "-0.3");
    EXPECT_TRUE(sent.empty());  // nothing is written before the operator agrees
    wizard.NextStep();          // a reply the wizard does not wait for
    EXPECT_EQ(wizard.GetStep(), MicReplacement::kConfirmGain);

    ASSERT_TRUE(wizard.Next());
    EXPECT_EQ(sent, (std::vector<std::string>{"132 CH:0 1.7", "132 CH:1 -0.3", "139 4321 M9001",
                                              "137 4321 "}));
    sent.clear();
    wizard.SetStep(MicReplacement::kStored);  // the store's reply
    wizard.NextStep();
    EXPECT_EQ(sent, std::vector<std::string>{"1340 CH:0 "});

    op.ExpectBox("Sostituzione microfono completata.");
    wizard.SetElectricCal("91.7  ");
    wizard.SetStep(MicReplacement::kElectricRead);
    wizard.NextStep();
    EXPECT_EQ(wizard.GetStep(), MicReplacement::kDone);
    const std::string record = std::string(kRecord) +
                               ";MIC_N M9001;GAIN0 1.5 -> 1.7;GAIN1 -0.5 -> -0.3;"
                               "LIVELLO 93.8;ELCAL 91.5 -> 91.7";
    EXPECT_EQ(Recorded(), record + "\n");
    EXPECT_EQ(InstrLogLines(), std::vector<std::string>{"Sostituzione microfono: " + record});
}

TEST_F(MicReplacementTest, ASerialThatWouldBreakTheCommandOrTheRecordIsRefused) {
    for (const char* serial : {"", "   ", "M1;2", "M1:2", "M1\x01"}) {
        EXPECT_FALSE(wizard.Next(serial)) << serial;
        EXPECT_EQ(wizard.GetStep(), MicReplacement::kEnterMicrophone);
    }
    EXPECT_TRUE(sent.empty());
}

TEST_F(MicReplacementTest, ReadingsThatCannotBeTrustedWriteNothing) {
    struct Case {
        const char* level;
        const char* code;
        const char* why;
    };
    const Case cases[] = {
        {"88.9", "4321", "differisce dal calibratore"},  // 5.1 dB: the calibrator is off
        {"99.1", "4321", "differisce dal calibratore"},
        {"---", "4321", "Livello misurato dallo strumento non valido: ---"},
        {"94.0", "", "Codice di protezione dello strumento non letto."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        wizard.Begin(kRecord, kMicBefore);
        op.ExpectBox(c.why);
        Readings(c.level, c.code);
        EXPECT_EQ(wizard.GetStep(), MicReplacement::kFailed);
        EXPECT_TRUE(sent.empty());
    }
    // 5.0 dB off is still a microphone to calibrate to.
    wizard.Begin(kRecord, kMicBefore);
    Readings("89.0");
    EXPECT_EQ(wizard.NewGain(0), "6.5");
}

TEST_F(MicReplacementTest, CancellingWhileWritingPutsBackWhatWentOutOnceTheMeterSaysSo) {
    using Writes = std::vector<std::pair<int, const char*>>;
    const std::string back =
        "Sostituzione annullata: lo strumento e' tornato alla calibrazione precedente.\nValori "
        "ripristinati: guadagno canale 0 = 1.5, guadagno canale 1 = -0.5";
    struct Case {
        const char* name;
        size_t goneOut;  // of the four writes
        Writes answeredBefore;
        std::vector<std::string> putBack;  // what "Annulla" sends
        // What the meter answers after it, up to the store put back; the box then.
        Writes answeredAfter;
        std::string box;
    };
    const Case cases[] = {
        // The new calibration's writes are answered first; the store's answer is not taken as
        // the new one stored.
        {"all gone out",
         4,
         {},
         {"132 CH:0 1.5", "132 CH:1 -0.5", "139 4321 M5678", "137 4321 "},
         {{kGainWrite, "CH:0"},
          {kGainWrite, "CH:1"},
          {kMicNumberWrite, "4321"},
          {kFactoryCommand, "4321"},
          {kGainWrite, "CH:0"},
          {kGainWrite, "CH:1"},
          {kMicNumberWrite, "4321"}},
         back + ", numero di serie del microfono = M5678."},
        // The first gain answered, the second awaited, the microphone's number and the store
        // queued: those two are taken off the queue.
        {"two gone out",
         2,
         {{kGainWrite, "CH:0"}},
         {"132 CH:0 1.5", "132 CH:1 -0.5", "137 4321 "},
         {{kGainWrite, "CH:1"}, {kGainWrite, "CH:0"}, {kGainWrite, "CH:1"}},
         back + ".\nNon inviate: numero di serie del microfono = M9001, memorizzazione della "
                "calibrazione."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        wizard.Begin(kRecord, kMicBefore);
        Readings("94.2");
        ASSERT_TRUE(wizard.Next());
        GoOut(c.goneOut);
        for (const auto& [code, arg1] : c.answeredBefore)
            wizard.OnWriteAnswered(code, arg1);
        sent.clear();
        wizard.Cancel();
        EXPECT_EQ(wizard.GetStep(), MicReplacement::kRestoring);
        EXPECT_EQ(sent, c.putBack);
        EXPECT_EQ(unsent, sent);
        wizard.Cancel();  // asked again, it still waits for the meter
        EXPECT_EQ(sent, c.putBack);
        for (const auto& [code, arg1] : c.answeredAfter)
            wizard.OnWriteAnswered(code, arg1);
        EXPECT_EQ(wizard.GetStep(), MicReplacement::kRestoring);
        op.ExpectBox(c.box);
        wizard.OnWriteAnswered(kFactoryCommand, "4321");
        EXPECT_EQ(wizard.GetStep(), MicReplacement::kCancelled);
        EXPECT_EQ(op.Shown().back(), c.box);
        unsent.clear();
    }
    EXPECT_EQ(Recorded(), "");
    EXPECT_EQ(InstrLogLines(),
              std::vector<std::string>(
                  2, "Sostituzione microfono annullata: calibrazione precedente ripristinata"));
}

TEST_F(MicReplacementTest, CancellingBeforeAnyWriteWentOutSendsNothing) {
    // Before the operator agreed to write, and with the writes still queued.
    for (const bool agreed : {false, true}) {
        SCOPED_TRACE(agreed ? "writes queued" : "nothing written");
        wizard.Begin(kRecord, kMicBefore);
        Readings("94.2");
        if (agreed) {
            ASSERT_TRUE(wizard.Next());
        }
        sent.clear();
        op.ExpectBox("Sostituzione microfono annullata.\nNessuna modifica eseguita.");
        wizard.Cancel();
        EXPECT_TRUE(sent.empty());
        EXPECT_TRUE(unsent.empty());
    }
    EXPECT_EQ(
        InstrLogLines(),
        std::vector<std::string>(2, "Sostituzione microfono annullata: nessuna modifica eseguita"));
}

TEST_F(MicReplacementTest, AMicrophoneNumberNotKnownBeforeIsNotWrittenBackNorSaidToBe) {
    wizard.Begin(kRecord, " ");
    Readings("94.2");
    ASSERT_TRUE(wizard.Next());
    GoOut();
    sent.clear();
    wizard.Cancel();
    EXPECT_EQ(sent, (std::vector<std::string>{"132 CH:0 1.5", "132 CH:1 -0.5", "137 4321 "}));
    for (const auto& [code, arg1] :
         {std::pair{kGainWrite, "CH:0"}, std::pair{kGainWrite, "CH:1"},
          std::pair{kMicNumberWrite, "4321"}, std::pair{kFactoryCommand, "4321"},
          std::pair{kGainWrite, "CH:0"}, std::pair{kGainWrite, "CH:1"}})
        wizard.OnWriteAnswered(code, arg1);
    const std::string notRestored =
        "Non ripristinati, valore precedente non noto: numero di serie del microfono = M9001.";
    op.ExpectBox(
        "ATTENZIONE:\nSostituzione annullata: calibrazione precedente ripristinata in parte.\n"
        "Valori ripristinati: guadagno canale 0 = 1.5, guadagno canale 1 = -0.5.\n" +
        notRestored);
    wizard.OnWriteAnswered(kFactoryCommand, "4321");
    EXPECT_EQ(wizard.GetStep(), MicReplacement::kCancelled);
    EXPECT_FALSE(platform::Contains(op.Shown().back(), "tornato"));
    EXPECT_EQ(InstrLogLines().back(),
              "Err: sostituzione microfono annullata: calibrazione precedente ripristinata in "
              "parte. " +
                  notRestored);

    // The meter silent meanwhile: the box says so too.
    wizard.Begin(kRecord, "");
    Readings("94.2");
    ASSERT_TRUE(wizard.Next());
    GoOut();
    for (const auto& [code, arg1] : {std::pair{kGainWrite, "CH:0"}, std::pair{kGainWrite, "CH:1"},
                                     std::pair{kMicNumberWrite, "4321"}})
        wizard.OnWriteAnswered(code, arg1);
    wizard.Cancel();
    op.ExpectBox(
        "Senza conferma, forse eseguite: memorizzazione della calibrazione.\nNon "
        "inviate: guadagno canale 0 = 1.5 (precedente), guadagno canale 1 = -0.5 "
        "(precedente), memorizzazione della calibrazione precedente.\n" +
        notRestored);
    wizard.OnCommandLost(kFactoryCommand, "4321", Loss::kUnanswered);
}

TEST_F(MicReplacementTest, AMeterThatStopsAnsweringEndsTheReplacementWithWhatItConfirmed) {
    Readings("94.2");
    EXPECT_FALSE(wizard.AwaitsReplyTo(kGainWrite));  // the operator's turn
    ASSERT_TRUE(wizard.Next());
    EXPECT_FALSE(wizard.AwaitsReplyTo(kAcquisitionQuery));
    wizard.OnWriteAnswered(kGainWrite, "CH:0");
    op.ExpectBox(
        "ATTENZIONE:\nLo strumento non risponde.\nScritture confermate dallo strumento: "
        "guadagno canale 0 = 1.3.\nSenza conferma, forse eseguite: guadagno canale 1 = -0.7.\n"
        "Non inviate: numero di serie del microfono = M9001, memorizzazione della "
        "calibrazione.\nLa calibrazione dello strumento puo' essere memorizzata in parte");
    wizard.OnCommandLost(kGainWrite, "CH:1", Loss::kUnanswered);
    EXPECT_EQ(wizard.GetStep(), MicReplacement::kFailed);

    // Going back after "Annulla": the meter is not said to be back.
    wizard.Begin(kRecord, kMicBefore);
    Readings("94.2");
    ASSERT_TRUE(wizard.Next());
    GoOut(1);
    wizard.Cancel();
    op.ExpectBox(
        "Lo strumento non risponde durante il ripristino della calibrazione "
        "precedente.\nScritture confermate dallo strumento: nessuna.\nSenza conferma, "
        "forse eseguite: guadagno canale 0 = 1.3.");
    wizard.OnCommandLost(kGainWrite, "CH:0", Loss::kUnanswered);

    // While reading, nothing was written.
    wizard.Begin(kRecord, kMicBefore);
    ASSERT_TRUE(wizard.Next("M9001"));
    op.ExpectBox("ATTENZIONE:\nLo strumento non risponde.\nNessuna modifica eseguita.");
    wizard.OnCommandLost(kGainQuery, "CH:0", Loss::kUnanswered);
    EXPECT_EQ(Recorded(), "");
}

TEST_F(MicReplacementTest, AWriteTheMeterRefusedIsListedWithTheWritesNotDone) {
    Readings("94.2");
    ASSERT_TRUE(wizard.Next());
    wizard.OnWriteAnswered(kGainWrite, "CH:0");
    wizard.OnWriteAnswered(kGainWrite, "CH:1");
    wizard.OnWriteAnswered(kMicNumberWrite, "4321");
    // A wrong protection code: the store is refused.
    op.ExpectBox(
        "ATTENZIONE:\nLo strumento ha rifiutato il comando.\nScritture confermate dallo "
        "strumento: guadagno canale 0 = 1.3, guadagno canale 1 = -0.7, numero di serie del "
        "microfono = M9001.\nNon eseguite: memorizzazione della calibrazione.\nLa calibrazione "
        "dello strumento puo' essere memorizzata in parte");
    wizard.OnCommandLost(kFactoryCommand, "4321", Loss::kRefused);
    EXPECT_EQ(wizard.GetStep(), MicReplacement::kFailed);

    // An answer with nothing in it may come after the meter took the write, as silence may.
    wizard.Begin(kRecord, kMicBefore);
    Readings("94.2");
    ASSERT_TRUE(wizard.Next());
    op.ExpectBox(
        "Lo strumento ha inviato una risposta vuota.\nScritture confermate dallo strumento: "
        "nessuna.\nSenza conferma, forse eseguite: guadagno canale 0 = 1.3.\nNon inviate: ");
    wizard.OnCommandLost(kGainWrite, "CH:0", Loss::kEmptyAnswer);

    // The first write refused: nothing was changed.
    wizard.Begin(kRecord, kMicBefore);
    Readings("94.2");
    ASSERT_TRUE(wizard.Next());
    op.ExpectBox(
        "nessuna.\nNon eseguite: guadagno canale 0 = 1.3, guadagno canale 1 = -0.7, numero di "
        "serie del microfono = M9001, memorizzazione della calibrazione.\nNessuna modifica "
        "eseguita.");
    wizard.OnCommandLost(kGainWrite, "CH:0", Loss::kRefused);
    EXPECT_EQ(Recorded(), "");
}

TEST_F(MicReplacementTest, AServerThatDoesNotTakeTheRecordIsReported) {
    stub.SetReply("log_user.php", "RESULT=ERROR\n");
    Readings("94.0");
    ASSERT_TRUE(wizard.Next());
    wizard.SetStep(MicReplacement::kStored);
    wizard.NextStep();
    op.ExpectBox("registrazione della sostituzione sul server e' fallita");
    wizard.SetStep(MicReplacement::kElectricRead);
    wizard.NextStep();
    EXPECT_EQ(wizard.GetStep(), MicReplacement::kDone);
    EXPECT_EQ(InstrLogLines().back(),
              "Err: registrazione sostituzione microfono sul server fallita");
}

}  // namespace
