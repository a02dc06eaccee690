#include <gtest/gtest.h>
#include <sys/stat.h>

#include "cipher/bench_keys.h"
#include "keyed_meters.h"
#include "platform/files.h"
#include "support/test_env.h"

using namespace cipher;
using keytest::Commands;
using keytest::Strings;

namespace {

constexpr const char* kRefSerial = "R100";
constexpr const char* kTargetSerial = "T200";

// Where the key data comes from, the port records and the bench's plain commands, scripted.
class FakeKeys : public KeyHost {
public:
    explicit FakeKeys(std::string folder) : m_folder(std::move(folder)) {}

    bool InternetAvailable() override { return internet; }
    std::string DownloadKeyText(const std::string& serial) override {
        downloadedSerials.push_back(serial);
        if (onDownload)
            onDownload(downloadedSerials.size());
        return serverFiles.count(serial) ? serverFiles[serial] : "-1";
    }
    std::string DownloadError() override { return "Error 404"; }
    std::string ProgramPath(const std::string& relative) override {
        return platform::JoinPath(m_folder, relative);
    }
    PortRecord& PortRecordOf(Meter meter) override {
        return meter == Meter::Reference ? reference : target;
    }
    void SavePortIni() override {
        ++saves;
        ::SavePortIni(ProgramPath("port.ini"), reference, target);
    }
    std::string SendCommand(Meter, const std::string& command, const std::string& query,
                            const std::string& expected, unsigned) override {
        commands.push_back(command + "|" + query + "|" + expected);
        if (commandResults.empty())
            return "1";
        std::string result = commandResults.front();
        commandResults.pop_front();
        return result;
    }
    ManualReadingEntry EnterManualReading(const ManualReadingLabels& labels) override {
        manualLabels.push_back(labels);
        return manual;
    }

    bool internet = true;
    std::map<std::string, std::string> serverFiles;
    // Called with the number of downloads so far, before the answer.
    std::function<void(size_t)> onDownload;
    Strings downloadedSerials;
    PortRecord reference;
    PortRecord target;
    int saves = 0;
    Strings commands;
    std::deque<std::string> commandResults;
    ManualReadingEntry manual;
    std::vector<ManualReadingLabels> manualLabels;

private:
    std::string m_folder;
};

class KeyUpkeepTest : public keytest::KeyedMetersTest {
protected:
    KeyUpkeepTest() : KeyedMetersTest(11, 22) {
        bench.reference.serialNumber = kRefSerial;
        bench.target.serialNumber = kTargetSerial;
        keys.serverFiles[kRefSerial] = keytest::KeyLine(kRefSerial, referenceKeyData) + "\r\n";
        keys.serverFiles[kTargetSerial] = keytest::KeyLine(kTargetSerial, targetKeyData) + "\n";
    }

    // The meter answers a reading and then loses its answer: it is out of step.
    void KnockTargetOutOfStep() {
        targetKeys->DropAnswerNext();
        ASSERT_EQ(sut.Exchange().TargetGetValCrypt(), "-1");
        ASSERT_FALSE(InStep(*targetKeys, Meter::Target));
        bench.target.keyErrors = 0;
    }

    PortRecord SavedRecord(Meter meter) {
        return keytest::SavedRecord(folder.File("port.ini"), meter);
    }

    testenv::ScratchFolder folder;
    testenv::TestOperator op;
    FakeKeys keys{folder.Path()};
    BenchKeys sut{bench, services, keys};
};

}  // namespace

