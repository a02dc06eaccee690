#pragma once
// The steps that the verification and maintenance commands share: one command at a time, a
// technician known (and checked against the technician database where the command needs it),
// the black list, and the queued link armed on the instrument under test for the dialog that
// follows.

#include <string>

#include "app/workflow_guard.h"
#include "web/technician_account.h"

class FrameBoxes;
class FrameUi;
class LinkSession;
namespace verification {
struct BenchInstruments;
}
namespace web {
class ServerDatabases;
}

class WorkflowSteps {
public:
    // What the steps use, none of it owned.
    struct Uses {
        // The title shows the technician's code.
        FrameUi& ui;
        web::TechnicianAccount& technician;
        web::ServerDatabases& databases;
        // The please-wait box, closed when a technician is refused.
        FrameBoxes& boxes;
        // The bench's two meters as last identified.
        const verification::BenchInstruments& instruments;
        LinkSession& link;
    };

    explicit WorkflowSteps(const Uses& uses) : m_uses(uses) {}
    WorkflowSteps(const WorkflowSteps&) = delete;
    WorkflowSteps& operator=(const WorkflowSteps&) = delete;

    // Held while a command runs; empty when another one runs already (the command is ignored).
    [[nodiscard]] WorkflowGuard::Hold Enter() { return m_guard.Enter(); }

    // The code form when no technician is known yet, which sets the code and the title; false
    // when it was not confirmed. With `lookup`, a code entered there is also checked against
    // the technician database into it.
    bool EnsureTechnician(web::TechnicianLookup* lookup);
    // The maintenance commands' step: the code form when no code is known, then always the
    // check against the technician database into `lookup`. False, after the command's
    // `refusal` for a technician the check did not find, when the command ends.
    bool CheckMaintenanceTechnician(const std::string& refusal, web::TechnicianLookup& lookup);
    // The technician code, the check's seven outputs and the serial number of the instrument
    // under test, joined by ";".
    std::string TechnicianRecord(const web::TechnicianLookup& lookup);

    // The black list holds the instrument under test or the connected reference meter.
    bool IsCalibExpiryBlocked();
    // The queued link on the instrument under test's port: empty queue, send tick running.
    void ArmQueuedLink();
    void CloseTargetPort();

private:
    Uses m_uses;
    WorkflowGuard m_guard;
};
