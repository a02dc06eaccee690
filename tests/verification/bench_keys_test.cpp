// The bench with its two meters and the web service's stand-in: connecting and identifying the
// meters, their keys from the server and from the local files, the key alignment and the
// readings with their counters in "port.ini".

#include <sys/fsuid.h>
#include <sys/stat.h>

#include <QLineEdit>

#include "bench_test_env.h"
#include "verification/instrument_connection.h"
#include "web/booking_form.h"
#include "web/instrument_booking.h"

using namespace benchtest;
using cipher::Meter;
using keytest::Holds;
using keytest::Strings;

TEST_F(BenchTest, StartupConnectsAndIdentifiesBothMeters) {
    ASSERT_NO_FATAL_FAILURE(ConnectBoth());
    EXPECT_EQ(instruments.refSerial, kRefSerial);
    EXPECT_EQ(instruments.target, (verification::InstrumentIdentity{
                                      "QS4060KRTN", "2.05", kTargetSerial, "MK250", "M5678"}));
    EXPECT_EQ(dlg.Bench().reference.serialNumber, kRefSerial);
    EXPECT_EQ(dlg.Bench().target.serialNumber, kTargetSerial);
    // Each on its record's port, the one its meter answered on, 8N1 at the record's rate, no
    // handshaking asked for.
    for (LinkSide side : {LinkSide::Reference, LinkSide::Target}) {
        ASSERT_TRUE(host.IsOpen(side));
        CSerial& port = host.Port(side);
        EXPECT_EQ(port.GetBaudrate(), kPortIniBaudRate);
        EXPECT_EQ(port.GetDataBits(), 8);
        EXPECT_EQ(port.GetParity(), CSerial::NoParity);
        EXPECT_EQ(port.GetStopBits(), CSerial::OneStopBit);
        EXPECT_EQ(port.GetHandshaking(), CSerial::NoHandshake);
    }
    EXPECT_FALSE(host.feedback.shown);
    EXPECT_EQ(host.LogLines().back(), "Strumenti collegati: REF SN R100 DUT SN T200");
    // The meters were quietened first and asked directly: the listeners took nothing.
    EXPECT_EQ(targetMeter.Lines().at(0), "STT:MON:OFF");
    EXPECT_EQ(host.portMessages, 0);

    // Only the keys to align: nothing is asked and nothing connected.
    dlg.m_bKeyAlignOnly = 1;
    const size_t lines = targetMeter.LineCount();
    EXPECT_TRUE(dlg.RunStartup());
    EXPECT_EQ(targetMeter.LineCount(), lines);
}

TEST_F(BenchTest, MetersOfOtherModelsAndSilentMetersAreNotConnected) {
    targetMeter.SetSetting("INSTR_M", "QS4060");
    instruments.target.model = "old";
    op.ExpectBox("ATTENZIONE:\nModello strumento non supportato: QS4060");
    // It answered, so the frame's callers see an instrument, but one not identified.
    EXPECT_TRUE(verification::ConnectInstrumentUnderTest(host, tools, instruments));
    EXPECT_EQ(instruments.target, verification::InstrumentIdentity{});

    referenceMeter.SetSetting("INSTR_M", "QS4160");
    op.ExpectBox("ATTENZIONE:\nModello strumento non supportato: QS4160");
    EXPECT_FALSE(verification::ConnectReferenceInstrument(host, tools, instruments));
    EXPECT_FALSE(host.IsOpen(LinkSide::Reference));
    EXPECT_TRUE(instruments.refSerial.empty());

    // A port with no meter behind it.
    targetMeter.SilenceNext("SET:INS", -1);
    EXPECT_FALSE(verification::ConnectInstrumentUnderTest(host, tools, instruments));
    EXPECT_FALSE(host.IsOpen(LinkSide::Target));
    host.target.m_nComPort = 99;
    EXPECT_FALSE(verification::ConnectInstrumentUnderTest(host, tools, instruments));
}

