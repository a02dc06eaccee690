#include "link/setup_value_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "link/command_table.h"
#include "link/instr_status.h"
#include "link/setup_value_rows.h"

TEST(SetupValueTable, EveryRowIsConsistentWithTheCommandTable) {
    const auto rows = SetupValueRows();
    ASSERT_EQ(rows.size(), 82u);
    std::set<int> queries, setCodes, blocks;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const SetupValueRow& s = rows[static_cast<size_t>(i)];
        EXPECT_EQ(s.value, i);
        EXPECT_NE(s.text == nullptr, s.number == nullptr) << i;
        for (const ReplyRule* rule : {&s.query, &s.altQuery}) {
            if (rule->form == ReplyForm::None)
                continue;
            EXPECT_TRUE(queries.insert(rule->code).second) << i;
            const auto command = FindCommandRow(rule->code);
            ASSERT_TRUE(command) << rule->code;
            EXPECT_TRUE(std::string(command->text).starts_with("SET:")) << rule->code;
        }
        for (int code : {s.setCode, s.altSetCode}) {
            if (code < 0)
                continue;
            EXPECT_TRUE(setCodes.insert(code).second) << i;
            const auto command = FindCommandRow(code);
            ASSERT_TRUE(command) << code;
            EXPECT_TRUE(std::string(command->text).ends_with(":%s")) << code;
        }
        if (s.block >= 0) {
            EXPECT_TRUE(blocks.insert(s.block).second) << i;
        }
        if (s.key) {
            EXPECT_EQ(FindSetupValueByKey(s.key), &s) << s.key;
        }
    }
}

// Value numbers as the link counts them, setup numbers as the setup pages do (two more).
TEST(SetupValueTable, EveryLookupReachesTheSameField) {
    CInstrStatus st;
    struct Spot {
        int value;
        std::string* field;
        int query, offset, minLength, block, setCode;
        const char* name;
    };
    for (const Spot& s : {
             Spot{7, &st.m_strDate, 6, 9, 10, 6, 9, "DATE"},
             Spot{18, &st.m_strIntegrationTime, 24, 21, 22, 16, 57, "INTEGRATION_TIME"},
             Spot{43, &st.m_strShortLeqDatalogger, 201, 22, 0, -1, 202, "SHORTLEQ_DLOGGER"},
             Spot{81, &st.m_strTriggerPrint, 195, 14, 0, -1, 196, "EVN_TRIG_PRINT"},
         }) {
        const SetupValueRow* row = FindSetupValue(s.value);
        ASSERT_TRUE(row) << s.value;
        EXPECT_EQ(st.Text(s.value), s.field) << s.value;
        EXPECT_EQ(st.TextAtSetupNumber(s.value + 2), s.field) << s.value;
        EXPECT_EQ(FindSetupValueBySetupNumber(s.value + 2), row);
        EXPECT_EQ(FindSetupValueByName(s.name), row) << s.name;
        EXPECT_EQ(FindSetupValueByQuery(s.query), row) << s.value;
        EXPECT_EQ(row->query.offset, s.offset) << s.value;
        EXPECT_EQ(row->query.minLength, s.minLength) << s.value;
        EXPECT_EQ(row->block, s.block) << s.value;
        EXPECT_EQ(FindSetupValueBySetCode(s.setCode), row);
    }

    // The values fed by two replies or sent by two commands, or loaded by two keys.
    EXPECT_EQ(FindSetupValueByQuery(206), FindSetupValueBySetupNumber(42));
    EXPECT_EQ(FindSetupValueBySetCode(207), FindSetupValue(40));
    EXPECT_EQ(FindSetupValueByQuery(185), FindSetupValueBySetupNumber(78));
    EXPECT_EQ(FindSetupValueBySetCode(186), FindSetupValue(76));
    EXPECT_EQ(FindSetupValueByQuery(53), FindSetupValueByName("BAUD"));
    EXPECT_EQ(FindSetupValueByKey("EVN_TRIG_EXT_POL"), FindSetupValue(76));
    EXPECT_EQ(FindSetupValueByKey("WIND_SHIELD")->keyUse, CustomKeyUse::LoadOnly);
    EXPECT_EQ(FindSetupValueByKey("NO_SUCH_KEY"), nullptr);

    // The ints: the date-time flag before the values, then datalogging and extended range.
    EXPECT_EQ(st.NumberAtSetupNumber(1), &st.m_nDateTimeFlag);
    EXPECT_EQ(st.NumberAtSetupNumber(54), &st.m_nDataLogging);
    EXPECT_EQ(st.Number(53), &st.m_nExtendedRange);
    EXPECT_EQ(st.Text(52), nullptr);
    EXPECT_EQ(st.Number(0), nullptr);
    for (int outside : {-1, 82, 1000})
        EXPECT_EQ(st.Text(outside), nullptr) << outside;
    for (int outside : {0, 1, 84})
        EXPECT_EQ(st.TextAtSetupNumber(outside), nullptr) << outside;
    EXPECT_EQ(st.NumberAtSetupNumber(0), nullptr);
    EXPECT_EQ(st.GetText(52), "");
}

