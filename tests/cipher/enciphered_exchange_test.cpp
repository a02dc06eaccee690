#include "cipher/enciphered_exchange.h"

#include <gtest/gtest.h>

#include "cipher/enciphered_command.h"
#include "keyed_meters.h"
#include "link/serial_wnd.h"
#include "platform/messages.h"
#include "platform/text.h"

using namespace cipher;
using keytest::Commands;
using keytest::Strings;

namespace {

constexpr const char* kTargetNull = "DUT  crypt: receive NULL -> Repeat command";
constexpr const char* kTargetNak = "DUT  crypt: receive NAK -> Repeat command";
constexpr const char* kTargetFinal = "TARGET: Start crypt command: increase error";

// The bench holds the same key data as the meters.
class EncipheredExchangeTest : public keytest::KeyedMetersTest {
protected:
    EncipheredExchangeTest() : KeyedMetersTest(101, 202) { LoadKeys(); }

    void LoadKeys() {
        bench.reference.cipher.Load(referenceKeyData.resetKeystream, referenceKeyData.state);
        bench.target.cipher.Load(targetKeyData.resetKeystream, targetKeyData.state);
    }

    void Restart() {
        services.waits.clear();
        services.logs.clear();
        services.fields.clear();
    }

    EncipheredExchange exchange{bench, services};
};

}  // namespace

TEST_F(EncipheredExchangeTest, NewKeysAndUnlockAreConfirmedAndKeepBothSidesInStep) {
    services.randoms = {945, 4095 + 17, 0, 0};
    EXPECT_TRUE(exchange.TargetNewKey());
    EXPECT_TRUE(exchange.RefNewKey());
    // A first draw of 0 is drawn again, once; a second 0 is sent as it is.
    EXPECT_EQ(exchange.UnlockTargetCryp(), "1");

    EXPECT_EQ(services.logs, (Strings{"TARGET : TargetNewKey", "REF : RefNewKey"}));
    // Each reply is read, then one more wait finds nothing more.
    EXPECT_EQ(services.waits, (std::vector<unsigned>(6, 5000)));
    EXPECT_EQ(Commands(*targetKeys), (Strings{"NEWKEY_RND_0945", "PWDPRT_RND_0000"}));
    EXPECT_EQ(Commands(*referenceKeys), Strings{"NEWKEY_RND_0017"});
    EXPECT_TRUE(InStep(*targetKeys, Meter::Target));
    EXPECT_TRUE(InStep(*referenceKeys, Meter::Reference));
    EXPECT_EQ(bench.target.keyErrors + bench.reference.keyErrors, 0);
    // On the wire: the prefix and twenty symbols (the line end taken off).
    EXPECT_EQ(targetMeter.Lines().at(0).substr(0, 12), "KEY:EXEC:80:");
    EXPECT_EQ(targetMeter.Lines().at(0).size(), 32u);
}

TEST_F(EncipheredExchangeTest, ReadingsCarryTheMetersLevelsToTheTextAndTheFields) {
    targetKeys->SetTargetReading("094509460947A_z");
    referenceKeys->SetReferenceReading("94.253");
    EXPECT_EQ(exchange.TargetGetValCrypt(), "00:00:00   94.5 - 94.6 - 94.7 - A_z     ");
    EXPECT_EQ(exchange.RefGetExtCrypt(), "00:00:00   94.25;0.0;0.0; ");

    EXPECT_EQ(services.fields[Meter::Target],
              (std::map<int, std::string>{{0, "94.5"}, {1, "94.6"}, {2, "94.7"}}));
    EXPECT_EQ(services.fields[Meter::Reference],
              (std::map<int, std::string>{{0, ""}, {1, "94.25"}, {2, ""}}));
    EXPECT_EQ(services.waits, (std::vector<unsigned>{5000, 5000, 3000, 3000}));
    EXPECT_TRUE(services.logs.empty());
    EXPECT_EQ(Commands(*targetKeys), Strings{"GETVAL_RND_0945"});
    EXPECT_EQ(Commands(*referenceKeys), Strings{"GETEXT_RND_0945"});
    EXPECT_TRUE(InStep(*targetKeys, Meter::Target));

    // Fields that are not numbers are not refused; the decoded text goes to the log.
    Restart();
    targetKeys->SetTargetReading(
        "09x5\x01\x02\x03\x04"
        "09470_I");
    referenceKeys->SetReferenceReading("--.---");
    EXPECT_EQ(exchange.TargetGetValCrypt(), "00:00:00   0.9 - 0.0 - 94.7 - 0_I     ");
    EXPECT_EQ(exchange.RefGetExtCrypt(), "00:00:00   0.00;0.0;0.0; ");
    EXPECT_EQ(services.logs,
              (Strings{"DUT  crypt: reading not numeric: 09x5\\x01\\x02\\x03\\x0409470_I     ",
                       "REF  crypt command: reading not numeric: --.---              "}));
    EXPECT_EQ(services.fields[Meter::Target][0], "0.9");
    EXPECT_EQ(bench.target.keyErrors + bench.reference.keyErrors, 0);
}

