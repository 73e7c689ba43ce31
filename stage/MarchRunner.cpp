#include "stage/MarchRunner.h"

#include <memory>
#include <optional>
#include <utility>

#include "core/deformation/CalcShear.h"
#include "core/deformation/CalcSlide.h"
#include "core/stability/CalcStabMlt.h"
#include "core/stability/MltPoint.h"
#include "platform/ProgressFeedback.h"
#include "stage/CalcRunner.h"
#include "stage/controls/StageDialog.h"

namespace {

// Process, then, unless cancelled, Post and one redraw.
template <class Job>
bool RunMarch(Job& job) {
  decltype(job.Process(std::declval<ProgressFeedback&>())) march;
  RunWithProgress([&job, &march](ProgressFeedback& feedback) { march = job.Process(feedback); });
  if (!march) return false;
  job.Post(*std::move(march));
  RedrawSection();
  return true;
}

}  // namespace

void RunStabJob(CCalcStabMlt job) {
  job.Prepare();
  std::unique_ptr<CMltBlocks> points;
  RunWithProgress([&job, &points](ProgressFeedback& feedback) { points = job.Process(feedback); });
  job.Post(std::move(points));
  RedrawSection();
}

bool RunSlideJob(CCalcSlide job) { return RunMarch(job); }

bool RunShearJob(CCalcShear job) { return RunMarch(job); }