TEST_F(KeyUpkeepTest, OnlineKeysAreCheckedTwiceResetAndRenewedAndKeptForOfflineUse) {
    EXPECT_TRUE(sut.InitRefCrypt());
    EXPECT_EQ(services.logs,
              (Strings{"REF : download key for R100", "REF : controllo integrita chiave OK ",
                       "REF : OK check key for R100", "REF : RefNewKey"}));
    EXPECT_EQ(keys.downloadedSerials, (Strings{kRefSerial, kRefSerial}));
    // 945 mod 500 for the reset, the exchange's own challenge for the new key.
    EXPECT_EQ(Commands(*referenceKeys), (Strings{"RSTKEY_RND_0445", "NEWKEY_RND_0945"}));
    EXPECT_TRUE(referenceKeys->Frames()[0].resetKey);
    EXPECT_TRUE(InStep(*referenceKeys, Meter::Reference));
    EXPECT_EQ(bench.reference.keyResets, 1);
    EXPECT_EQ(keys.saves, 1);
    EXPECT_EQ(services.waits.front(), 1000u);

    // Every online initialisation adds the line once more, without the server's line end,
    // and the key file is readable by its owner alone, even one that was not.
    ::chmod(folder.File("msvcrt60.dll").c_str(), 0644);
    EXPECT_TRUE(sut.InitRefCrypt());
    const std::string line = keytest::KeyLine(kRefSerial, referenceKeyData);
    EXPECT_EQ(folder.Read("msvcrt60.dll"), line + "\n" + line + "\n");
    struct stat keyFile {};
    ASSERT_EQ(::stat(folder.File("msvcrt60.dll").c_str(), &keyFile), 0);
    EXPECT_EQ(keyFile.st_mode & 0777, 0600u);

    // The instrument under test: its reset challenge is taken mod 4095, and nothing is kept.
    EXPECT_TRUE(sut.InitTargetCrypt());
    EXPECT_EQ(Commands(*targetKeys), (Strings{"RSTKEY_RND_0945", "NEWKEY_RND_0945"}));
    EXPECT_TRUE(InStep(*targetKeys, Meter::Target));
    EXPECT_EQ(folder.Read("msvcrt60.dll"), line + "\n" + line + "\n");
}

TEST_F(KeyUpkeepTest, RefusedDownloadsFallBackToTheLocalKeyFileAndItsFirstLine) {
    keys.serverFiles.clear();
    // Only the first line of the meter counts.
    const std::string keyFile = "X9;1;2\n" + keytest::KeyLine(kRefSerial, referenceKeyData) + "\n" +
                                keytest::KeyLine(kRefSerial, targetKeyData) + "\n";
    folder.Write("msvcrt60.dll", keyFile);
    op.ExpectBox("Error 367 - Mancata connessione Internet.\nRiprovare ?\n\nErr=Error 404", IDYES);
    op.ExpectBox("Error 367", IDNO);
    op.ExpectBox("Error 367", IDNO);
    EXPECT_TRUE(sut.InitRefCrypt());
    // Two refused downloads compare equal: the check passes and nothing is added.
    EXPECT_EQ(keys.downloadedSerials.size(), 3u);
    EXPECT_EQ(services.logs[1], "REF : controllo integrita chiave OK ");
    EXPECT_TRUE(InStep(*referenceKeys, Meter::Reference));
    EXPECT_EQ(folder.Read("msvcrt60.dll"), keyFile);

    // Offline the file is read without a download.
    keys.internet = false;
    keys.downloadedSerials.clear();
    EXPECT_TRUE(sut.InitRefCrypt());
    EXPECT_TRUE(keys.downloadedSerials.empty());
}

TEST_F(KeyUpkeepTest, ADownloadedLineOfAnotherMeterIsNotTakenEvenWhenItHoldsTheSerial) {
    // The serial shows inside another meter's line; its fields are no key of this meter.
    keys.serverFiles[kRefSerial] = "X9;R100;" + keytest::KeyLine("X9", targetKeyData).substr(3);
    folder.Write("msvcrt60.dll", keytest::KeyLine(kRefSerial, referenceKeyData) + "\n");
    EXPECT_TRUE(sut.InitRefCrypt());
    EXPECT_FALSE(keytest::Holds(services.logs, "REF : OK check key for R100"));
    EXPECT_TRUE(InStep(*referenceKeys, Meter::Reference));
    // Nor is it kept for offline use.
    EXPECT_EQ(folder.Read("msvcrt60.dll"), keytest::KeyLine(kRefSerial, referenceKeyData) + "\n");

    folder.Write("msvcrt60.dll", "X9;1\n");
    op.ExpectBox(
        "ATTENZIONE:\nLo strumento di riferimento (Ser num:R100) non e' presente nel "
        "database strumenti.");
    EXPECT_FALSE(sut.InitRefCrypt());
    platform::RemoveFile(folder.File("msvcrt60.dll"));
    op.ExpectBox("Error 368");
    EXPECT_FALSE(sut.InitRefCrypt());
}

