// rx40-tessel: the desktop tool for the Orvane RX40 DVB-S/S2 card.
#include <QApplication>
#include <cstdio>
#include <memory>

#include "app/application_setup.h"
#include "app/application_version.h"
#include "app/bda_util_app.h"
#include "app/command_line.h"
#include "platform/ui/debug_output.h"
#include "platform/ui/message_box.h"
#include "settings/program_folder.h"

int main(int argc, char* argv[]) {
  // The command line is read before Qt, which needs a display: --help and
  // --version answer without one.
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  std::string error;
  const auto commandLine = ParseCommandLine(args, &error);
  if (!commandLine) {
    std::fprintf(stderr, "rx40-tessel: %s\n%s", error.c_str(), UsageText().c_str());
    return 2;
  }
  if (commandLine->help) {
    std::fputs(UsageText().c_str(), stdout);
    return 0;
  }
  if (commandLine->version) {
    const std::string version = ApplicationVersionText();  // " 1.2.3.4 "
    std::printf("rx40-tessel %s\n", version.empty() ? "(no version)" : version.substr(1, version.size() - 2).c_str());
    return 0;
  }
  SetDebugOutputEnabled(DebugOutputWanted(commandLine->verbose));
  QApplication application(argc, argv);

  const std::string executableFolder = FolderOfPath(QCoreApplication::applicationFilePath().toStdString());
  const std::string folder = commandLine->dataDir.empty() ? DefaultDataFolder(executableFolder) : commandLine->dataDir;
  if (folder != executableFolder && !EnsureDataFolder(folder, &error)) {
    std::fprintf(stderr, "rx40-tessel: %s\n", error.c_str());
    return 2;
  }
  SetProgramFolder(folder);  // the card keeps its tuned carriers there
  SetShippedDataFolder(ShippedDataFolderFor(executableFolder));
  ApplicationSetup setup;
  switch (setup.Start(*commandLine, &error)) {
    case SetupResult::Ready: break;
    case SetupResult::BadOptions:
      std::fprintf(stderr, "rx40-tessel: %s\n", error.c_str());
      return 2;
    case SetupResult::CardRefused:
      // Like the missing card: one application box, then the end.
      AfxMessageBox(error, MB_ICONERROR);
      return 1;
  }
  CBDAUtilApp app(folder);
  app.InitInstance();
  return app.ExitCode();
}
