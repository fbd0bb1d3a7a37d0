#include "cli/rx40ctl.h"

#include "cli/cli_arguments.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "platform/ui/debug_output.h"
#include "platform/ui/message_box.h"
#include "settings/program_folder.h"

namespace {

// The process-wide settings a run changes, put back when it ends.
class RunScope {
 public:
  RunScope(Console& console, bool verbose, const std::string& programFolder, const std::string& executableFolder)
      : m_boxes(SetMessageBoxService(MakeConsoleMessageBoxService(console))),
        m_debugOutput(SetDebugOutputEnabled(DebugOutputWanted(verbose))),
        m_boxLines(SetBoxLinesEnabled(false)),  // the console prints them as errors
        m_programFolder(ProgramFolder()),
        m_shippedFolder(ShippedDataFolder()) {
    SetProgramFolder(programFolder);
    SetShippedDataFolder(ShippedDataFolderFor(executableFolder));
  }
  ~RunScope() {
    SetShippedDataFolder(m_shippedFolder);
    SetProgramFolder(m_programFolder);
    SetBoxLinesEnabled(m_boxLines);
    SetDebugOutputEnabled(m_debugOutput);
    SetMessageBoxService(m_boxes);
  }
  RunScope(const RunScope&) = delete;
  RunScope& operator=(const RunScope&) = delete;

 private:
  std::shared_ptr<MessageBoxService> m_boxes;
  bool m_debugOutput;
  bool m_boxLines;
  std::string m_programFolder;
  std::string m_shippedFolder;
};

void Dispatch(const CommandContext& context) {
  switch (*context.arguments.command) {
    case CliCommand::Tune: RunTune(context); break;
    case CliCommand::Status: RunStatus(context); break;
    case CliCommand::Record: RunRecord(context); break;
    case CliCommand::Diseqc: RunDiseqc(context); break;
    case CliCommand::Motor: RunMotor(context); break;
    case CliCommand::Usals: RunUsals(context); break;
    case CliCommand::Info: RunInfo(context); break;
    case CliCommand::Scan: RunScan(context); break;
    case CliCommand::Align: RunAlign(context); break;
    case CliCommand::Monitor: RunMonitor(context); break;
  }
}

}  // namespace

int RunRx40ctl(const std::vector<std::string>& args, ConsoleStreams streams, StopRequest& stop,
               const std::string& executableFolder) {
  const CliParse parse = ParseCliArguments(args);
  if (!parse.arguments) {
    Console console(streams.out, streams.err, parse.json, false);
    if (parse.command) console.SetCommand(CommandName(*parse.command), CommandUsage(*parse.command));
    else console.SetCommand("", "usage: rx40ctl [OPTIONS] COMMAND [ARGUMENTS] (rx40ctl --help)\n");
    console.UsageError(parse.error);
    return console.ExitStatus();
  }
  const CliArguments& arguments = *parse.arguments;
  if (arguments.help) {
    streams.out << (arguments.command ? CommandHelp(*arguments.command) : GeneralUsage()) << std::flush;
    return kExitSuccess;
  }

  // Recording to standard output: the stream has it to itself.
  const bool streamOnStdout = arguments.command == CliCommand::Record && arguments.record.file == "-";
  Console console(streamOnStdout ? streams.err : streams.out, streams.err, arguments.json, streams.errIsTerminal);
  console.SetCommand(CommandName(*arguments.command), CommandUsage(*arguments.command));
  const std::string dataFolder =
      arguments.common.dataDir.empty() ? DefaultDataFolder(executableFolder) : arguments.common.dataDir;
  if (std::string error; dataFolder != executableFolder && !EnsureDataFolder(dataFolder, &error)) {
    console.UsageError(error);
    return console.ExitStatus();
  }
  RunScope scope(console, arguments.verbose, dataFolder, executableFolder);
  Dispatch({arguments, console, stop});
  return console.ExitStatus();
}
