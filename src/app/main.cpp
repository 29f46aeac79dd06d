// quillon-agent: parses the command line, wires the adapters, runs the loop.
#include <cstdio>
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
#include "app/display.h"
#include "app/settings_file.h"
#include "app/ticket_commands.h"
#elif defined(_WIN32)
#include "app/agent.h"
#include "app/ticket_commands.h"
#endif

int main(int argc, char** argv) {
  std::string error;
  auto line = quillon::app::ParseCommandLine(argc, argv, &error);
  if (!line) {
    std::fprintf(stderr, "%s\n\n%s", error.c_str(), quillon::app::UsageText());
    return 2;
  }
  if (line->help) {
    std::fputs(quillon::app::UsageText(), stdout);
    return 0;
  }
  if (line->version) {
    std::printf("quillon-agent %s\n", QUILLON_VERSION);
    return 0;
  }
  if (!line->render_escpos.empty()) {
    return quillon::app::RenderEscPosFile(line->render_escpos, line->render_output);
  }
#if QUILLON_WITH_GUI
  // agent.conf fills in what the flags left out; a bad file stops the start, not half of it.
  if (!quillon::app::ApplySettingsFile(quillon::app::SettingsFilePath(), &*line, &error)) {
    std::fprintf(stderr, "%s\nEl agente no se inicia.\n", error.c_str());
    return 2;
  }
#endif
  if (!line->check_job.empty()) return quillon::app::CheckJob(line->check_job, line->encoding);
#if QUILLON_WITH_GUI
  const bool one_off = !line->print_job.empty() || line->list_tickets ||
                       line->reprint.has_value() || line->discard.has_value();
  const bool headless = line->headless || one_off || !quillon::app::DisplayAvailable();
  // Without a desktop the pages for driver printers are still drawn, off screen.
  if (headless) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    quillon::app::EnsureRuntimeDir();
  }
  std::unique_ptr<QGuiApplication> application;
  if (headless) {
    application = std::make_unique<QGuiApplication>(argc, argv);
  } else {
    application = std::make_unique<QApplication>(argc, argv);
  }
  QCoreApplication::setApplicationName(QStringLiteral("quillon-agent"));
  QTranslator translator;
  if (translator.load(QLocale(QStringLiteral("es")), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(&translator);
  }
  if (!line->print_job.empty()) return quillon::app::RunPrintJob(*line);
  if (line->list_tickets) return quillon::app::RunListTickets(*line);
  if (line->reprint) return quillon::app::RunReprint(*line);
  if (line->discard) return quillon::app::RunDiscard(*line);
  return quillon::app::RunAgent(*line, headless);
#elif defined(_WIN32)
  if (!line->print_job.empty()) return quillon::app::RunPrintJob(*line);
  if (line->list_tickets) return quillon::app::RunListTickets(*line);
  if (line->reprint) return quillon::app::RunReprint(*line);
  if (line->discard) return quillon::app::RunDiscard(*line);
  return quillon::app::RunAgent(*line, line->headless);
#else
  std::fputs("Este quillon-agent se construyo sin Qt: solo ofrece --check-job.\n", stderr);
  return 1;
#endif
}
