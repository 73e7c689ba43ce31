#pragma once
// Step-2 results of the largest division the block list allows: every pair of start and end block
// with an Fs that repeats, so that sorts meet many ties, serialised and sorted as a run leaves
// them. The benchmarks of what the user waits for on a full result set start from it.

class CResStab2;

void FillAllPairs(CResStab2& results);
