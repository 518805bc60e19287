// What a planned step does, in words and with its exact command line: the
// same text for a PLAN=1 run's printed plan and for the diagnostic log of a
// run that applies the plan (PlanText.h gives the line form).
#pragma once

#include "engine/InstallJob.h"
#include "engine/InstallPlan.h"
#include "engine/PlanText.h"
#include "session/InstallSession.h"

namespace korv {

// The command lines are built by the runners' own functions, so a printed
// plan shows exactly what would be started. report tells how a failure is
// reported (the page's job or a run without one).
StepSummary DescribeStep(const InstallStep& step, const InstallSession& session, FailureReport report);

}  // namespace korv
