#include "study/Process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>

extern char** environ;

namespace study {

namespace {

// posix_spawn's file actions, released with the object.
class FileActions {
 public:
  FileActions() { posix_spawn_file_actions_init(&Actions); }
  ~FileActions() { posix_spawn_file_actions_destroy(&Actions); }
  FileActions(const FileActions&) = delete;
  FileActions& operator=(const FileActions&) = delete;

  void open(int fd, const std::string& path, int flags) {
    posix_spawn_file_actions_addopen(&Actions, fd, path.c_str(), flags, 0644);
  }
  void duplicate(int from, int to) { posix_spawn_file_actions_adddup2(&Actions, from, to); }
  void close(int fd) { posix_spawn_file_actions_addclose(&Actions, fd); }
  const posix_spawn_file_actions_t* get() const { return &Actions; }

 private:
  posix_spawn_file_actions_t Actions;
};

pid_t spawn(const std::vector<std::string>& command, const FileActions& actions,
            std::string& problem) {
  std::vector<char*> argv;
  for (const std::string& word : command) {
    argv.push_back(const_cast<char*>(word.c_str()));
  }
  argv.push_back(nullptr);
  // The runner ignores SIGPIPE; its programs get the default back.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t pipe;
  sigemptyset(&pipe);
  sigaddset(&pipe, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &pipe);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  pid_t pid = -1;
  const int error = posix_spawnp(&pid, argv[0], actions.get(), &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  if (error != 0) {
    problem = "cannot run " + command[0] + ": " + std::strerror(error);
    return -1;
  }
  return pid;
}

const int kWrite = O_WRONLY | O_CREAT;

}  // namespace

pid_t startProcess(const std::vector<std::string>& command, const std::string& outPath,
                   bool append, std::string& problem) {
  FileActions actions;
  actions.open(0, "/dev/null", O_RDONLY);
  actions.open(1, outPath, kWrite | (append ? O_APPEND : O_TRUNC));
  actions.duplicate(1, 2);
  return spawn(command, actions, problem);
}

pid_t startProcess(const std::vector<std::string>& command, const std::string& outPath,
                   const std::string& errPath, std::string& problem) {
  FileActions actions;
  actions.open(0, "/dev/null", O_RDONLY);
  actions.open(1, outPath, kWrite | O_TRUNC);
  actions.open(2, errPath, kWrite | O_APPEND);
  return spawn(command, actions, problem);
}

std::string describeEnd(int status) {
  if (WIFEXITED(status)) {
    return WEXITSTATUS(status) == 0 ? "" : "exit status " + std::to_string(WEXITSTATUS(status));
  }
  if (WIFSIGNALED(status)) {
    return "killed by signal " + std::to_string(WTERMSIG(status));
  }
  return "ended abnormally";
}

std::string runLogged(const std::vector<std::string>& command, const std::string& logPath,
                      const std::function<void(const std::string&)>& echo) {
  std::ofstream log(logPath, std::ios::app);
  if (!log) {
    return "cannot write " + logPath;
  }
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) {
    return std::string("cannot make a pipe: ") + std::strerror(errno);
  }
  FileActions actions;
  actions.open(0, "/dev/null", O_RDONLY);
  actions.duplicate(ends[1], 1);
  actions.duplicate(ends[1], 2);
  std::string problem;
  const pid_t pid = spawn(command, actions, problem);
  ::close(ends[1]);
  FILE* output = fdopen(ends[0], "r");
  if (output == nullptr) {
    ::close(ends[0]);
  } else {
    std::string line;
    for (int c; (c = std::fgetc(output)) != EOF;) {
      if (c != '\n') {
        line += static_cast<char>(c);
        continue;
      }
      log << line << '\n';
      echo(line);
      line.clear();
    }
    if (!line.empty()) {
      log << line << '\n';
      echo(line);
    }
    std::fclose(output);
  }
  if (pid < 0) {
    return problem;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return describeEnd(status);
}

}  // namespace study
