// A scripted question put to whoever can answer it, for tests and tools alike.
#pragma once

#include <functional>

#include "catalogue.h"

namespace morva_service {
namespace detail {

// Puts the question through interact, which writes the answer into the request before it returns.
// Without interact nobody can answer and the scripted default stands. Anything but a button
// counts as a closed question (no answer).
int AskQuestion(const QuestionSpec& question, const std::function<void(InputRequest*)>& interact);

}  // namespace detail
}  // namespace morva_service