TEST_F(BenchTest, APortThatDoesNotOpenIsToldWithItsCause) {
    targetMeter.SilenceNext("SET:INS", -1);
    EXPECT_FALSE(verification::ConnectInstrumentUnderTest(host, tools, instruments));
    EXPECT_EQ(verification::TargetSilentText(tools), verification::kTargetSilent);

    // A device without rights for the user; root's pass every check but for another file
    // system user.
    folder.Write("ttyNoRights", "");
    const std::string device = folder.File("ttyNoRights");
    ASSERT_EQ(::chmod(device.c_str(), 0), 0);
    platform::SetComDevice(kTargetCom, device);
    const int user = ::setfsuid(65534);
    const BOOL answered = verification::ConnectInstrumentUnderTest(host, tools, instruments);
    ::setfsuid(user);
    EXPECT_FALSE(answered);
    EXPECT_EQ(verification::TargetSilentText(tools),
              std::string(verification::kTargetSilent) +
                  "\nL'utente non ha i permessi sul dispositivo " + device +
                  " della porta COM4 (di solito va aggiunto al gruppo dialout).");
}

TEST_F(BenchTest, WhileTheProgramLeavesNoMeterIsConnected) {
    // The main view is gone: the link's ports stay closed and the meters hear nothing.
    host.view = false;
    EXPECT_FALSE(verification::ConnectReferenceInstrument(host, tools, instruments));
    EXPECT_FALSE(verification::ConnectInstrumentUnderTest(host, tools, instruments));
    EXPECT_FALSE(host.IsOpen(LinkSide::Reference));
    EXPECT_FALSE(host.IsOpen(LinkSide::Target));
    EXPECT_EQ(referenceMeter.LineCount() + targetMeter.LineCount(), 0u);
}

TEST_F(BenchTest, AFirmwareAnswerThatComesLateIsNotTakenForTheSerialNumber) {
    // Both firmware queries are answered after their time-out; the second answer would come
    // while the serial number is asked, before the serial number's own; slower, so that a busy
    // machine keeps that order.
    platform::ScopedClockSpeed slower{20.0};
    targetMeter.DelayNext("SET:INSTR_V", 1600);
    targetMeter.DelayNext("SET:INSTR_V", 1000);
    targetMeter.DelayNext("SET:INSTR_N", 800);
    EXPECT_TRUE(verification::ConnectInstrumentUnderTest(host, tools, instruments));
    EXPECT_EQ(instruments.target.serial, kTargetSerial);
    EXPECT_EQ(instruments.target.micModel, "MK250");

    // A reply without its key gives no value, whatever it holds.
    EXPECT_EQ(verification::IdentityValue("SET:INSTR_VERSION:2.05\x03", "SET:INSTR_NUMBER:"),
              std::nullopt);
    EXPECT_EQ(verification::IdentityValue(" SET:INSTR_NUMBER: T200 \x03", "SET:INSTR_NUMBER:"),
              "T200");
}

