#pragma once

// The program's own version, from the build.
inline constexpr int kVersionMajor = 0;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionPatch = 0;
inline constexpr int kVersionRevision = 50;