TEST(InstrStatus, ResetKeepsTheIdentityAndTheFftChoices) {
    CInstrStatus st;
    EXPECT_EQ(st.m_strDate, "2000/01/01");
    EXPECT_EQ(st.m_strIntegrationMode, "SINGLE");
    EXPECT_EQ(st.m_strAutoPowerOff, "-1");
    EXPECT_EQ(st.m_strMemorySize, "-1");
    // Every int starts at 0, the datalogging flag too.
    EXPECT_EQ(*st.NumberAtSetupNumber(1), 0);
    for (int v = 0; v < CInstrStatus::kValueCount; ++v) {
        if (const int* number = st.Number(v)) {
            EXPECT_EQ(*number, 0) << v;
        }
    }

    for (int v = 0; v < CInstrStatus::kValueCount; ++v) {
        if (std::string* text = st.Text(v))
            *text = "x";
        else
            *st.Number(v) = 7;
    }
    st.m_nDateTimeFlag = 1;
    st.Reset();
    EXPECT_EQ(st.m_strModel, "x");
    EXPECT_EQ(st.m_strFftBand, "x");
    EXPECT_EQ(st.m_strStatParam, "x");
    EXPECT_EQ(st.m_strSerialNumber, "");
    // Every read asks the memory size again; until then no size of an earlier meter shows.
    EXPECT_EQ(st.m_strMemorySize, "");
    EXPECT_EQ(st.m_strDate, "2000/01/01");
    EXPECT_EQ(st.m_strDisplayContrast, "0");
    EXPECT_EQ(st.m_nDateTimeFlag + st.m_nDataLogging + st.m_nExtendedRange, 0);
    EXPECT_EQ(st.m_strIntegrationMode, "SINGLE");
    EXPECT_EQ(st.m_strReportTime, "");
}

namespace {

std::vector<int> Codes(SetupOrder order, std::span<const SetupValueRow> rows,
                       const std::string& model, const CInstrStatus* edited = nullptr) {
    std::vector<int> codes;
    for (const OrderStep& step : SetupOrderSteps(order, model, edited, rows))
        codes.push_back(step.code);
    return codes;
}

int PlaceOf(const std::vector<int>& codes, int code) {
    const auto it = std::find(codes.begin(), codes.end(), code);
    return it == codes.end() ? -1 : static_cast<int>(it - codes.begin());
}

}  // namespace

