// A label field whose text is the program's own markup.
#pragma once

#include "morva_service/input_request.h"

// Drawn by the question dialog as rich text with its links open. The engine never makes one:
// its label fields are shown as plain text.
class KolvLiteRichTextLabel : public InputFieldLabel {};