TEST_F(EncipheredExchangeTest, RefusalIsSentAgainWithTheSameChallengeAndCounted) {
    targetKeys->RefuseNext();
    targetKeys->SetTargetReading("094009410942xyz");
    EXPECT_EQ(exchange.TargetGetValCrypt(), "00:00:00   94.0 - 94.1 - 94.2 - xyz     ");
    EXPECT_EQ(services.logs, Strings{kTargetNak});
    // A refusal ends the reading at once; the pause follows.
    EXPECT_EQ(services.waits, (std::vector<unsigned>{5000, 2000, 5000, 5000}));
    EXPECT_EQ(bench.target.keyErrors, 1);
    EXPECT_EQ(Commands(*targetKeys), (Strings{"GETVAL_RND_0945", "GETVAL_RND_0945"}));

    // The reference meter refusing both: no closing log, three errors on its own counter.
    Restart();
    referenceKeys->RefuseNext();
    referenceKeys->RefuseNext();
    EXPECT_EQ(exchange.RefGetExtCrypt(), "-1");
    EXPECT_EQ(services.logs, (Strings{"REF  crypt command : receive NAK -> Repeat command",
                                      "REF  crypt command : receive NAK -> Repeat command"}));
    EXPECT_EQ(services.waits, (std::vector<unsigned>{3000, 2000, 3000, 2000}));
    EXPECT_EQ(bench.reference.keyErrors, 3);
    EXPECT_EQ(bench.target.keyErrors, 1);
    EXPECT_TRUE(services.fields[Meter::Reference].empty());

    // A new key refused twice is refused, with no pause and no count.
    Restart();
    targetKeys->RefuseNext();
    targetKeys->RefuseNext();
    EXPECT_FALSE(exchange.TargetNewKey());
    EXPECT_EQ(services.logs,
              (Strings{"TARGET : TargetNewKey",
                       "DUT : TargetNewKey (NEWKEY_RND_) receive NAK -> Repeat command",
                       "DUT : TargetNewKey (NEWKEY_RND_) receive NAK -> Repeat command"}));
    EXPECT_EQ(services.waits, (std::vector<unsigned>{5000, 5000}));
    EXPECT_EQ(bench.target.keyErrors, 1);
    EXPECT_TRUE(InStep(*targetKeys, Meter::Target));
}

