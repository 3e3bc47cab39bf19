#include "toolkit/editor/ErrorQueue.h"

void ErrorQueue::SetOpen(bool open) {
  std::lock_guard<std::mutex> lock(mMutex);
  mOpen = open;
}

std::vector<ErrorQueue::Report> ErrorQueue::TakeAll() {
  std::vector<Report> reports;
  std::lock_guard<std::mutex> lock(mMutex);
  reports.swap(mReports);
  return reports;
}
