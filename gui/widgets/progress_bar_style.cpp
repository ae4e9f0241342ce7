#include "gui/widgets/progress_bar_style.h"

const char kRunningProgressBarStyle[] =
    "QProgressBar {\n"
    "  border: none;\n"
    "  background-color: rgb(189,189, 189);\n"
    "}\n"
    "QProgressBar::chunk {\n"
    "  border-top-left-radius: 5px;\n"
    "  border-bottom-left-radius: 5px;\n"
    "  border-right: none;\n"
    "  background-color: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
    " stop:0 rgba(146, 252, 66, 255), stop:1 rgba(42, 198, 29, 255));\n"
    "  width: 1px;\n"
    "}\n";

const char kCompletedProgressBarStyle[] =
    "QProgressBar {\n"
    "  border: none;\n"
    "  background-color: rgb(189,189, 189);\n"
    "}\n"
    "QProgressBar::chunk {\n"
    "  border-radius: 5px;\n"
    "  background-color: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
    " stop:0 rgba(146, 252, 66, 255), stop:1 rgba(42, 198, 29, 255));\n"
    "  width: 1px;\n"
    "}\n";
