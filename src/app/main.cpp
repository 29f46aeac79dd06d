// quillon-agent: parses the command line, wires the adapters, runs the loop.
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/check_job.h"
#include "app/command_line.h"
#include "app/render_escpos.h"
#if QUILLON_WITH_GUI
#include <QApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

#include "app/agent.h"
#include "app/agent_wiring.h"
#include "app/diagnostics.h"
#include "app/display.h"
#include "app/settings_file.h"
#include "app/ticket_commands.h"
#elif defined(_WIN32)
#include "app/agent.h"
#include "app/agent_wiring.h"
#include "app/diagnostics.h"
#include "app/settings_file.h"
#include "app/ticket_commands.h"
#endif

namespace {

namespace app = quillon::app;

#if QUILLON_WITH_GUI || defined(_WIN32)
// The agent.conf that applies. Linux keeps it in the user's configuration folder, whatever the
// data folder (which is not made here for it); Windows in the data folder.
std::filesystem::path SettingsFileFor([[maybe_unused]] const app::CommandLine& line) {
#if QUILLON_WITH_GUI
  return app::SettingsFile({});
#else
  return app::SettingsFile(app::DataDir(line));
#endif
}

// Once the toolkit is up: the one-off command the line asks for, or else the agent itself.
// `settings_error` says why `settings_file` was not applied, for the diagnostics.
int RunCommand(const app::CommandLine& line, bool headless,
               const std::filesystem::path& settings_file, const std::string& settings_error) {
  if (!line.print_job.empty()) return app::RunPrintJob(line);
  if (line.list_tickets) return app::RunListTickets(line);
  if (line.reprint) return app::RunReprint(line);
  if (line.discard) return app::RunDiscard(line);
  if (!line.diagnostics.empty()) {
    return app::RunDiagnostics({line, app::DataDir(line), settings_file, settings_error});
  }
  if (!line.test_print.empty()) return app::RunTestPrint(line);
  return app::RunAgent(line, headless);
}
#endif

#if QUILLON_WITH_GUI
// The Qt application: with widgets on a desktop; without a desktop the pages for driver
// printers are still drawn, off screen.
std::unique_ptr<QGuiApplication> MakeApplication(int& argc, char** argv, bool headless) {
  if (!headless) return std::make_unique<QApplication>(argc, argv);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  app::EnsureRuntimeDir();
  return std::make_unique<QGuiApplication>(argc, argv);
}
#endif

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  auto line = app::ParseCommandLine(argc, argv, &error);
  if (!line) {
    std::fprintf(stderr, "%s\n\n%s", error.c_str(), app::UsageText());
    return 2;
  }
  if (line->help) {
    std::fputs(app::UsageText(), stdout);
    return 0;
  }
  if (line->version) {
    std::printf("quillon-agent %s\n", QUILLON_VERSION);
    return 0;
  }
  if (!line->render_escpos.empty()) {
    return app::RenderEscPosFile(line->render_escpos, line->render_output);
  }
#if QUILLON_WITH_GUI || defined(_WIN32)
  // agent.conf fills in what the flags left out; a bad file stops the start, not half of it.
  // The diagnostics take it as it is, with the reason it was not applied.
  const std::filesystem::path settings_file = SettingsFileFor(*line);
  std::string settings_error;
  if (!app::ApplySettingsFile(settings_file, &*line, &settings_error) &&
      line->diagnostics.empty()) {
    std::fprintf(stderr, "%s\nEl agente no se inicia.\n", settings_error.c_str());
    return 2;
  }
#endif
  if (!line->check_job.empty()) return app::CheckJob(line->check_job, line->encoding);
#if QUILLON_WITH_GUI
  const bool one_off = !line->print_job.empty() || line->list_tickets ||
                       line->reprint.has_value() || line->discard.has_value() ||
                       !line->diagnostics.empty();
  const bool headless = line->headless || one_off || !app::DisplayAvailable();
  const std::unique_ptr<QGuiApplication> application = MakeApplication(argc, argv, headless);
  QCoreApplication::setApplicationName(QStringLiteral("quillon-agent"));
  QTranslator translator;
  if (translator.load(QLocale(QStringLiteral("es")), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(&translator);
  }
  return RunCommand(*line, headless, settings_file, settings_error);
#elif defined(_WIN32)
  return RunCommand(*line, line->headless, settings_file, settings_error);
#else
  std::fputs("Este quillon-agent se construyo sin Qt: solo ofrece --check-job.\n", stderr);
  return 1;
#endif
}
