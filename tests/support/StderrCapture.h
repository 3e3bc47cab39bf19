#pragma once

#include <stdio.h>
#include <unistd.h>

#include <cstdio>
#include <string>

// Collects what is written to standard error while it lives (where the plug-in's message box
// goes without a display).
class StderrCapture {
 public:
  StderrCapture() {
    std::fflush(stderr);
    mFile = std::tmpfile();
    mSaved = dup(2);
    dup2(fileno(mFile), 2);
  }
  ~StderrCapture() { Restore(); }
  StderrCapture(const StderrCapture&) = delete;
  StderrCapture& operator=(const StderrCapture&) = delete;

  std::string Text() {
    Restore();
    std::string text;
    std::rewind(mFile);
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, mFile)) > 0) text.append(buffer, n);
    return text;
  }

 private:
  void Restore() {
    if (mSaved < 0) return;
    std::fflush(stderr);
    dup2(mSaved, 2);
    close(mSaved);
    mSaved = -1;
  }
  FILE* mFile = nullptr;
  int mSaved = -1;
};
