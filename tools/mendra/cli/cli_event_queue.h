#pragma once

#include <list>
#include <memory>

#include "tools/mendra/cli/mdr_cli_events.h"
#include "zerka/zerka.h"

class CliEventQueue {
 public:
  CliEventQueue();
  ~CliEventQueue();
  CliEventQueue(const CliEventQueue&) = delete;
  CliEventQueue& operator=(const CliEventQueue&) = delete;

  void Push(MdrCliEvent* event);  // takes ownership
  std::unique_ptr<MdrCliEvent> Take();  // null when empty
  bool Empty();

 private:
  std::list<MdrCliEvent*> events_;
  ZerkaSemaphore* lock_;
};
