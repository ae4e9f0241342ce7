#include "gui/shell/kolv_lite_test_listener.h"

KolvLiteTestListener::KolvLiteTestListener() : QObject(nullptr) {
  RegisterKolvLiteMetaTypes();
  progress_ = -1;
  message_.clear();
}

void KolvLiteTestListener::ProgressUpdated(int percent, std::string text) {
  emit ProgressUpdated(percent, QString::fromStdString(text));
}

void KolvLiteTestListener::Interact(InputRequest* request) { emit TestInteracted(request); }

bool KolvLiteTestListener::IsInteractive() { return true; }

int KolvLiteTestListener::progress() { return progress_; }

std::string KolvLiteTestListener::message() { return message_; }

void KolvLiteTestListener::ClearMessage() { message_.clear(); }
