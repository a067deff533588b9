// What one run of a project keeps besides the host's project: instance
// names, one expression engine for every expression, the expressions'
// sources (the project's streams keep only the compiled functions), the
// shapes the user saw at each rendered frame, and the counts the summary
// reports.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "headless_host/cli/frame_captures.h"
#include "headless_host/cli/instance_names.h"
#include "headless_host/cli/progress.h"
#include "headless_host/evaluation/project.h"
#include "headless_host/expressions/expression_engine.h"
#include "headless_host/host.h"

namespace knotwell::cli {

struct RunState {
    RunState(host::Host& run_host, Progress& run_progress)
        : host(run_host), project(run_host.project()), progress(run_progress) {}

    host::Host& host;
    host::Project& project;
    Progress& progress;
    std::shared_ptr<expressions::ExpressionEngine> engine = std::make_shared<expressions::ExpressionEngine>();
    InstanceNames names;
    std::map<const project::Stream*, std::string> expressions;
    // The streams whose expressions are being evaluated, outermost first.
    std::vector<const project::Stream*> evaluating;
    FrameCaptures captures;
    long frames_rendered = 0;
    long unsettled_frames = 0;
};

}  // namespace knotwell::cli
