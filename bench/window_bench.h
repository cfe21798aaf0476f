// Timings of the real window, registered with Google Benchmark.
#pragma once

#include <memory>

class QApplication;

// The QApplication that the window benchmarks need, on Qt's offscreen platform with the Bulgarian
// regional format. It is created when the first of them runs, so that the benchmarks before them
// run in a process without it, as they were written for (with it created first, Calculate in
// memory measured 4 to 7 µs instead of under 3), and destroyed with this object, at the end of
// main.
class WindowApplication {
 public:
  // Selects the platform and the regional format in the environment at once, before anything
  // reads them; argc and argv must outlive this object.
  WindowApplication(int& argc, char** argv);
  ~WindowApplication();
  WindowApplication(const WindowApplication&) = delete;
  WindowApplication& operator=(const WindowApplication&) = delete;

  // Creates the application object unless it exists.
  void Ensure();

 private:
  int& argc_;
  char** argv_;
  std::unique_ptr<QApplication> application_;
};

void RegisterWindowBenchmarks(WindowApplication& application);
