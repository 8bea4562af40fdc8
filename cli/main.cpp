// morvel-convert: the command-line front end over the conversion engine.
#include <memory>

#include "cli/batch.h"
#include "cli/checked_console.h"
#include "cli/host.h"
#include "cli/output_is_source.h"
#include "platform/native_platform.h"

int main(int argc, char** argv) {
  using namespace morvel::cli;
  LoadLibrariesFromTheSystemOnly();
  const auto console = std::make_unique<CheckedConsole>(MakeHostConsole());
  morvel::RemoveTemporariesWhenInterrupted();
  morvel::ReportRefusedWritesAsFailures();
  auto usageError = [&](const UsageError& error) {
    console->Err(ProgramLine(error.message));
    console->Err("Try '" + std::string(PROGRAM_NAME) + " --help' for the options.");
    return EXIT_USAGE;
  };

  const std::vector<std::string> arguments = HostArguments(argc, argv);
  const auto parsed = ParseCommandLine(arguments);
  if (const auto* error = std::get_if<UsageError>(&parsed)) return usageError(*error);
  const CommandLine& commandLine = std::get<CommandLine>(parsed);
  if (commandLine.action == Action::ShowHelp) {
    std::string help = HelpText();
    help.pop_back();  // its last line end
    console->Out(help);
    return console->ExitStatus(EXIT_WRITTEN);
  }
  if (commandLine.action == Action::ShowVersion) {
    console->Out(VERSION_TEXT);
    return console->ExitStatus(EXIT_WRITTEN);
  }

  auto prepared = PrepareBatch(commandLine);
  if (const auto* error = std::get_if<UsageError>(&prepared)) return usageError(*error);
  Batch& batch = std::get<Batch>(prepared);
  std::unique_ptr<morvel::ByteReader> input;
  std::unique_ptr<morvel::ByteWriter> output;
  if (UsesStandardInput(batch) && !(input = morvel::OpenStandardInput())) {
    console->Err(ProgramLine("standard input cannot be read"));
    return EXIT_FAILED;
  }
  if (UsesStandardOutput(batch) && !(output = morvel::OpenStandardOutput())) {
    console->Err(ProgramLine("standard output cannot be written"));
    return EXIT_FAILED;
  }
  const auto files = morvel::MakeNativeFileSystem();
  if (const Job* job = JobReadingItsOwnOutput(batch, *files, morvel::StandardInputIdentity(),
                                              morvel::StandardOutputIdentity())) {
    console->Err(ProgramLine(job->label + ": input file is output file"));
    return EXIT_REFUSED;
  }
  const auto clock = morvel::MakeSystemClock();
  return console->ExitStatus(RunBatch(batch, *files, *clock, *console,
                                      {input.get(), output.get(), morvel::StopIfInterrupted}));
}
