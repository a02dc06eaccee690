#pragma once
// The frame's local databases and technician account against the stand-in, with a scripted
// operator and a please-wait box that records what it was asked to show.

#include <string>
#include <vector>

#include "platform/text.h"
#include "recording_feedback.h"
#include "web/server_databases.h"
#include "web/technician_account.h"
#include "web_test_env.h"

class DatabasesTest : public WebClientTest {
protected:
    DatabasesTest() { client.SetWaitFeedback(&feedback); }

    // The remote files of a reachable server.
    void ServeDatabases(const std::string& labDatabase = kLabDatabase) {
        stub.ServeFile(Url("corrections//corrections_table.txt"), "REF1;0.1\n");
        stub.ServeFile(Url("report//lab_database.lab"), labDatabase);
        stub.ServeFile(Url("black_list.txt"), "B0001\n");
    }

    static constexpr const char* kLabDatabase =
        "Lab Nord;Via Uno 1;Milano;MI;0201;nord@lab.invalid;Mario Rossi;123456;R100+R200\r\n"
        "Lab Sud;Via Due 2;Napoli;NA;0811;sud@lab.invalid;Mario Rossi;123456;R300\r\n"
        "Lab Nord;Via Uno 1;Milano;MI;0201;nord@lab.invalid;Anna Bianchi;654321;R900\r\n";

    testenv::TestOperator op;
    webtest::RecordingFeedback feedback;
    std::string programDir = folder.Path();
    web::ServerDatabases databases{client, programDir};
    std::string technicianId;
    std::string technicianRecord = "-1";
    BYTE technicianChecked = 0;
    web::TechnicianAccount account{databases, {technicianId, technicianRecord, technicianChecked}};
};
