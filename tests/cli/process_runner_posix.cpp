#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

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

ProcessResult ConverterProcess::Run(const std::vector<std::string>& arguments,
                                    std::string_view standardInput,
                                    std::optional<int> killAfterMs) const {
  const std::string program = ConverterPath();
  const fs::path log = fs::path(folder_).parent_path() / fs::path(folder_).filename();
  const fs::path outLog = log.string() + ".out";
  const fs::path errLog = log.string() + ".err";
  // Standard input is a pipe that already holds every byte (the tests' inputs are smaller than
  // its buffer) and whose writing end is closed, or held open until the converter is killed.
  int pipeEnds[2] = {-1, -1};
  if (pipe(pipeEnds) != 0 || write(pipeEnds[1], standardInput.data(), standardInput.size()) !=
                                 static_cast<ssize_t>(standardInput.size())) {
    return {};
  }
  if (!killAfterMs) close(pipeEnds[1]);
  const pid_t child = fork();
  if (child == 0) {
    if (killAfterMs) close(pipeEnds[1]);
    const int in = pipeEnds[0];
    const int out = open(outLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0 || chdir(folder_.c_str()) != 0) _exit(127);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(pipeEnds[0]);
  if (killAfterMs && child > 0) {
    usleep(static_cast<useconds_t>(*killAfterMs) * 1000);
    kill(child, SIGKILL);
    close(pipeEnds[1]);
  }
  ProcessResult result;
  int status = 0;
  if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
    result.exitStatus = WEXITSTATUS(status);
  }
  result.outBytes = result.out = Slurp(outLog);
  result.err = Slurp(errLog);
  std::error_code ignored;
  fs::remove(outLog, ignored);
  fs::remove(errLog, ignored);
  return result;
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
