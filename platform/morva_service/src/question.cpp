#include "question.h"

#include <memory>
#include <string>
#include <vector>

#include "support.h"

namespace morva_service {
namespace detail {

int AskQuestion(const QuestionSpec& question, const std::function<void(InputRequest*)>& interact) {
  InputRequest request(question.title, question.message, question.kind, question.buttons);
  std::vector<std::unique_ptr<InputFieldLabel>> fields;
  for (const std::string& text : question.fields) {
    fields.push_back(std::make_unique<InputFieldLabel>());
    fields.back()->set_text(text);
    request.fields.push_back(fields.back().get());
  }
  if (!interact) {
    Trace("Interact title=" + question.title + " default=" + std::to_string(question.default_answer));
    return question.default_answer;
  }
  interact(&request);
  int answer = request.answer;
  if (answer != InputRequest::kFirstButton && answer != InputRequest::kSecondButton) answer = InputRequest::kNoAnswer;
  Trace("Interact title=" + question.title + " answer=" + std::to_string(answer));
  return answer;
}

}  // namespace detail
}  // namespace morva_service
