// Answers the interaction dialogs a test brings up: a timer looks for visible dialogs and hands
// each to the test's handler, which reads and closes it.
#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>

class KolvLiteDialog;
class QPushButton;

class DialogWatch : public QObject {
 public:
  using Handler = std::function<void(KolvLiteDialog*)>;
  explicit DialogWatch(Handler handler, int interval_ms = 10);
  // Leaves later dialogs to the test.
  void Stop() { timer_.stop(); }

 private:
  void Poll();

  Handler handler_;
  QTimer timer_;
};

// The texts of the dialog's labels.
QStringList DialogLabels(const KolvLiteDialog* dialog);

// Clicks the dialog's first answer button, or its last visible one; false when it has none.
bool ClickFirstAnswer(KolvLiteDialog* dialog);
bool ClickLastVisibleAnswer(KolvLiteDialog* dialog);
