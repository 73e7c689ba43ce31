#pragma once
// The reference data the core facade owns: the soil table, the standard-bar table and the
// reference conditions (whose values are process-wide), and the start-up step that fills them
// from the settings folder.

#include "core/model/RefCond.h"
#include "core/model/RefGeology.h"
#include "core/model/RefReinf.h"

class CRefData {
 public:
  CRefGeology geology;  // built with its defaults
  CRefReinf reinf;      // built with its defaults
  CRefCond cond;
};

// The configuration part of the core's start-up, in this order:
//  1. DataPath.sdxf and DefFile.sdxf are read when they exist and written when they do not;
//  2. the soil table, the bar table and the reference conditions are each read from their last
//     file when that exists, else from their default file in the settings folder when that
//     exists (which then becomes the last file), else reset to their defaults and written to the
//     default file (which then becomes the last file).
// A file that exists is never overwritten here; one that cannot be read leaves the defaults.
void SetUpConfiguration(CRefData& refData);
