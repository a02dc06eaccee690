#include "link/port_record.h"

#include <gtest/gtest.h>

#include "support/test_env.h"

TEST(PortIni, RoundTripKeepsSerialsCountersAndVolumesAndForcesTheBaudRate) {
    testenv::ScratchFolder folder;
    PortRecord ref, target;
    ref.m_nComPort = 3;
    ref.m_strSerialNumber = "A1234";
    ref.m_nErrorCount = 2;
    ref.m_nResetCount = 5;
    ref.m_nVolume94dB = 70;
    ref.m_nVolumeTransient106dB = 71;
    ref.m_nVolumeOverload99dB = 72;
    ref.m_nVolumeOverload102dB = 73;
    target.m_nComPort = 12;
    target.m_strSerialNumber = "B77";
    target.m_nErrorCount = 1;
    target.m_nResetCount = 4;
    ASSERT_TRUE(SavePortIni(folder.File("port.ini"), ref, target));

    const std::string text = folder.Read("port.ini");
    EXPECT_NE(text.find("OVELOAD_99DB_INIT_VOL=72\r\n"), std::string::npos);
    EXPECT_NE(text.find("OVELOAD_102DB_INIT_VOL=73\r\n"), std::string::npos);
    EXPECT_EQ(text.rfind("REF_INSTR_COM=3\r\n", 0), 0u);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 12);

    PortRecord r2, t2;
    ASSERT_TRUE(LoadPortIni(folder.File("port.ini"), r2, t2));
    EXPECT_EQ(r2.m_nComPort, 3);
    EXPECT_EQ(r2.m_strSerialNumber, "A1234");
    EXPECT_EQ(r2.m_nErrorCount, 2);
    EXPECT_EQ(r2.m_nResetCount, 5);
    EXPECT_EQ(r2.m_nVolume94dB, 70);
    EXPECT_EQ(r2.m_nVolumeTransient106dB, 71);
    EXPECT_EQ(r2.m_nVolumeOverload99dB, 72);
    EXPECT_EQ(r2.m_nVolumeOverload102dB, 73);
    EXPECT_EQ(t2.m_nComPort, 12);
    EXPECT_EQ(t2.m_strSerialNumber, "B77");
    EXPECT_EQ(t2.m_nErrorCount, 1);
    EXPECT_EQ(t2.m_nResetCount, 4);
    EXPECT_EQ(r2.m_nBaudRate, 38400);
    EXPECT_EQ(t2.m_nBaudRate, 38400);
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

TEST(PortIni, MissingFileChangesNothingButTheVolumes) {
    testenv::ScratchFolder folder;
    PortRecord ref, target;
    ref.m_nComPort = 2;
    ref.m_nVolume94dB = 50;
    EXPECT_FALSE(LoadPortIni(folder.File("port.ini"), ref, target));
    EXPECT_EQ(ref.m_nComPort, 2);
    EXPECT_EQ(ref.m_nBaudRate, 0);
    EXPECT_EQ(ref.m_nVolume94dB, -1);
}

TEST(PortIni, SaveIntoAnUnwritableFolderFailsAndKeepsTheOldFile) {
    testenv::ScratchFolder folder;
    EXPECT_FALSE(SavePortIni(folder.File("missing/port.ini"), {}, {}));
}
