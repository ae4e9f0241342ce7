// The NEXT and BACK buttons of the tool's own screens.
#pragma once

class QPushButton;

// key is a key of the host's "Translations" catalogue; the button is at least the standard size.
QPushButton* MdrActionButton(const char* key);
