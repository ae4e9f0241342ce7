// The screen's form as uic builds it, for code that reaches its widgets.
#pragma once

#include "ui_logs_screen.h"