TEST_F(EncipheredExchangeTest, SilentMeterCostsTwoAttemptsAndThreeErrors) {
    targetKeys->IgnoreNext();
    targetKeys->IgnoreNext();
    EXPECT_EQ(exchange.TargetGetValCrypt(), "-1");
    EXPECT_EQ(services.logs, (Strings{kTargetNull, kTargetNull, kTargetFinal}));
    EXPECT_EQ(services.waits, (std::vector<unsigned>{5000, 2000, 5000, 2000}));
    EXPECT_EQ(bench.target.keyErrors, 3);
    EXPECT_TRUE(services.fields.empty());

    Restart();
    referenceKeys->IgnoreNext();
    referenceKeys->IgnoreNext();
    EXPECT_FALSE(exchange.RefNewKey());
    EXPECT_EQ(
        services.logs,
        (Strings{"REF : RefNewKey", "REF : RefNewKey (NEWKEY_RND_)receive NULL -> Repeat command",
                 "REF : RefNewKey (NEWKEY_RND_)receive NULL -> Repeat command"}));
    EXPECT_EQ(bench.reference.keyErrors, 0);

    // Neither side advanced on an unanswered frame: the next exchange goes through.
    Restart();
    EXPECT_EQ(exchange.UnlockTargetCryp(), "1");
    EXPECT_TRUE(exchange.RefNewKey());
}

TEST_F(EncipheredExchangeTest, ShortReplyAdvancesBothSidesAndFailsTheConfirmation) {
    targetKeys->CutAnswerNext(12);
    EXPECT_EQ(exchange.UnlockTargetCryp(), "-1");
    EXPECT_TRUE(services.logs.empty());
    EXPECT_EQ(bench.target.keyErrors, 0);
    EXPECT_TRUE(InStep(*targetKeys, Meter::Target));

    referenceKeys->CutAnswerNext(19);
    EXPECT_FALSE(exchange.RefNewKey());
    EXPECT_EQ(services.logs, (Strings{"REF : RefNewKey", "REF : RefNewKey : decoded failed"}));
    EXPECT_TRUE(InStep(*referenceKeys, Meter::Reference));

    Restart();
    referenceKeys->CutAnswerNext(5);
    EXPECT_EQ(exchange.RefGetExtCrypt(), "-1");
    ASSERT_EQ(services.logs.size(), 1u);
    EXPECT_TRUE(platform::StartsWith(services.logs[0], "REF  crypt command: reply too short: "));
    EXPECT_EQ(bench.reference.keyErrors, 1);

    EXPECT_EQ(exchange.UnlockTargetCryp(), "1");
    EXPECT_TRUE(exchange.RefNewKey());
}

TEST_F(EncipheredExchangeTest, LostReplyLeavesTheMeterOutOfStepUntilAKeyReset) {
    targetKeys->DropAnswerNext();
    // The meter advanced on the first frame and cannot read the repeated one with its new keys.
    EXPECT_EQ(exchange.UnlockTargetCryp(), "-1");
    EXPECT_EQ(services.logs, (Strings{kTargetNull, kTargetNak, kTargetFinal}));
    EXPECT_EQ(bench.target.keyErrors, 3);
    EXPECT_EQ(Commands(*targetKeys), (Strings{"PWDPRT_RND_0945", "?"}));

    // Out of step, every exchange fails.
    Restart();
    EXPECT_EQ(exchange.TargetGetValCrypt(), "-1");
    EXPECT_EQ(bench.target.keyErrors, 6);
    EXPECT_FALSE(exchange.TargetNewKey());
    EXPECT_EQ(services.logs.back(),
              "DUT : TargetNewKey (NEWKEY_RND_) receive NAK -> Repeat command");
    EXPECT_FALSE(InStep(*targetKeys, Meter::Target));

    // A key reset under the reset keystream brings both back to the key data.
    LoadKeys();
    const int challenge = 321;
    bool stopped = false;
    const auto answer = services.Exchange(
        Meter::Target, exchange.FrameRequest(Meter::Target,
                                             CommandFrame(bench.target.cipher,
                                                          CommandText(kResetKeyKeyword, challenge),
                                                          CipherKey::ResetKeystream),
                                             {5000, 100, false, {}, {}}, stopped));
    ASSERT_TRUE(answer);
    const std::string reply = *answer;
    bench.target.cipher.Advance(challenge);
    const auto decoded = DecodeReply(bench.target.cipher, reply);
    ASSERT_TRUE(decoded);
    EXPECT_TRUE(EncipheredExchange::Confirms(*decoded, challenge));
    EXPECT_TRUE(targetKeys->Frames().back().resetKey);
    EXPECT_EQ(targetKeys->Frames().back().command, "RSTKEY_RND_0321");
    EXPECT_TRUE(InStep(*targetKeys, Meter::Target));
    EXPECT_EQ(exchange.UnlockTargetCryp(), "1");
}

