#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/cli/process_runner.h"

namespace morvel::testing {

namespace fs = std::filesystem;

namespace {

std::string ConverterPath() {
  // The tests live in build/<preset>/tests, the converter in build/<preset>/cli.
  return (fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "cli" / "morvel-convert")
      .string();
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

ConverterProcess::ConverterProcess() {
  std::string pattern = (fs::temp_directory_path() / "morvel-cli-XXXXXX").string();
  folder_ = mkdtemp(pattern.data());
}

ConverterProcess::~ConverterProcess() {
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
}

struct ConverterProcess::Started {
  pid_t pid = -1;
  fs::path outLog, errLog;
  int inputWriting = -1;  // held open until the converter is killed
};

ConverterProcess::Started ConverterProcess::Start(const std::vector<std::string>& arguments,
                                                  const RunOptions& options) const {
  static int runs = 0;
  const std::string program = ConverterPath();
  Started started;
  const std::string log = folder_ + "-run" + std::to_string(++runs);
  started.outLog = log + ".out";
  started.errLog = log + ".err";
  // Standard input is a pipe that already holds every byte (the tests' inputs are smaller than
  // its buffer) and whose writing end is closed, or held open until the converter is killed.
  int pipeEnds[2] = {-1, -1};
  const std::string_view input = options.standardInput;
  if (pipe(pipeEnds) != 0 ||
      write(pipeEnds[1], input.data(), input.size()) != static_cast<ssize_t>(input.size())) {
    return started;
  }
  started.pid = fork();
  if (started.pid == 0) {
    close(pipeEnds[1]);
    const int in = pipeEnds[0];
    const std::string output = options.standardOutput.value_or("");
    int out = -1;
    if (!options.standardOutput) {
      out = open(started.outLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    } else if (output.empty()) {
      out = open("/dev/null", O_WRONLY);  // closed below
    } else {
      out = open(output.starts_with('/') ? output.c_str() : FullPath(output).c_str(),
                 O_WRONLY | O_CREAT | O_APPEND, 0600);
    }
    const int err = open(started.errLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0 || chdir(folder_.c_str()) != 0) _exit(127);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    if (options.standardOutput && options.standardOutput->empty()) close(1);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(pipeEnds[0]);
  if (options.killAfterMs) {
    started.inputWriting = pipeEnds[1];
  } else {
    close(pipeEnds[1]);
  }
  return started;
}

ProcessResult ConverterProcess::Finish(Started& started, const RunOptions& options) {
  if (options.killAfterMs && started.pid > 0) {
    usleep(static_cast<useconds_t>(*options.killAfterMs) * 1000);
    kill(started.pid, options.killSignal);
  }
  if (started.inputWriting >= 0) close(started.inputWriting);
  ProcessResult result;
  int status = 0;
  if (started.pid > 0 && waitpid(started.pid, &status, 0) == started.pid) {
    if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.killedBy = WTERMSIG(status);
  }
  result.outBytes = result.out = Slurp(started.outLog);
  result.err = Slurp(started.errLog);
  std::error_code ignored;
  fs::remove(started.outLog, ignored);
  fs::remove(started.errLog, ignored);
  return result;
}

ProcessResult ConverterProcess::RunShell(const std::string& script,
                                         std::optional<int> interruptAfterMs) const {
  const std::string log = folder_ + "-shell";
  const pid_t pid = fork();
  if (pid == 0) {
    setpgid(0, 0);
    const int in = open("/dev/null", O_RDONLY);
    const int out = open((log + ".out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open((log + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0 || chdir(folder_.c_str()) != 0) _exit(127);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    setenv("MORVEL", ConverterPath().c_str(), 1);
    execl("/bin/bash", "bash", "-c", script.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  ProcessResult result;
  if (pid < 0) return result;
  setpgid(pid, pid);
  if (interruptAfterMs) {
    usleep(static_cast<useconds_t>(*interruptAfterMs) * 1000);
    kill(-pid, SIGINT);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) == pid) {
    if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.killedBy = WTERMSIG(status);
  }
  result.outBytes = result.out = Slurp(log + ".out");
  result.err = Slurp(log + ".err");
  std::error_code ignored;
  fs::remove(log + ".out", ignored);
  fs::remove(log + ".err", ignored);
  return result;
}

ProcessResult ConverterProcess::Run(const std::vector<std::string>& arguments,
                                    const RunOptions& options) const {
  Started started = Start(arguments, options);
  return Finish(started, options);
}

std::vector<ProcessResult> ConverterProcess::RunTogether(
    const std::vector<std::vector<std::string>>& argumentLists, std::string_view standardInput,
    int holdMs) const {
  RunOptions options;
  options.standardInput = standardInput;
  options.killAfterMs = holdMs;  // only to hold standard input open
  std::vector<Started> started;
  for (const auto& arguments : argumentLists) started.push_back(Start(arguments, options));
  usleep(static_cast<useconds_t>(holdMs) * 1000);
  for (Started& each : started) {
    close(each.inputWriting);
    each.inputWriting = -1;
  }
  std::vector<ProcessResult> results;
  for (Started& each : started) results.push_back(Finish(each, {}));
  return results;
}

std::vector<std::string> ConverterProcess::List() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder_)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

void ConverterProcess::WriteFile(std::string_view name, std::string_view bytes) const {
  std::ofstream(FullPath(name), std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::optional<std::string> ConverterProcess::ReadFile(std::string_view name) const {
  if (!fs::is_regular_file(FullPath(name))) return std::nullopt;
  return Slurp(FullPath(name));
}

void ConverterProcess::MakeFolder(std::string_view name) const {
  fs::create_directories(FullPath(name));
}

std::string ConverterProcess::FullPath(std::string_view name) const {
  return folder_ + "/" + std::string(name);
}

}  // namespace morvel::testing
