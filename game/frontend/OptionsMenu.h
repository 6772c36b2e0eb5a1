// The options screen: music and effects volumes in ten steps, the high-score reset, H for
// the table.
#pragma once

bool RunOptionsMenu();

// Pixels of the volume bar shown for each level 0..9.
constexpr int kVolumeBarWidths[10] = {0, 10, 20, 30, 40, 50, 64, 74, 84, 94};
