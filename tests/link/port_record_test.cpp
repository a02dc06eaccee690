#include "link/port_record.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/test_env.h"

namespace {

auto Fields(const PortRecord& r) {
    return std::tuple(r.m_nComPort, r.m_nBaudRate, r.m_strSerialNumber, r.m_nErrorCount,
                      r.m_nResetCount, r.m_nVolume94dB, r.m_nVolumeTransient106dB,
                      r.m_nVolumeOverload99dB, r.m_nVolumeOverload102dB);
}

}  // namespace

TEST(PortIni, RoundTripKeepsSerialsCountersAndVolumesAndForcesTheBaudRate) {
    testenv::ScratchFolder folder;
    // Port, baud rate, data and stop bits, parity, spare, serial, errors, resets, volumes.
    PortRecord ref{3, 0, 8, 0, 0, "", "A1234", 2, 5, 70, 71, 72, 73};
    PortRecord target{12, 0, 8, 0, 0, "", "B77", 1, 4, 0, 0, 0, 0};
    ASSERT_TRUE(SavePortIni(folder.File("port.ini"), ref, target));

    const std::string text = folder.Read("port.ini");
    EXPECT_NE(text.find("OVELOAD_99DB_INIT_VOL=72\r\n"), std::string::npos);
    EXPECT_NE(text.find("OVELOAD_102DB_INIT_VOL=73\r\n"), std::string::npos);
    EXPECT_EQ(text.rfind("REF_INSTR_COM=3\r\n", 0), 0u);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 12);

    PortRecord r2, t2;
    ASSERT_TRUE(LoadPortIni(folder.File("port.ini"), r2, t2));
    ref.m_nBaudRate = target.m_nBaudRate = 38400;
    EXPECT_EQ(Fields(r2), Fields(ref));
    EXPECT_EQ(Fields(t2), Fields(target));
}

TEST(PortIni, KeysOutOfStepAreALineOfTheirOwnWhileSet) {
    testenv::ScratchFolder folder;
    PortRecord ref, target;
    target.m_strSerialNumber = "T200";
    target.m_bKeysOutOfStep = true;
    ASSERT_TRUE(SavePortIni(folder.File("port.ini"), ref, target));
    const std::string text = folder.Read("port.ini");
    EXPECT_NE(text.find("TARGET_INSTR_ERR2_CNT=0\r\nTARGET_INSTR_KEYS_OUT_OF_STEP=1\r\n"),
              std::string::npos);
    EXPECT_EQ(text.find("REF_INSTR_KEYS_OUT_OF_STEP"), std::string::npos);

    PortRecord r2, t2;
    ASSERT_TRUE(LoadPortIni(folder.File("port.ini"), r2, t2));
    EXPECT_TRUE(t2.m_bKeysOutOfStep);
    EXPECT_FALSE(r2.m_bKeysOutOfStep);
    // Written again in step, the file no longer names it, and reading it back clears the flag.
    target.m_bKeysOutOfStep = false;
    ASSERT_TRUE(SavePortIni(folder.File("port.ini"), ref, target));
    ASSERT_TRUE(LoadPortIni(folder.File("port.ini"), r2, t2));
    EXPECT_FALSE(t2.m_bKeysOutOfStep);
}

TEST(PortIni, LoadingIgnoresStrangeLinesAndKeepsTheBaudRateFixed) {
    testenv::ScratchFolder folder;
    folder.Write("port.ini",
                 "BAUD=9600\nREF_INSTR_COM=4   \r\nTARGET_INSTR_SN=SN 9\r\n# comment\n\n"
                 "TARGET_INSTR_ERR2_CNT=x\n");
    PortRecord ref, target;
    target.m_nResetCount = 9;
    ASSERT_TRUE(LoadPortIni(folder.File("port.ini"), ref, target));
    EXPECT_EQ(ref.m_nComPort, 4);
    EXPECT_EQ(target.m_strSerialNumber, "SN 9");
    EXPECT_EQ(target.m_nResetCount, 0);
    EXPECT_EQ(ref.m_nBaudRate, 38400);
    EXPECT_EQ(ref.m_nVolume94dB, -1);  // absent volumes read as "not set"
}

TEST(PortIni, AMissingFileChangesNothingButTheVolumesAndAMissingFolderIsNoSave) {
    testenv::ScratchFolder folder;
    PortRecord ref, target;
    ref.m_nComPort = 2;
    ref.m_nVolume94dB = 50;
    EXPECT_FALSE(LoadPortIni(folder.File("port.ini"), ref, target));
    EXPECT_EQ(ref.m_nComPort, 2);
    EXPECT_EQ(ref.m_nBaudRate, 0);
    EXPECT_EQ(ref.m_nVolume94dB, -1);
    EXPECT_FALSE(SavePortIni(folder.File("missing/port.ini"), ref, target));
}
