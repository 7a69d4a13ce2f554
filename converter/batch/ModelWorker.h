#pragma once

#include "Diagnostics.h"
#include "HeadlessEngine.h"
#include "ModelPlan.h"
#include "OutputFile.h"
#include "WorkerPool.h"

#include <vector>

// The work of one worker process: it sets the engine up once and converts model after model,
// then copies the textures of each model it converted. Its answer holds the exit status, what
// the conversion reported, the textures the .glb could not embed, the seconds the model took and
// the model's files, written but left for the parent to put in place (commitOutputs), so that the
// worker goes on while the disk catches up.
class ModelWorker : public JobRunner {
public:
    explicit ModelWorker(const std::vector<ModelPlan>& plans);
    std::string run(std::size_t job) override;

private:
    const std::vector<ModelPlan>& plans;
    HeadlessEngine engine;
};

struct WorkerAnswer {
    int status = 1;
    std::vector<Diagnostic> diagnostics;
    double seconds = 0;
    std::vector<PendingOutput> pending;
    std::vector<std::string> texturesMissing = {}; // beyond those the plan lists
};

std::string workerAnswerText(const WorkerAnswer& answer);
WorkerAnswer readWorkerAnswer(const std::string& answer);
