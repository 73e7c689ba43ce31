#include "stage/MarchRunner.h"

#include <optional>
#include <utility>

#include "core/deformation/CalcShear.h"
#include "core/deformation/CalcSlide.h"
#include "platform/FrameMessages.h"
#include "platform/ProgressFeedback.h"
#include "platform/UiRegistry.h"
#include "platform/UiServices.h"
#include "stage/CalcRunner.h"

namespace {

// Process, then, unless cancelled, Post and one redraw.
template <class Job>
bool RunMarch(Job& job) {
  decltype(job.Process(std::declval<ProgressFeedback&>())) march;
  RunWithProgress([&job, &march](ProgressFeedback& feedback) { march = job.Process(feedback); });
  if (!march) return false;
  job.Post(*std::move(march));
  Ui().SendToFrame(FrameMsg::WM_APP_REDRAW, 0, 0);
  return true;
}

}  // namespace

bool RunSlideJob(CCalcSlide job) { return RunMarch(job); }

bool RunShearJob(CCalcShear job) { return RunMarch(job); }