TEST_F(KeyUpkeepTest, OfflineTheInstrumentUnderTestMustBeBooked) {
    keys.internet = false;
    folder.Write("msvcrt60.dll", "R100;1\n");
    folder.Write("msvcrt60_temp.dll", "2024/05/01 10:00:00\nA1;1;2\n" +
                                          keytest::KeyLine(kTargetSerial, targetKeyData) + "\n");
    op.ExpectBox("Connessione di rete assente.\nE' possibile effetuare la verifica periodica solo");
    EXPECT_TRUE(sut.InitTargetCrypt());
    EXPECT_TRUE(InStep(*targetKeys, Meter::Target));
    // The reference meters' key file is still there for them.
    EXPECT_EQ(folder.Read("msvcrt60.dll"), "R100;1\n");

    // Without the booking file the reset still goes ahead, from the key data held: it brings
    // a meter that fell out of step back.
    KnockTargetOutOfStep();
    platform::RemoveFile(folder.File("msvcrt60_temp.dll"));
    op.ExpectBox("Connessione di rete assente.");
    op.ExpectBox("Error 268");
    EXPECT_TRUE(sut.InitTargetCrypt());
    EXPECT_TRUE(InStep(*targetKeys, Meter::Target));

    folder.Write("msvcrt60_temp.dll", "2024/05/01 10:00:00\nA1;1;2\nB2;3\n");
    op.ExpectBox("Connessione di rete assente.");
    op.ExpectBox(
        "ATTENZIONE:\nLo strumento da verificare (Ser num:T200) non e' presente nella lista degli "
        "strumenti prenotati\n\n(A1\nB2\n\n)");
    EXPECT_FALSE(sut.InitTargetCrypt());
}

TEST_F(KeyUpkeepTest, AnInstrumentUnknownToTheServerEndsWhenTheOperatorGivesUp) {
    keys.serverFiles.erase(kTargetSerial);
    op.ExpectBox(
        "ATTENZIONE:\nLo strumento da verificare (Ser num:T200) non e' presente nel "
        "database strumenti.\nRiprovare connessione a internet ?\n\nErr=Error 404",
        IDNO);
    EXPECT_FALSE(sut.InitTargetCrypt());
    EXPECT_EQ(keys.downloadedSerials.size(), 1u);
    EXPECT_EQ(targetMeter.LineCount(), 0u);

    // A script that always says Yes gives up after a few retries; the server that mends
    // itself much later only ends a loop that never would.
    op.AlwaysAnswer("non e' presente nel database strumenti", IDYES);
    keys.onDownload = [this](size_t downloads) {
        if (downloads > 50)
            keys.serverFiles[kTargetSerial] = keytest::KeyLine(kTargetSerial, targetKeyData);
    };
    keys.downloadedSerials.clear();
    EXPECT_FALSE(sut.InitTargetCrypt());
    EXPECT_EQ(keys.downloadedSerials.size(), 4u);
}

TEST_F(KeyUpkeepTest, RefusedResetsGetTwoTriesAndThenTheLimitStopsFurtherSends) {
    targetMeter.RefuseNext("KEY:EXEC", -1);
    op.ExpectBox(
        "DUT INSTR: Errore inizializzazione cifratura - passo1.\nNon chiudere il software");
    op.ExpectBox(
        "DUT INSTR: Errore inizializzazione cifratura - passo1 secondo tentativo.\n"
        "Contattare assistenza Corvanex.");
    EXPECT_FALSE(sut.InitTargetCrypt());
    EXPECT_EQ(targetMeter.LineCount(), 4u);
    EXPECT_EQ(bench.target.keyResets, 4);
    const Strings expectedTail{
        "DUT : Inizializzazione crypt (RSTKEY_RND_) receive NAK -> Repeat command",
        "DUT : Inizializzazione crypt (RSTKEY_RND_) receive NAK -> Repeat command",
        "DUT INSTR: Errore inizializzazione cifratura - passo1 secondo tentativo - Contattare "
        "assistenza Corvanex"};
    ASSERT_GE(services.logs.size(), 3u);
    EXPECT_EQ(Strings(services.logs.end() - 3, services.logs.end()), expectedTail);

    // Above the limit an initialisation ends at its first send, without a word.
    EXPECT_FALSE(sut.InitTargetCrypt());
    EXPECT_EQ(targetMeter.LineCount(), 4u);
    EXPECT_EQ(bench.target.keyResets, 5);
}