TEST_F(BenchTest, KeysFromTheServerLetBothMetersBeRead) {
    ServeBothKeys();
    ASSERT_NO_FATAL_FAILURE(ConnectBoth());
    referenceKeys->SetReferenceReading("94.253");
    targetKeys->SetTargetReading("094509460947xyz");

    EXPECT_EQ(dlg.RefInstr_Write_and_Check_CRYPT("KEY:PRN_VAL", "", ""),
              "00:00:00   94.25;0.0;0.0; ");
    EXPECT_EQ(dlg.TargetInstr_Write_and_Check_CRYPT("KEY:PRN_VAL", "", ""),
              "00:00:00   94.5 - 94.6 - 94.7 - xyz     ");
    EXPECT_EQ(KeyDownloads(), 4u);
    EXPECT_TRUE(InStep(*referenceKeys, Meter::Reference));
    EXPECT_TRUE(InStep(*targetKeys, Meter::Target));
    QDialog* window = dlg.Window();
    EXPECT_EQ(Control<QLineEdit>(window, "1355")->text(), "94.25");
    EXPECT_EQ(Control<QLineEdit>(window, "1777")->text(), "");
    EXPECT_EQ(Control<QLineEdit>(window, "1778")->text(), "94.5");
    EXPECT_EQ(Control<QLineEdit>(window, "1358")->text(), "94.7");
    // Both meters were stopped by the bench's own command before their reading.
    EXPECT_TRUE(Holds(referenceMeter.Lines(), "STT:ACQ:STOP"));
    EXPECT_TRUE(Holds(targetMeter.Lines(), "STT:ACQ:STOP"));
    EXPECT_TRUE(Holds(host.LogLines(), "REF : OK check key for R100"));
    EXPECT_TRUE(
        Holds(host.LogLines(), "DUT  Crypt Meas: 00:00:00   94.5 - 94.6 - 94.7 - xyz     "));

    const PortRecord reference = SavedRecord(Meter::Reference);
    const PortRecord target = SavedRecord(Meter::Target);
    EXPECT_EQ(reference.m_strSerialNumber, kRefSerial);
    EXPECT_EQ(target.m_strSerialNumber, kTargetSerial);
    EXPECT_EQ(reference.m_nErrorCount + reference.m_nResetCount + target.m_nErrorCount +
                  target.m_nResetCount,
              0);
    EXPECT_EQ(reference.m_nComPort, kRefCom);
    // The reference meter's key is kept for work without a network; the other one is not.
    EXPECT_EQ(folder.Read("msvcrt60.dll"), RefKeyLine() + "\n");

    // Without the main view nothing is read.
    host.view = false;
    EXPECT_EQ(dlg.RefInstr_Write_and_Check_CRYPT("KEY:PRN_VAL"), "-1");
}

TEST_F(BenchTest, AKeyThatChangesBetweenTheTwoDownloadsIsRefused) {
    ServeBothKeys();
    stub.ChangeFileAfter("//qs4060krtn_vp//hash_keys//R100hash.txt", 1,
                         keytest::KeyLine(kRefSerial, targetKeyData));
    ASSERT_NO_FATAL_FAILURE(ConnectBoth());
    op.ExpectBox("REF : controllo integrita chiave FALLITO.\nControllare connessione internet");
    EXPECT_FALSE(dlg.InitRefCrypt());
    EXPECT_EQ(host.LogLines().back(),
              "REF : controllo integrita chiave FALLITO.\nControllare connessione internet e "
              "riprovare.");
    EXPECT_EQ(referenceKeys->Frames().size(), 0u);
    EXPECT_EQ(dlg.Bench().reference.keyResets, 0);
    EXPECT_FALSE(platform::FileExists(folder.File("msvcrt60.dll")));
}

TEST_F(BenchTest, ASerialThatWouldLeaveTheKeyFolderIsNeverAskedFor) {
    ServeBothKeys();
    ASSERT_NO_FATAL_FAILURE(ConnectBoth());
    const size_t downloads = KeyDownloads();
    dlg.SetTargetSerial("../T200");
    op.ExpectBox(
        "ATTENZIONE:\nLo strumento da verificare (Ser num:../T200) non e' presente nel database "
        "strumenti.\nRiprovare connessione a internet ?\n\nErr=Invalid serial number: it holds "
        "\"/\" or \"\\\"",
        IDNO);
    EXPECT_FALSE(dlg.InitTargetCrypt());
    EXPECT_EQ(KeyDownloads(), downloads);
    EXPECT_EQ(targetKeys->Frames().size(), 0u);
}