// A setting is one row: the read, a new session's queries and the send take it at its places
// and under its gate, with no list of codes to extend.
TEST(SetupValueTable, ANewRowJoinsEachOrderAtItsPlaceUnderItsGate) {
    using namespace setup_rows;
    std::vector<SetupValueRow> rows(SetupValueRows().begin(), SetupValueRows().end());
    SetupValueRow added = {.name = "NEW",
                           .text = &CInstrStatus::m_strClass,
                           .query = At(900, 10),
                           .setCode = 901,
                           .gate = setup_gate::kQS4160,
                           .read = {ReadQS4160(16)},
                           .session = Session(31),
                           .send = {SendQS4160Logging(5)}};
    rows.push_back(added);

    CInstrStatus edited;
    edited.m_strAutoStore = "OFF";
    for (const char* model : {"QS4160_00$1", "QS4160_L1$1"}) {
        SCOPED_TRACE(model);
        const std::vector<int> read = Codes(SetupOrder::Read, rows, model);
        EXPECT_EQ(PlaceOf(read, 900), PlaceOf(read, 48) + 1);
        const std::vector<int> session = Codes(SetupOrder::Session, rows, model);
        EXPECT_EQ(PlaceOf(session, 900), PlaceOf(session, 129) + 1);
        const std::vector<int> send = Codes(SetupOrder::Send, rows, model, &edited);
        EXPECT_EQ(PlaceOf(send, 901), PlaceOf(send, 81) + 1);
    }
    // Its gate keeps it from the meters that lack it, and from a QS4160 storing automatically.
    EXPECT_EQ(PlaceOf(Codes(SetupOrder::Read, rows, "QS4060_n0$1"), 900), -1);
    EXPECT_EQ(PlaceOf(Codes(SetupOrder::Session, rows, "QS4060_00$1"), 900), -1);
    edited.m_strAutoStore = "ON";
    EXPECT_EQ(PlaceOf(Codes(SetupOrder::Send, rows, "QS4160_00$1", &edited), 901), -1);
}

TEST(SetupValueTable, GatesTestTheModelAndWhenSendingTheEditedSetup) {
    using namespace setup_gate;
    CInstrStatus edited;
    edited.m_strAutoStore = "OFF";
    edited.m_strEventTrigger = "MAN";
    EXPECT_TRUE(SetupGateHolds({}, ""));
    EXPECT_TRUE(SetupGateHolds(kQS4160Reports | kLogging, "QS4160_M0$2", &edited));
    EXPECT_FALSE(SetupGateHolds(kQS4160Reports | kLogging, "QS4160_000$2", &edited));
    // A read knows no edited setup: a gate on it never holds there.
    EXPECT_FALSE(SetupGateHolds(kLogging, "QS4160_M0$2"));
    // Of several triggers any one does; the others of a gate all must.
    EXPECT_TRUE(SetupGateHolds(kLevelTrigger | kManualTrigger, "QS4060_r0", &edited));
    EXPECT_FALSE(SetupGateHolds(kLevelTrigger | kExternalTrigger, "QS4060_r0", &edited));
    EXPECT_FALSE(SetupGateHolds(kReportLetters | kManualTrigger, "QS4060_00", &edited));
    // "j" with "n" reads the octave store twice, but sends it once, as third octaves store.
    EXPECT_TRUE(SetupGateHolds(kOctaveReportLetters | kThirdOctaveReports, "QS4060_nj0"));
    EXPECT_FALSE(SetupGateHolds(kOctaveReportsOnly, "QS4060_nj0"));
    EXPECT_TRUE(SetupGateHolds(kReports, "QS4160_I0") && SetupGateHolds(kReports, "QS4060_K0"));
}

// Every place names a command the row has, each order holds a position once, and only the
// send is gated on the edited setup.
TEST(SetupValueTable, EveryPlaceNamesItsCommandOnce) {
    std::map<std::pair<SetupOrder, int>, std::string> positions;
    for (const SetupValueRow& row : SetupValueRows()) {
        SCOPED_TRACE(row.name);
        auto check = [&](SetupOrder order, const OrderPlace& place) {
            if (place.position == 0)
                return;
            EXPECT_TRUE(positions.emplace(std::pair(order, place.position), row.name).second)
                << place.position << " also " << positions[{order, place.position}];
            if (order == SetupOrder::Send) {
                EXPECT_GE(place.second ? row.altSetCode : row.setCode, 0);
            } else {
                EXPECT_NE((place.second ? row.altQuery : row.query).form, ReplyForm::None);
                EXPECT_FALSE((row.gate | place.gate).Names(setup_gate::kEditedSetup));
            }
        };
        for (const OrderPlace& place : row.read)
            check(SetupOrder::Read, place);
        check(SetupOrder::Session, row.session);
        for (const OrderPlace& place : row.send)
            check(SetupOrder::Send, place);
    }
    // The read ends at the display contrast, whose reply opens the setup sheet.
    const std::vector<int> read = Codes(SetupOrder::Read, SetupValueRows(), "QS4160_L1$1");
    EXPECT_EQ(read.back(), 83);
}