TEST_F(KeyUpkeepTest, ASecondTryStartsFromTheKeyDataAgain) {
    // The meter reads the reset and advances, but its answer arrives cut.
    targetKeys->CutAnswerNext(10);
    op.ExpectBox("DUT INSTR: Errore inizializzazione cifratura - passo2.\n");
    EXPECT_TRUE(sut.InitTargetCrypt());
    EXPECT_EQ(Commands(*targetKeys),
              (Strings{"RSTKEY_RND_0945", "RSTKEY_RND_0945", "NEWKEY_RND_0945"}));
    EXPECT_TRUE(InStep(*targetKeys, Meter::Target));
}

// A whole alignment is proven with the bench window and its meters.
TEST_F(KeyUpkeepTest, AlignmentPromptsForAMeterThatWillNotStartAndEndsOnOneThatWillNotStop) {
    keys.commandResults = {"0", "0", "0"};
    op.ExpectBox("DUT: Verifica strumento in RUN fallita.\nProvare manualmente premendo il tasto");
    EXPECT_FALSE(sut.AlignTargetKeys());
    EXPECT_EQ(keys.commands, (Strings{"STT:ACQ:RUN|STT:ACQ:?|RUN", "|STT:ACQ:?|STOP",
                                      "STT:ACQ:STOP|STT:ACQ:?|STOP"}));
    EXPECT_EQ(services.logs.back(), "Impostazione fallita di strumento TARGET in STOP");
}

TEST_F(KeyUpkeepTest, PastTheResetLimitAnAlignmentMakesOneSendAndNeedsTheMeterInStep) {
    // A meter that still does not answer: one send, then the limit's box.
    keys.target.m_strSerialNumber = "A100";
    bench.target.keyResets = 4;
    targetKeys->IgnoreNext();
    op.ExpectBox("DUT  Instr: Superato massimo numero di tentativi di inizializzazione cifratura.");
    EXPECT_FALSE(sut.AlignTargetKeys());
    EXPECT_EQ(targetMeter.LineCount(), 1u);
    EXPECT_EQ(services.logs.back(),
              "DUT  Instr: Superato massimo numero di tentativi di inizializzazione cifratura: "
              "Rst_Key=5 , Key=0");
    // Counted for this meter, not for the one aligned before it.
    EXPECT_EQ(SavedRecord(Meter::Target).m_strSerialNumber, kTargetSerial);
    EXPECT_EQ(SavedRecord(Meter::Target).m_nResetCount, 5);

    // Answering in step again, it is aligned and its counters are cleared.
    EXPECT_TRUE(sut.AlignTargetKeys());
    EXPECT_EQ(Commands(*targetKeys),
              (Strings{"RSTKEY_RND_0945", "RSTKEY_RND_0945", "NEWKEY_RND_0945"}));
    EXPECT_TRUE(InStep(*targetKeys, Meter::Target));
    EXPECT_EQ(SavedRecord(Meter::Target).m_nResetCount, 0);

    // With too many cipher errors as well, not even that send is made.
    bench.target.keyResets = 4;
    bench.target.keyErrors = 5;
    op.ExpectBox("DUT  Instr: Superato massimo numero di tentativi");
    EXPECT_FALSE(sut.AlignTargetKeys());
    EXPECT_EQ(targetMeter.LineCount(), 3u);

    // Reset counter 3: one send is made; the next would be the fifth, and is not made.
    bench.target.keyErrors = 0;
    bench.target.keyResets = 3;
    targetKeys->IgnoreNext();
    op.ExpectBox("DUT  Instr: Errore di inizializzazione cifratura.\nContattare produttore");
    EXPECT_FALSE(sut.AlignTargetKeys());
    EXPECT_EQ(targetMeter.LineCount(), 4u);
    EXPECT_EQ(services.logs.back(), "DUT instr -> init sequence FAILED: Rst_Key=5 , Key=0");
    EXPECT_EQ(SavedRecord(Meter::Target).m_nResetCount, 5);
}

