// The direct exchange on an in-memory port and a manual clock: a reply that ends at its ETX
// ends the exchange then, a silent meter is bounded by the time-out, refusals and silences are
// sent again, and the protocol's fixed waits are kept whole.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/direct_exchange.h"
#include "link/identity_replies.h"
#include "link/link_fakes.h"
#include "link/link_reply_state.h"

using namespace linktest;

namespace {

class DirectExchangeTest : public ::testing::Test {
protected:
    ManualClock clock;
    FakePort port{clock};
    LinkReplyState shared;
    std::vector<unsigned> pumpingWaits;
    DirectExchange exchange{shared, clock, [this](unsigned ms) {
                                pumpingWaits.push_back(ms);
                                clock.AdvanceTo(clock.Now() + ms);
                            }};
};

ExchangeRequest FixedWaits(const std::string& text, unsigned waitMs, int reads) {
    ExchangeRequest request;
    request.text = text;
    request.waits = ExchangeRequest::Waits::Fixed;
    request.waitMs = waitMs;
    request.reads = reads;
    return request;
}

}  // namespace

TEST_F(DirectExchangeTest, AReplyEndsTheExchangeWhenItsEtxArrives) {
    shared.receiveEnabled = TRUE;
    port.Expect("SET:PROT:CERT_DATE:?", "SET:PROT:CERT_", 30)
        .Arrive("DATE:2024/03/01\x03", 45);  // the rest of it, 15 ms later
    const auto reply =
        exchange.Exchange(port, ExchangeRequest::Query("SET:PROT:CERT_DATE:?", 1000, 3));
    EXPECT_EQ(reply, "SET:PROT:CERT_DATE:2024/03/01\x03");
    EXPECT_EQ(port.Transcript(), (Lines{"0 >> SET:PROT:CERT_DATE:?", "30 << SET:PROT:CERT_",
                                        "45 << DATE:2024/03/01"}));
    // The listener was paused for it, and nothing waited longer than the meter took.
    EXPECT_FALSE(shared.receiveEnabled);
    EXPECT_EQ(clock.Now(), 45u);
    EXPECT_TRUE(pumpingWaits.empty());
}

TEST_F(DirectExchangeTest, SilenceAndRefusalsAreSentAgainWithinTheirBound) {
    port.Expect("SET:INS:?", "\x15\x03", 10);
    Lines failed;
    ExchangeRequest request = ExchangeRequest::Query("SET:INS:?", 1000, 3);
    request.onFailedAttempt = [&](const std::string& reply) {
        failed.push_back(reply);
        return true;
    };
    EXPECT_EQ(exchange.Exchange(port, request), std::nullopt);
    // A refusal ends its attempt at once; a silent one waits its second.
    EXPECT_EQ(port.Transcript(),
              (Lines{"0 >> SET:INS:?", "10 << \x15", "10 >> SET:INS:?", "1010 >> SET:INS:?"}));
    EXPECT_EQ(failed, (Lines{"\x15\x03", "", ""}));
    EXPECT_EQ(clock.Now(), 2010u);
    EXPECT_EQ(port.purges, 3);

    // An answer after its attempt's time-out counts for nothing; the next attempt's does.
    port.Expect("SET:INS:?", "SET:INSTR_MODEL:QS4060\x03", 1500)
        .Expect("SET:INS:?", "SET:INSTR_MODEL:QS4060KRTN\x03", 20);
    EXPECT_EQ(exchange.Exchange(port, ExchangeRequest::Query("SET:INS:?", 1000, 3)),
              "SET:INSTR_MODEL:QS4060KRTN\x03");
}

TEST_F(DirectExchangeTest, ALateAnswerReadWithTheNextAttemptsIsLeftOut) {
    // The first answer comes after its attempt's time-out and the purge of the second attempt,
    // in the same read as the second answer.
    port.Expect("SET:INS:?", "SET:INSTR_MODEL:QS4060\x03", 1005)
        .Expect("SET:INS:?", "SET:INSTR_MODEL:QS4060KRTN\x03", 5);
    EXPECT_EQ(exchange.Exchange(port, ExchangeRequest::Query("SET:INS:?", 1000, 3)),
              "SET:INSTR_MODEL:QS4060KRTN\x03");
    EXPECT_EQ(port.Written(), (Lines{"SET:INS:?", "SET:INS:?"}));

    // A late refusal does not refuse the answer that came with it, nor does a reply's beginning
    // after it count.
    port.Expect("SET:INS:?", "\x15\x03", 1005)
        .Expect("SET:INS:?", "SET:INSTR_MODEL:QS4060KRTN\x03SET:INS", 5);
    EXPECT_EQ(exchange.Exchange(port, ExchangeRequest::Query("SET:INS:?", 1000, 3)),
              "SET:INSTR_MODEL:QS4060KRTN\x03");
}

