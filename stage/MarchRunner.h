#pragma once
// Runs the jobs of design steps 2 to 4 with a progress window (see CalcRunner.h): the case builds
// the job on the GUI thread, its process step runs on a worker thread, the job files its result in
// the case on the GUI thread and the view redraws once.

class CCalcShear;
class CCalcSlide;
class CCalcStabMlt;

// The multi-plane job of design step 2. A cancelled job still files the whole rows it finished.
void RunStabJob(CCalcStabMlt job);

// The marches of design steps 3 and 4. A cancelled march files nothing and leaves the case as it
// was; each returns whether the rows were filed.

bool RunSlideJob(CCalcSlide job);
bool RunShearJob(CCalcShear job);
