// Longest lateness of a 5 ms timer on the GUI thread while work runs: how long the window could
// not answer the user. Beside it, the most CPU time the GUI thread spent between two ticks: the
// same stall as the thread's own work, which a busy machine does not stretch. For the benchmarks.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <time.h>

#include <algorithm>

class StallProbe {
 public:
  StallProbe() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      const qint64 now = clock_.nsecsElapsed();
      worst_ = std::max(worst_, now - last_ - 5000000);
      last_ = now;
      const qint64 cpu = ThreadCpuNs();
      worst_cpu_ = std::max(worst_cpu_, cpu - last_cpu_);
      last_cpu_ = cpu;
    });
  }
  void Start() {
    worst_ = 0;
    worst_cpu_ = 0;
    clock_.start();
    last_ = 0;
    last_cpu_ = ThreadCpuNs();
    timer_.start();
  }
  double StopMs() {
    timer_.stop();
    return static_cast<double>(worst_) / 1e6;
  }
  // After StopMs.
  double WorstCpuMs() const { return static_cast<double>(worst_cpu_) / 1e6; }

  // CPU time of the calling thread.
  static qint64 ThreadCpuNs() {
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<qint64>(now.tv_sec) * 1000000000 + now.tv_nsec;
  }

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 last_ = 0;
  qint64 worst_ = 0;
  qint64 last_cpu_ = 0;
  qint64 worst_cpu_ = 0;
};
