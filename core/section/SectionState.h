#pragma once
// The drawing switches of the section shapes as a freshly started program has them: stratum
// names shown, slide lines fitted to no ground and only their first fitted piece drawn.

void ResetSectionState();
