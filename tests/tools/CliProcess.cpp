#include "tests/tools/CliProcess.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <thread>

extern char** environ;

namespace solvane::cli::testing {
namespace {

namespace fs = std::filesystem;

std::map<pid_t, std::chrono::steady_clock::time_point>& StartTimes() {
  static std::map<pid_t, std::chrono::steady_clock::time_point> times;
  return times;
}

std::vector<std::string> Environment(const std::vector<std::string>& extra) {
  std::vector<std::string> env;
  const auto replaced = [&extra](const std::string& entry) {
    for (const std::string& e : extra) {
      if (entry.compare(0, e.find('=') + 1, e, 0, e.find('=') + 1) == 0) return true;
    }
    return false;
  };
  for (char** e = environ; *e != nullptr; ++e) {
    if (!replaced(*e)) env.emplace_back(*e);
  }
  env.insert(env.end(), extra.begin(), extra.end());
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& t : texts) pointers.push_back(t.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

pid_t StartCli(const std::vector<std::string>& args, const std::string& errPath,
               const CliProcessOptions& options) {
  std::vector<std::string> argv{options.program.empty() ? SOLVANE_RENDER_PATH : options.program};
  if (options.builtModule) argv.insert(argv.end(), {"--module", SOLVANE_MODULE_PATH});
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<std::string> env = Environment(options.env);
  std::vector<char*> argp = Pointers(argv), envp = Pointers(env);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (!options.workingDirectory.empty()) {
    posix_spawn_file_actions_addchdir_np(&actions, options.workingDirectory.c_str());
  }
  pid_t pid = -1;
  // posix_spawnp: a program named without a slash is looked up in PATH, as a shell does.
  const int error = posix_spawnp(&pid, argp[0], &actions, nullptr, argp.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) ADD_FAILURE() << "cannot start " << argv[0] << ": " << std::strerror(error);
  StartTimes()[pid] = std::chrono::steady_clock::now();
  return error == 0 ? pid : -1;
}

CliResult WaitCli(pid_t pid, const std::string& errPath, double timeoutSeconds) {
  CliResult result;
  if (pid <= 0) return result;
  int status = 0;
  rusage usage{};
  const auto deadline = StartTimes()[pid] + std::chrono::duration<double>(timeoutSeconds);
  for (;;) {
    const pid_t done = wait4(pid, &status, WNOHANG, &usage);
    if (done == pid || (done < 0 && errno != EINTR)) break;
    if (std::chrono::steady_clock::now() > deadline) {
      ADD_FAILURE() << "solvane-render ran past " << timeoutSeconds << " s and was killed";
      kill(pid, SIGKILL);
      wait4(pid, &status, 0, &usage);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  result.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - StartTimes()[pid]).count();
  StartTimes().erase(pid);
  result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.peakKilobytes = usage.ru_maxrss;
  result.err = FileBytes(errPath);
  return result;
}

CliResult RunCli(const std::vector<std::string>& args, const CliProcessOptions& options) {
  // One file per process: ctest runs tests as separate processes side by side.
  const std::string errPath =
      ::testing::TempDir() + "solvane_cli_stderr-" + std::to_string(getpid()) + ".txt";
  return WaitCli(StartCli(args, errPath, options), errPath);
}

std::string TestFolder(const std::string& name) {
  // The process id keeps runs from several checkouts at once out of each other's way.
  const fs::path folder =
      fs::path(::testing::TempDir()) / ("solvane_safety_" + name + "-" + std::to_string(getpid()));
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  fs::create_directories(folder);
  return folder.string();
}

std::string FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

int TemporaryFilesIn(const std::string& folder) {
  int count = 0;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    if (entry.path().filename().string().rfind(".partial-", 0) == 0) ++count;
  }
  return count;
}

}  // namespace solvane::cli::testing
