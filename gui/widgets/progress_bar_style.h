#pragma once

// Bar looks shared by the test rows and the overall progress panel: the running look has square
// right corners on the chunk, the completed look rounds all four.
extern const char kRunningProgressBarStyle[];
extern const char kCompletedProgressBarStyle[];
