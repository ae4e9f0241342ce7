// Answers the interaction dialogs a test brings up: each dialog, once shown, is handed to the
// test's handler, which reads and closes it.
#pragma once

#include <QStringList>
#include <functional>

#include "tests/gui/support/modal_answers.h"

class KolvLiteDialog;

class DialogWatch {
 public:
  using Handler = std::function<void(KolvLiteDialog*)>;
  explicit DialogWatch(Handler handler);
  // Leaves later dialogs to the test.
  void Stop() { answers_.Stop(); }

 private:
  Handler handler_;
  gui_test::ModalAnswers answers_;
};

// The texts of the dialog's labels.
QStringList DialogLabels(const KolvLiteDialog* dialog);

// Clicks the dialog's first answer button, or its last visible one; false when it has none.
bool ClickFirstAnswer(KolvLiteDialog* dialog);
bool ClickLastVisibleAnswer(KolvLiteDialog* dialog);
