// CDrawSet: the display switches of a case.

#include "core/model/DrawSet.h"

void CDrawSet::Init() { *this = CDrawSet(); }

void CDrawSet::Copy(const CDrawSet& other) { *this = other; }

bool CDrawSet::IsWaterDrawAll() const { return waterAll == 1; }

bool CDrawSet::IsWaterDrawBefore() const { return waterWhen == 0; }

bool CDrawSet::IsWaterDrawAfter() const { return waterWhen == 1; }

bool CDrawSet::IsWaterDrawNormal() const { return loadCase == 0 || loadCase == 2; }

bool CDrawSet::IsWaterDrawQuake() const { return loadCase == 1 || loadCase == 2; }

bool CDrawSet::IsBlockType() const { return blocksOnly == 1; }