TEST_F(DirectExchangeTest, AnExchangeStopsWhenItsCallerSaysSo) {
    ExchangeRequest request = ExchangeRequest::Query("STT:ACQ:STOP", 250, 3);
    int asked = 0;
    request.mayGoOn = [&] { return ++asked < 2; };
    EXPECT_EQ(exchange.Exchange(port, request), std::nullopt);
    EXPECT_EQ(port.Written(), (Lines{"STT:ACQ:STOP", "STT:ACQ:STOP"}));

    request.mayGoOn = nullptr;
    request.onFailedAttempt = [](const std::string&) { return false; };
    port.ClearTranscript();
    EXPECT_EQ(exchange.Exchange(port, request), std::nullopt);
    EXPECT_EQ(port.Written(), Lines{"STT:ACQ:STOP"});
}

TEST_F(DirectExchangeTest, FixedWaitsAreKeptWholeAndAReplyInPiecesIsJoined) {
    // Every read that brought bytes is followed by another whole wait, up to the limit.
    port.Expect("KEY:EXEC:80:frame", "0123456789", 100).Arrive("abcdefghij\x03", 6000);
    const auto reply = exchange.Exchange(port, FixedWaits("KEY:EXEC:80:frame\r\n", 5000, 4));
    EXPECT_EQ(reply, "0123456789abcdefghij\x03");
    EXPECT_EQ(pumpingWaits, (std::vector<unsigned>{5000, 5000, 5000}));
    EXPECT_EQ(port.Transcript(),
              (Lines{"0 >> KEY:EXEC:80:frame", "5000 << 0123456789", "10000 << abcdefghij"}));

    // A refusal ends the reads at once; a meter that never stops is cut at the limit.
    pumpingWaits.clear();
    port.Expect("KEY:EXEC:80:frame", "\x15\x03");
    EXPECT_EQ(exchange.Exchange(port, FixedWaits("KEY:EXEC:80:frame\r\n", 5000, 4)), std::nullopt);
    EXPECT_EQ(pumpingWaits, std::vector<unsigned>{5000});
    for (unsigned at = 1000; at < 40000; at += 1000)
        port.Arrive("x", at);
    EXPECT_EQ(exchange.Exchange(port, FixedWaits("KEY:EXEC:80:frame\r\n", 5000, 4))->size(), 20u);
}

TEST_F(DirectExchangeTest, AfterAResendTheLineStaysQuietForTheLateAnswer) {
    // The first answer comes late and stands for both sends; the second send's comes after it.
    port.Expect("SET:INSTR_V:?", "SET:INSTR_VERSION:V1.05.02\x03", 1500)
        .Expect("SET:INSTR_V:?", "SET:INSTR_VERSION:V1.05.02\x03", 800)
        .Expect("SET:INSTR_N:?", "SET:INSTR_NUMBER:A1\x03", 10);
    EXPECT_EQ(exchange.Exchange(port, ExchangeRequest::Query("SET:INSTR_V:?", 1000, 3)),
              "SET:INSTR_VERSION:V1.05.02\x03");
    // Quiet for as long as the sends took and one time-out, then purged.
    EXPECT_EQ(exchange.Exchange(port, ExchangeRequest::Query("SET:INSTR_N:?", 1000, 3)),
              "SET:INSTR_NUMBER:A1\x03");
    EXPECT_EQ(port.Transcript(), (Lines{"0 >> SET:INSTR_V:?", "1000 >> SET:INSTR_V:?",
                                        "1500 << SET:INSTR_VERSION:V1.05.02",
                                        "3500 >> SET:INSTR_N:?", "3510 << SET:INSTR_NUMBER:A1"}));
    EXPECT_EQ(pumpingWaits, std::vector<unsigned>{2000});

    // Another port's line is not kept quiet by this one's.
    FakePort other{clock};
    other.Expect("SET:INSTR_N:?", "SET:INSTR_NUMBER:B2\x03", 10);
    const std::uint32_t now = clock.Now();
    // Silent: given up, and quiet for one time-out.
    EXPECT_EQ(exchange.Exchange(port, ExchangeRequest::Query("SET:INSTR_V:?", 1000, 1)),
              std::nullopt);
    EXPECT_EQ(exchange.Exchange(other, ExchangeRequest::Query("SET:INSTR_N:?", 1000, 1)),
              "SET:INSTR_NUMBER:B2\x03");
    EXPECT_EQ(clock.Now(), now + 1010);
}