TEST_F(EncipheredExchangeTest, AbortEndsTheExchangeAtTheNextWaitWithoutLog) {
    services.onWait = [&](int) { bench.abortRequested = true; };
    EXPECT_EQ(exchange.TargetGetValCrypt(), "-1");
    EXPECT_FALSE(exchange.RefNewKey());
    EXPECT_EQ(services.logs, Strings{"REF : RefNewKey"});
    EXPECT_EQ(services.waits, (std::vector<unsigned>{5000, 5000}));
    EXPECT_EQ(bench.target.keyErrors + bench.reference.keyErrors, 0);

    // Raised during the pause after a silent attempt: that attempt is counted, nothing more.
    Restart();
    bench.abortRequested = false;
    targetKeys->IgnoreNext();
    services.onWait = [&](int wait) {
        if (wait == 2)
            bench.abortRequested = true;
    };
    EXPECT_EQ(exchange.UnlockTargetCryp(), "-1");
    EXPECT_EQ(services.waits, (std::vector<unsigned>{5000, 2000}));
    EXPECT_EQ(services.logs, Strings{kTargetNull});
    EXPECT_EQ(bench.target.keyErrors, 1);
}

TEST_F(EncipheredExchangeTest, WindowsOrPortGoneEndTheCheckedExchanges) {
    services.windows = false;
    EXPECT_EQ(exchange.TargetGetValCrypt(), "-1");
    EXPECT_EQ(exchange.RefGetExtCrypt(), "-1");
    EXPECT_EQ(exchange.UnlockTargetCryp(), "-1");
    EXPECT_TRUE(services.waits.empty());
    EXPECT_EQ(targetMeter.LineCount() + referenceMeter.LineCount(), 0u);

    // Closed while the bench waited for the reply.
    services.windows = true;
    services.onWait = [&](int) { services.windows = false; };
    EXPECT_EQ(exchange.TargetGetValCrypt(), "-1");
    EXPECT_EQ(exchange.RefGetExtCrypt(), "-1");
    EXPECT_EQ(services.logs, Strings{"err1"});

    Restart();
    services.windows = true;
    services.onWait = [&](int) { targetPort.Close(); };
    EXPECT_EQ(exchange.UnlockTargetCryp(), "-1");
    EXPECT_EQ(services.logs, Strings{"err2"});
    EXPECT_EQ(bench.target.keyErrors + bench.reference.keyErrors, 0);

    // The new key makes no such checks; without a port it fails at once.
    Restart();
    services.targetPort = nullptr;
    EXPECT_FALSE(exchange.TargetNewKey());
    EXPECT_EQ(services.logs, Strings{"TARGET : TargetNewKey"});
}

namespace {

class IgnoringOwner : public platform::MessageTarget {
public:
    void OnMessage(unsigned, std::uintptr_t, std::intptr_t) override { ++messages; }
    int messages = 0;
};

}  // namespace

TEST_F(EncipheredExchangeTest, ListenerOfThePortLeavesTheReplyToTheExchange) {
    targetPort.Close();
    const auto link = services.shared;
    IgnoringOwner owner;
    CSerialMFC listened(link, 3);
    ASSERT_EQ(listened.Open(targetMeter.SlavePath(), &owner, 0, 0, 2048, 2048), 0);
    ASSERT_EQ(listened.Setup(38400), 0);
    link->SetCurrentReader(3);
    link->receiveEnabled = TRUE;
    services.targetPort = &listened;

    targetKeys->SetTargetReading("094509460947abc");
    EXPECT_EQ(exchange.TargetGetValCrypt(), "00:00:00   94.5 - 94.6 - 94.7 - abc     ");
    EXPECT_FALSE(link->receiveEnabled);
    EXPECT_EQ(owner.messages, 0);
}
