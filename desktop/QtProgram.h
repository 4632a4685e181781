// Start-up of the desktop program: the command line as the program expects it, and the run.
#pragma once

#include <string>
#include <vector>

class QtBackend;

class QtProgram {
 public:
  // Linux hands a program its arguments one by one; the program reads one command line. It is
  // the program name and the arguments, joined by single blanks.
  static std::string ProcessCommandLine(const std::string& programPath,
                                        const std::vector<std::string>& arguments);

  // Runs the program until its main window closes; returns the process exit code.
  static int Run(QtBackend& backend, const std::string& programPath,
                 const std::vector<std::string>& arguments);
};