TEST_F(DirectExchangeTest, AnAnswerNamingAnOverdueFieldIsNeverTakenForAnotherQuery) {
    // Given up, and answered only after the quiet, in the next query's time.
    port.Expect("SET:INSTR_V:?", "SET:INSTR_VERSION:V1.05.02\x03", 2500)
        .Expect("SET:INSTR_N:?", "SET:INSTR_NUMBER:A1\x03", 700);
    EXPECT_EQ(exchange.Exchange(port, ExchangeRequest::Query("SET:INSTR_V:?", 1000, 1)),
              std::nullopt);
    EXPECT_EQ(exchange.Exchange(port, ExchangeRequest::Query("SET:INSTR_N:?", 1000, 1)),
              "SET:INSTR_NUMBER:A1\x03");
    EXPECT_EQ(clock.Now(), 2700u);

    // Alone in its time, it leaves the query unanswered; its own field's query takes it.
    port.Expect("STT:ACQ:?", "SET:INSTR_VERSION:V1.05.02\x03", 10)
        .Expect("SET:INSTR_V:?", "SET:INSTR_VERSION:V1.05.02\x03", 10);
    EXPECT_EQ(exchange.Exchange(port, ExchangeRequest::Query("STT:ACQ:?", 1000, 1)), std::nullopt);
    EXPECT_EQ(exchange.Exchange(port, ExchangeRequest::Query("SET:INSTR_V:?", 1000, 1)),
              "SET:INSTR_VERSION:V1.05.02\x03");
}

TEST_F(DirectExchangeTest, ACopyOfAnEarlierAnswerIsSkippedForTheReplyThatCarriesTheKey) {
    // A meter that sends every answer twice, the copy after the next send: another protected
    // field's answer echoes "SET:PROT" as this one's does. Alone, a copy is no answer.
    ExchangeRequest query = ExchangeRequest::Query("SET:PROT:CALIB_CERT_DATE:?", 1000, 1);
    query.replyKey = "SET:PROT:CALIB_CERT_DATE:";
    port.Expect("SET:PROT:CALIB_CERT_DATE:?", "SET:PROT:CALIB_CERT_DATE:2024/03/02\x03", 40)
        .Arrive("SET:PROT:CERT_DATE:2024/03/01\x03", 10);
    EXPECT_EQ(exchange.Exchange(port, query), "SET:PROT:CALIB_CERT_DATE:2024/03/02\x03");
    port.Expect("SET:PROT:CALIB_CERT_DATE:?", "SET:PROT:MAKER:Corvanex\x03", 10);
    EXPECT_EQ(exchange.Exchange(port, query), std::nullopt);

    // An enciphered frame's reply echoes no field: whatever does is left out before it.
    port.Expect("KEY:EXEC:80:one",
                "SET:PROT:MAKER:Corvanex\x03"
                "0123\x03",
                10);
    ExchangeRequest frame = FixedWaits("KEY:EXEC:80:one\r\n", 100, 4);
    frame.replyKey = "";
    EXPECT_EQ(exchange.Exchange(port, frame), "0123\x03");
}

TEST_F(DirectExchangeTest, AQueryThatIsNoIdentityQueryNamesNoKeyAndTakesItsEcho) {
    // The class query's reply echoes its field; no identity key is known for it, and none is
    // the empty key of a reply that echoes nothing, which would skip it.
    ExchangeRequest query = ExchangeRequest::Query("SET:CLASS:?", 1000, 1);
    query.replyKey = IdentityReplyKey(205);
    port.Expect("SET:CLASS:?", "SET:CLASS:1\x03", 10);
    EXPECT_EQ(exchange.Exchange(port, query), "SET:CLASS:1\x03");
}

TEST_F(DirectExchangeTest, KeyFramesThatEchoNothingWaitOnlyForTheQuiet) {
    // A silent frame, then one refused and sent again: only silence leaves a late answer.
    port.Expect("KEY:EXEC:80:one", "0123\x03", 6000)
        .Expect("KEY:EXEC:80:two", "\x15\x03", 10)
        .Expect("KEY:EXEC:80:two", "4567\x03", 10);
    EXPECT_EQ(exchange.Exchange(port, FixedWaits("KEY:EXEC:80:one\r\n", 5000, 1)), std::nullopt);
    ExchangeRequest twice = FixedWaits("KEY:EXEC:80:two\r\n", 5000, 1);
    twice.attempts = 2;
    EXPECT_EQ(exchange.Exchange(port, twice), "4567\x03");
    EXPECT_EQ(port.Transcript(),
              (Lines{"0 >> KEY:EXEC:80:one", "10000 >> KEY:EXEC:80:two", "15000 << \x15",
                     "15000 >> KEY:EXEC:80:two", "20000 << 4567"}));
    EXPECT_EQ(exchange.Exchange(port, FixedWaits("KEY:EXEC:80:one\r\n", 5000, 1)), std::nullopt);
    EXPECT_EQ(port.Transcript().back(), "20000 >> KEY:EXEC:80:one");
}
