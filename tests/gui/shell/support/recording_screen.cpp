#include "tests/gui/shell/support/recording_screen.h"

QStringList RecordingScreen::calls;
