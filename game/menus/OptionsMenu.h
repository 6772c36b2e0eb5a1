// The options screen: music and effects volumes in ten steps, the high-score reset, H for
// the table.
#pragma once

bool RunOptionsMenu();