TEST_F(KeyUpkeepTest, ANewReferenceMeterIsInitialisedBeforeItsFirstReading) {
    referenceKeys->SetReferenceReading("94.253");
    EXPECT_EQ(sut.RefInstr_Write_and_Check_CRYPT("KEY:PRN_VAL"), "00:00:00   94.25;0.0;0.0; ");
    EXPECT_EQ(keys.commands, Strings{"STT:ACQ:STOP|STT:ACQ:?|STOP"});
    EXPECT_EQ(Commands(*referenceKeys),
              (Strings{"RSTKEY_RND_0445", "NEWKEY_RND_0945", "GETEXT_RND_0945"}));
    EXPECT_EQ(services.logs.back(), "REF  Crypt Meas: 00:00:00   94.25;0.0;0.0; ");
    EXPECT_EQ(SavedRecord(Meter::Reference).m_strSerialNumber, kRefSerial);

    // The same meter next time: no initialisation.
    EXPECT_EQ(sut.RefInstr_Write_and_Check_CRYPT("KEY:PRN_VAL"), "00:00:00   94.25;0.0;0.0; ");
    EXPECT_EQ(referenceKeys->Frames().size(), 4u);
}

TEST_F(KeyUpkeepTest, AnErrorCountOfFourIsReinitialisedNotLeftWithoutReading) {
    keys.target.m_strSerialNumber = kTargetSerial;
    KnockTargetOutOfStep();
    bench.target.keyErrors = 4;
    EXPECT_EQ(sut.TargetInstr_Write_and_Check_CRYPT("KEY:PRN_VAL"),
              "00:00:00   94.0 - 94.0 - 94.0 -         ");
    EXPECT_EQ(bench.target.keyErrors, 0);
    EXPECT_TRUE(InStep(*targetKeys, Meter::Target));
}

TEST_F(KeyUpkeepTest, BeyondTheLimitsEveryReadingIsRefusedWithoutAnExchange) {
    keys.reference.m_strSerialNumber = kRefSerial;
    bench.reference.keyErrors = 5;
    op.ExpectBox("REF  Instr: Errore di cifratura.\nContattare produttore della strumentazione;");
    EXPECT_EQ(sut.RefInstr_Write_and_Check_CRYPT("KEY:PRN_VAL"), "-1");
    EXPECT_EQ(services.logs.back(), "REF  Crypt Meas: -1");

    // A new meter that may not be initialised any more is not read either, and its counts
    // are recorded under its own serial number, not the last meter's ...
    keys.target.m_strSerialNumber = "A100";
    bench.target.keyResets = 2;
    op.ExpectBox("DUT  Instr: Errore di inizializzazione cifratura.\nContattare produttore");
    EXPECT_EQ(sut.TargetInstr_Write_and_Check_CRYPT("KEY:PRN_VAL"), "-1");
    EXPECT_EQ(referenceMeter.LineCount() + targetMeter.LineCount(), 0u);
    EXPECT_EQ(SavedRecord(Meter::Target).m_strSerialNumber, kTargetSerial);
    EXPECT_EQ(SavedRecord(Meter::Target).m_nResetCount, 2);
    EXPECT_EQ(SavedRecord(Meter::Reference).m_nErrorCount, 5);
    // ... while it still counts as new: the next call is refused the same way, unread.
    op.ExpectBox("DUT  Instr: Errore di inizializzazione cifratura.\nContattare produttore");
    EXPECT_EQ(sut.TargetInstr_Write_and_Check_CRYPT("KEY:PRN_VAL"), "-1");
    EXPECT_EQ(targetMeter.LineCount(), 0u);

    // A meter that will not stop is not read and its counts stay.
    keys.commandResults = {"0"};
    const int saves = keys.saves;
    EXPECT_EQ(sut.RefInstr_Write_and_Check_CRYPT("KEY:PRN_VAL"), "-1");
    EXPECT_EQ(services.logs.back(), "Strumento CAMPIONE.Impostazione fallita in STOP");
    EXPECT_EQ(keys.saves, saves);
}