TEST_F(BenchTest, BookedInstrumentsAreVerifiedWithoutANetwork) {
    // Booked while the server could be reached ...
    stub.ServeFile("//qs4060krtn_vp//corrections//corrections_table.txt", "REF1;0.1\n");
    stub.ServeKeyFile(kTargetSerial, TargetKeyLine());
    web::InstrumentBooking booking(databases);
    op.ExpectDialog("CAudioTriggerEvDlg", [](platform::ModalDialog& dialog) {
        auto& form = dynamic_cast<CAudioTriggerEvDlg&>(dialog);
        form.m_strSerials = {kTargetSerial, "", "", "", "", ""};
        return form.OnOK() ? IDOK : IDCANCEL;
    });
    op.ExpectBox("Salvataggio informazioni sugli strumenti da verificare eseguito correttamente");
    booking.OnBookInstruments();

    // ... and verified where it cannot.
    databases.m_bInternetAvailable = 0;
    const size_t requests = stub.Requests().size();
    folder.Write("msvcrt60.dll", "X1;2;3\n" + RefKeyLine() + "\n");
    ASSERT_NO_FATAL_FAILURE(ConnectBoth());
    op.ExpectBox("Connessione di rete assente.\nE' possibile effetuare la verifica periodica solo");
    targetKeys->SetTargetReading("093009310932abc");
    EXPECT_EQ(dlg.TargetInstr_Write_and_Check_CRYPT("KEY:PRN_VAL"),
              "00:00:00   93.0 - 93.1 - 93.2 - abc     ");
    EXPECT_EQ(dlg.RefInstr_Write_and_Check_CRYPT("KEY:PRN_VAL"), "00:00:00   94.00;0.0;0.0; ");
    EXPECT_EQ(stub.Requests().size(), requests);
    EXPECT_TRUE(InStep(*targetKeys, Meter::Target));
}

TEST_F(BenchTest, AlignmentLeavesTheInstrumentStoppedWithFreshKeys) {
    ServeBothKeys();
    ASSERT_NO_FATAL_FAILURE(ConnectBoth());
    targetMeter.ClearLog();
    dlg.Bench().target.keyErrors = 3;
    dlg.Bench().target.keyResets = 2;
    EXPECT_TRUE(dlg.AlignTargetKeys());
    std::string acquisition;
    targetMeter.Modify([&](simmeter::MeterState& state) { acquisition = state.acquisition; });
    EXPECT_EQ(acquisition, "STOP");
    Strings lines = targetMeter.Lines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(Strings(lines.begin(), lines.begin() + 4),
              (Strings{"STT:ACQ:RUN", "STT:ACQ:?", "STT:ACQ:STOP", "STT:ACQ:?"}));
    EXPECT_TRUE(InStep(*targetKeys, Meter::Target));
    EXPECT_EQ(host.LogLines().back(), "DUT: Allineamento chiavi OK");
    EXPECT_TRUE(Holds(host.LogLines(), "InitTargetCryp OK: Rst_Key=0 , Key=0"));
    const PortRecord saved = SavedRecord(Meter::Target);
    EXPECT_EQ(saved.m_strSerialNumber, kTargetSerial);
    EXPECT_EQ(saved.m_nErrorCount + saved.m_nResetCount, 0);
    // The 2000 ms of running lies between the start and the stop.
    EXPECT_TRUE(Holds(host.waits, 2000u));
}

TEST_F(BenchTest, AnInstrumentThatWillNotStopIsNotAligned) {
    ServeBothKeys();
    ASSERT_NO_FATAL_FAILURE(ConnectBoth());
    targetMeter.AddResponder(
        [](const std::string& line, simmeter::MeterState& state) -> std::optional<simmeter::Reply> {
            if (line != "STT:ACQ:STOP")
                return std::nullopt;
            state.acquisition = "RUN";
            return simmeter::Text("STT:ACQUISITION:RUN");
        });
    op.ExpectBox("DUT: Verifica strumento in STOP fallita.\nProvare manualmente");
    EXPECT_FALSE(dlg.AlignTargetKeys());
    EXPECT_EQ(host.LogLines().back(), "Impostazione fallita di strumento TARGET in STOP");
    EXPECT_TRUE(targetKeys->Frames().empty());
}

