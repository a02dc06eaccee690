#include "link/command_table.h"

#include <algorithm>
#include <initializer_list>
#include <tuple>

#include "link/command_table_builder.h"

using Arg = CommandArgument;

void AddProgramCommands(CommandTableBuilder& t) {
    t.Read(0, "INSTR_M", 3000);
    t.Read(1, "INSTR_N", 1000);
    t.Read(2, "INSTR_V", 1000);
    t.Read(3, "MIC_M", 3000);
    t.Read(4, "MIC_T", 1000);
    t.Read(5, "MIC_N", 1000);
    t.Read(6, "DATE", 1000);
    t.Write(9, "DATE", Arg::Second, 1000);
    t.Read(7, "TIME", 1000);
    t.Write(10, "TIME", Arg::Second, 1000);
    t.Read(16, "MEM_S");
    t.Pairs(17, 50, 1, Arg::Second,
            {"AUTO_P",     "IN_CH",         "DA_O",        "BAUD",   "INPUT_G",   "PROFILE_T",
             "SPECTRUM_T", "INTEGRATION_T", "ERASE_T",     "EXCH",   "DOSE_T",    "CRIT",
             "OVER",       "1_PERC",        "2_PERC",      "3_PERC", "4_PERC",    "1_SLM",
             "2_SLM",      "3_SLM",         "4_SLM",       "5_SLM",  "PROFILE_P", "SPECT_AUX",
             "SPECT_T",    "SPECT_MEAN",    "SPECT_MEAN_W"});
    t.Read(44, "SPECT_SHIFT");
    t.Pairs(45, 78, 1, Arg::Second, {"PROF_D", "SLM_D", "OCT_D", "TOCT_D", "CAL_L"});
    t.Pairs(83, 84, 1, Arg::Second, {"DISP_C"});
    t.Pairs(88, 89, 1, Arg::Second, {"WND"});
    t.Pairs(90, 91, 1, Arg::Second, {"MIC_CORR"});
    t.Pairs(92, 93, 1, Arg::Second, {"AMB_MIC_CORR"});
    t.Read(94, "MIC_CT");
    t.Read(120, "OPTIONS");
    t.Read(121, "EXT_RNG");
    t.Read(127, "INT_MODE");
    t.Write(128, "INT_MODE", Arg::SecondHead);
    t.Pairs(129, 130, 1, Arg::Second, {"AUTO_STORE"});
    t.Read(136, "PROT_CODE");
    t.Pairs(143, 144, 1, Arg::First, {"REPORT_TIME"});
    t.Pairs(
        145, 146, 2, Arg::First,
        {"1_REP_PAR",    "2_REP_PAR", "3_REP_PAR",      "4_REP_PAR",  "5_REP_PAR",   "REP_PAR",
         "REP_OCT",      "REP_TOCT",  "REP_STAT",       "1_EVN_PAR",  "2_EVN_PAR",   "3_EVN_PAR",
         "4_EVN_PAR",    "5_EVN_PAR", "EVN_PAR",        "EVN_OCT",    "EVN_TOCT",    "EVN_STAT",
         "EVN_TRIG",     "EVN_POL",   "EVN_TRGEXT_POL", "EVN_ON_LEV", "EVN_OFF_LEV", "EVN_ON_TIME",
         "EVN_OFF_TIME", "EVN_PRINT", "FFT_BAND",       "STAT_PAR"});
    t.Pairs(201, 202, 1, Arg::Second, {"LEQ_SHORT_D"});
    t.Pairs(203, 204, 1, Arg::Second, {"FFT_D"});
    t.Read(205, "CLASS");
    t.Pairs(206, 207, 1, Arg::First, {"SLM+PROF"});

    const std::initializer_list<std::tuple<int, const char*, int, Arg>> others = {
        {11, "STT:ACQ:?", 2000, Arg::None},
        {12, "KEY:RUN", 2000, Arg::None},
        {85, "KEY:DATA_LOG", 2000, Arg::None},
        {86, "STT:ACQ:STOP", 2000, Arg::None},
        {87, "KEY:ENTER", 2000, Arg::None},
        {95, "STT:MON:%s", 2000, Arg::First},
        {96, "STT:MON:ON", 2000, Arg::None},
        {97, "STT:MON:OFF", 2000, Arg::None},
        {98, "STT:MON:?", 4000, Arg::None},
        {99, "STT:ACQ:RUN", 4000, Arg::None},
        {100, "STT:DISPL:?", 2000, Arg::None},
        {102, "KEY:CLEFT", 2000, Arg::None},
        {103, "KEY:CRIGHT", 2000, Arg::None},
        {104, "KEY:PROG", 2000, Arg::None},
        {105, "KEY:MENU", 2000, Arg::None},
        {106, "KEY:CURSOR", 2000, Arg::None},
        {107, "STT:ACQ:STOP", 2000, Arg::None},
        {108, "STT:ACQ:RUN", 2000, Arg::None},
        {109, "STT:REC:?", 2000, Arg::None},
        {110, "DMP:ON", 2000, Arg::None},
        {111, "DMP:RE", 3000, Arg::None},
        {112, "DMP:NE", 2000, Arg::None},
        {113, "DMP:CL", 2000, Arg::None},
        {114, "DMP:BR", 2000, Arg::None},
        {115, "DMP:OFF", 2000, Arg::None},
        {122, "KEY:OFF", 2000, Arg::None},
        {123, "KEY:PRN_VAL", 2000, Arg::None},
        {135, "KEY:PRN_VAL", 2000, Arg::None},
        {124, "KEY:EXEC:1", 2000, Arg::None},
        {125, "KEY:EXEC:4", 2000, Arg::None},
        {126, "KEY:EXEC:3", 2000, Arg::None},
        {131, "CAL:GAIN:%s:?", 2000, Arg::First},
        {132, "CAL:GAIN:%s:%s", 2000, Arg::Both},
        {133, "CAL:ELCAL:%s:?", 2000, Arg::First},
        {1340, "CAL:ELCAL:%s:?", 2000, Arg::First},
        {134, "CAL:ELCAL:%s:%s", 2000, Arg::Both},
        {137, "FAB:%s", 2000, Arg::First},
        {138, "SET:MIC_MODEL:%s:%s", 2000, Arg::Both},
        {139, "SET:MIC_NUMBER:%s:%s", 2000, Arg::Both},
        {140, "SET:MIC_TYPE:%s:%s", 2000, Arg::Both},
        // Sent past the queue only.
        {208, "STT:REC:ON", 2000, Arg::None},
        {209, "SET:INS:?", 2000, Arg::None},
        {210, "SET:PROT:%s:?", 2000, Arg::First},
        {211, "SET:PROT:%s:%s", 2000, Arg::Both},
    };
    for (const auto& [code, text, timeout, argument] : others)
        t.Add(code, text, timeout, argument);
}

const std::vector<CommandRow>& CommandTable() {
    // Built whole before it is kept, so that a refused row is refused again at every use.
    static const CommandTableBuilder table = [] {
        CommandTableBuilder built;
        AddProgramCommands(built);
        return built;
    }();
    static const std::vector<CommandRow> rows = table.Rows();
    return rows;
}

std::optional<CommandRow> FindCommandRow(int code) {
    const auto& rows = CommandTable();
    auto it = std::lower_bound(rows.begin(), rows.end(), code,
                               [](const CommandRow& row, int c) { return row.code < c; });
    if (it == rows.end() || it->code != code)
        return std::nullopt;
    return *it;
}
