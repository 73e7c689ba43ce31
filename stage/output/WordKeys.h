#pragma once
// The blocks every report template holds besides its own.

inline constexpr const char* kSetReturn = "ＳｅｔＲｅｔｕｒｎ";    // page break
inline constexpr const char* kSpaceLine = "ＳｐａｃｅＬｉｎｅ２";  // one blank line
inline constexpr const char* kEndBlock = "Ｅｎｄ";                 // appended last in every report