TEST_F(KeyUpkeepTest, AnInitialisationThatFailedIsMadeAgainAfterARestart) {
    // A new instrument under test whose key the server does not give.
    keys.target.m_strSerialNumber = "A100";
    keys.serverFiles.erase(kTargetSerial);
    op.ExpectBox("ATTENZIONE:\nLo strumento da verificare (Ser num:T200) non e' presente", IDNO);
    EXPECT_EQ(sut.TargetInstr_Write_and_Check_CRYPT("KEY:PRN_VAL"), "-1");
    EXPECT_EQ(targetMeter.LineCount(), 0u);
    const PortRecord failed = SavedRecord(Meter::Target);
    EXPECT_EQ(failed.m_strSerialNumber, kTargetSerial);
    EXPECT_EQ(failed.m_nResetCount, 1);
    EXPECT_TRUE(failed.m_bKeysOutOfStep);

    // The program starts again with what "port.ini" says, and the server answers now: the
    // first reading initialises the meter before it reads.
    FakeKeys restarted{folder.Path()};
    restarted.serverFiles[kTargetSerial] = keytest::KeyLine(kTargetSerial, targetKeyData);
    ASSERT_TRUE(LoadPortIni(folder.File("port.ini"), restarted.reference, restarted.target));
    BenchState benchAfter;
    benchAfter.target.serialNumber = kTargetSerial;
    TakeRecordedCounters(benchAfter.target, restarted.target);
    BenchKeys after{benchAfter, services, restarted};
    EXPECT_EQ(after.TargetInstr_Write_and_Check_CRYPT("KEY:PRN_VAL"),
              "00:00:00   94.0 - 94.0 - 94.0 -         ");
    EXPECT_EQ(Commands(*targetKeys),
              (Strings{"RSTKEY_RND_0945", "NEWKEY_RND_0945", "GETVAL_RND_0945"}));
    const PortRecord aligned = SavedRecord(Meter::Target);
    EXPECT_EQ(aligned.m_strSerialNumber, kTargetSerial);
    EXPECT_EQ(aligned.m_nResetCount + aligned.m_nErrorCount, 0);
    EXPECT_FALSE(aligned.m_bKeysOutOfStep);
}

// The overload test's reading by hand is proven with the bench window's own dialog.
TEST_F(KeyUpkeepTest, AnInstrumentThatCannotBeCommandedIsReadByTheOperator) {
    bench.targetRemoteControl = false;
    bench.runningTest = BenchTest::Transients;
    bench.playbackFile = folder.File("wave_files/burst_4000.wav");
    // The tick counts only in the overload test.
    keys.manual = {{"120", "121", "122"}, true, true};
    EXPECT_EQ(sut.TargetInstr_Write_and_Check_CRYPT(""), "00:00:00 - 120.0 - 121.0 - 122.0 - ");
    EXPECT_EQ(keys.manualLabels.back(), (ManualReadingLabels{{"LFmax:A", "LSmax:B", ""}, false}));
    EXPECT_EQ(keys.saves, 0);
    EXPECT_EQ(targetMeter.LineCount(), 0u);

    EXPECT_EQ(ManualReadingLabelsFor(BenchTest::FrequencyResponse, false).labels,
              (std::array<std::string, 3>{"LSp:A", "LSp:B", "LSp:C"}));
    EXPECT_EQ(ManualReadingLabelsFor(BenchTest::Transients, false).labels,
              (std::array<std::string, 3>{"LFp:A", "LSp:A", ""}));
}
