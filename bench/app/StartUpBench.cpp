// Start-up of the program to an idle main window, offscreen: the core set up (its data folder
// with the settings and reference files written on the first start), the main window built,
// shown and painted once, every pending event handled. The first start of the process is timed
// on its own and printed before the benchmark runs, since it includes what Qt sets up once per
// process (the application object, the fonts).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QStringList>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/frame/BrixoApp.h"
#include "platform/UiRegistry.h"
#include "platform/qt/LookAndFeel.h"
#include "platform/qt/QtUi.h"

namespace {

// Starts the program and returns once its window is idle; the program ends with the scope.
void StartToIdle() {
  CBrixoApp program;
  program.InitInstance({QStringLiteral("Brixo")});
  QApplication::processEvents();
  benchmark::DoNotOptimize(program.MainFrame());
}

void BM_StartToIdleWindow(benchmark::State& state) {
  for (auto _ : state) StartToIdle();
}
BENCHMARK(BM_StartToIdleWindow)->Unit(benchmark::kMillisecond);

// A data folder and a settings folder of the run's own, so the user's are never touched.
std::filesystem::path IsolateFolders() {
  std::string pattern = (std::filesystem::temp_directory_path() / "brixo-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return {};
  const std::filesystem::path root(pattern);
  const std::filesystem::path runtime = root / "runtime";
  std::filesystem::create_directories(runtime);
  std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
  setenv("BRIXO_HOME", (root / "data").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  return root;
}

// The offscreen platform's notice on every window shown says nothing about the start-up.
void QuietOffscreenNotices(QtMsgType type, const QMessageLogContext& /*context*/,
                           const QString& message) {
  if (message.contains(QStringLiteral("propagateSizeHints"))) return;
  std::fprintf(stderr, "%s\n", message.toUtf8().constData());
  if (type == QtFatalMsg) std::abort();
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  const std::filesystem::path folders = IsolateFolders();
  qInstallMessageHandler(&QuietOffscreenNotices);
  const auto begin = std::chrono::steady_clock::now();
  {
    QApplication qtApp(argc, argv);
    InstallLookAndFeel();
    InstallUi(std::make_unique<QtUi>());
    StartToIdle();
    const std::chrono::duration<double, std::milli> cold = std::chrono::steady_clock::now() - begin;
    std::printf("First start in a new process, to an idle window: %.1f ms\n", cold.count());

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    InstallUi(nullptr);
  }
  std::error_code ignored;
  if (!folders.empty()) std::filesystem::remove_all(folders, ignored);
  return 0;
}
