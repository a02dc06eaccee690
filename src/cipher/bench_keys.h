#pragma once
// Everything the verification bench window does with the meters' keys, in one place: the
// enciphered exchanges, the key initialisation, the key alignment and the readings with their
// key upkeep. The window's methods of the same names forward here.

#include <string>

#include "cipher/enciphered_exchange.h"
#include "cipher/key_alignment.h"
#include "cipher/key_initialisation.h"
#include "cipher/reading_upkeep.h"

namespace cipher {

class BenchKeys {
public:
    BenchKeys(BenchState& bench, BenchExchangeHost& host, KeyHost& keys)
        : m_bench(bench),
          m_host(host),
          m_keys(keys),
          m_exchange(bench, host),
          m_initialisation(bench, host, keys, m_exchange),
          m_readings(bench, host, keys, m_exchange, m_initialisation) {}
    BenchKeys(const BenchKeys&) = delete;
    BenchKeys& operator=(const BenchKeys&) = delete;

    EncipheredExchange& Exchange() { return m_exchange; }

    bool InitRefCrypt() { return m_initialisation.InitRefCrypt(); }
    bool InitTargetCrypt() { return m_initialisation.InitTargetCrypt(); }
    bool AlignTargetKeys() {
        return cipher::AlignTargetKeys(m_bench, m_host, m_keys, m_initialisation);
    }
    std::string RefInstr_Write_and_Check_CRYPT(const std::string& command) {
        return m_readings.RefInstr_Write_and_Check_CRYPT(command);
    }
    std::string TargetInstr_Write_and_Check_CRYPT(const std::string& command) {
        return m_readings.TargetInstr_Write_and_Check_CRYPT(command);
    }

private:
    BenchState& m_bench;
    BenchExchangeHost& m_host;
    KeyHost& m_keys;
    EncipheredExchange m_exchange;
    KeyInitialisation m_initialisation;
    ReadingUpkeep m_readings;
};

}  // namespace cipher
