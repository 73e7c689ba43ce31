#pragma once
// Runs the marches of design steps 3 and 4 with a progress window (see CalcRunner.h): the case
// builds the job on the GUI thread, the march runs on a worker thread, and unless the user
// cancelled it the job files its rows in the case and the view redraws once. A cancelled march
// leaves the case as it was. Each returns whether the rows were filed.

class CCalcShear;
class CCalcSlide;

bool RunSlideJob(CCalcSlide job);
bool RunShearJob(CCalcShear job);
