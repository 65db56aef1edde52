#ifndef STUDY_PROCESS_H_
#define STUDY_PROCESS_H_

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace study {

// Starts command (the program, looked up on PATH when it names no folder,
// then its arguments) with standard input from /dev/null, standard output to
// the file outPath (appended to or truncated) and standard error to the same
// file. Returns its process id, or -1 with the reason in problem.
pid_t startProcess(const std::vector<std::string>& command, const std::string& outPath,
                   bool append, std::string& problem);

// As startProcess, with standard error to errPath (appended to) instead.
pid_t startProcess(const std::vector<std::string>& command, const std::string& outPath,
                   const std::string& errPath, std::string& problem);

// How a process ended, from its wait status: "" for exit status 0,
// otherwise "exit status 2" or "killed by signal 9".
std::string describeEnd(int status);

// Runs command to its end, its standard output and error appended to the
// file logPath and each of their lines also handed to echo. Returns "" on
// exit status 0, otherwise what went wrong.
std::string runLogged(const std::vector<std::string>& command, const std::string& logPath,
                      const std::function<void(const std::string&)>& echo);

}  // namespace study

#endif