TEST_F(BenchTest, CountersSurviveARestartOfTheBench) {
    ServeBothKeys();
    ASSERT_NO_FATAL_FAILURE(ConnectBoth());
    ASSERT_TRUE(dlg.AlignTargetKeys());
    // The meter loses two answers: the reading fails and counts three errors.
    targetKeys->IgnoreNext();
    targetKeys->IgnoreNext();
    EXPECT_EQ(dlg.TargetInstr_Write_and_Check_CRYPT("KEY:PRN_VAL"), "-1");
    EXPECT_EQ(SavedRecord(Meter::Target).m_nErrorCount, 3);

    // A new bench (the program started again) takes them back for the same meter ...
    PortRecord reference;
    ASSERT_TRUE(LoadPortIni(folder.File("port.ini"), reference, host.target));
    CSoundDlg again(host, tools, instruments);
    again.SetRandomSource([] { return 945; });
    again.Create();
    again.SetTargetSerial(kTargetSerial);
    EXPECT_EQ(again.Bench().target.keyErrors, 3);
    // ... and so resets the keys before its first reading.
    EXPECT_EQ(again.TargetInstr_Write_and_Check_CRYPT("KEY:PRN_VAL"),
              "00:00:00   94.0 - 94.0 - 94.0 -         ");
    EXPECT_TRUE(Holds(host.LogLines(),
                      "TargetInstr_Write_and_Check_CRYPT: DUT  Err 2 < cnt < 4 -> SEQUENZA "
                      "INIZIALIZZAZIONE OK . Rst_Key=0 , Key=0"));
    const auto frames = targetKeys->Frames();
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.back().command, "GETVAL_RND_0945");
    EXPECT_TRUE(std::any_of(frames.begin(), frames.end(),
                            [](const auto& frame) { return frame.resetKey; }));
    EXPECT_EQ(SavedRecord(Meter::Target).m_nErrorCount, 0);

    // Another meter starts afresh.
    again.SetTargetSerial("T999");
    EXPECT_EQ(again.Bench().target.keyErrors, 0);
}

TEST_F(BenchTest, AMeterThatFailedItsAlignmentIsAlignedOnceHealthyAndChargesNoOtherMeter) {
    ServeBothKeys();
    ASSERT_NO_FATAL_FAILURE(ConnectBoth());
    // Another meter was aligned last; then this one's cable comes loose: four resets unheard.
    host.target.m_strSerialNumber = "A100";
    for (int send = 0; send < 4; ++send)
        targetKeys->IgnoreNext();
    op.ExpectBox("DUT INSTR: Errore inizializzazione cifratura - passo1.\n");
    op.ExpectBox("DUT INSTR: Errore inizializzazione cifratura - passo1 secondo tentativo");
    op.ExpectBox("DUT  Instr: Errore di inizializzazione cifratura.");
    EXPECT_FALSE(dlg.AlignTargetKeys());
    EXPECT_EQ(SavedRecord(Meter::Target).m_strSerialNumber, kTargetSerial);
    EXPECT_EQ(SavedRecord(Meter::Target).m_nResetCount, 4);

    // The program starts again with the cable mended: the other meter owes nothing ...
    PortRecord reference;
    ASSERT_TRUE(LoadPortIni(folder.File("port.ini"), reference, host.target));
    CSoundDlg again(host, tools, instruments);
    again.SetRandomSource([] { return 945; });
    again.Create();
    again.SetTargetSerial("A100");
    EXPECT_EQ(again.Bench().target.keyResets, 0);
    // ... and this one, still at the limit, is aligned by its single further reset.
    again.SetTargetSerial(kTargetSerial);
    EXPECT_EQ(again.Bench().target.keyResets, 4);
    const size_t frames = targetKeys->Frames().size();
    EXPECT_TRUE(again.AlignTargetKeys());
    EXPECT_EQ(targetKeys->Frames().size(), frames + 2);
    EXPECT_TRUE(keytest::InStep(again.Bench().target.cipher, *targetKeys));
    EXPECT_EQ(SavedRecord(Meter::Target).m_nResetCount, 0);
    again.DestroyWindow();
}
