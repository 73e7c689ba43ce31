#pragma once
// A realistic document for tests, benchmarks, fuzz seeds and the example shipped in resources/:
// design cases on the sample section (SampleSection.h) with their section, site data, stability
// conditions, block division, step-2 results with a registered row for the normal and the
// seismic case, rock bolts with their conditions, slide and shear conditions, the slide and
// shear results and the rope-net check on the shear result. Deterministic: every call builds the
// same cases.

class CCase;
class CManageCore;

// Fills the case; the variant (0, 1, 2, ...) changes the names, the planned safety factors, the
// seismic coefficient and the number of blocks, so that the cases of a document differ.
void FillSampleCase(CCase& target, int variant);

// Ten cases of which slots 0, 4 and 7 are filled (variants 0, 1 and 2); the active case is 4.
void FillSampleDocument(CManageCore& core);
// The slots FillSampleDocument fills.
inline constexpr int kSampleDocumentSlots[] = {0, 4, 7};
