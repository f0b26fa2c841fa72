// A host program as one written outside the project would be: it links only Qt, loads the library
// by the path it is given (relative ones included, after changing its current folder if asked),
// opens the test window through the entry point, runs the validation through the window's controls
// and reports what it saw on standard output:
//
//   foreign-host LIBRARY --user N --datum TEXT [--cd-before DIR] [--cd-after DIR] [--stay-open]
//
//   result: <the window's result text>
//   firebird: <FIREBIRD as the library left it>
//   signals: same | changed (<the dispositions before> / <after>)
//
// Before it closes the window, a signal of the host's own interrupts its main thread while that
// waits, as SIGCHLD does in any host that starts programs. The dispositions are compared from
// before the library is loaded to after its window has closed (or, with --stay-open, while it is
// open). --stay-open then prints "open" and runs the event
// loop with the window open until something ends the process. Exit status 1 when the library
// cannot be loaded or refuses the call.
#include <dlfcn.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// The caught and ignored signals of the process, as the system reports them.
std::string Dispositions() {
  std::ifstream status("/proc/self/status");
  std::string result;
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("SigCgt:", 0) == 0 || line.rfind("SigIgn:", 0) == 0) result += (result.empty() ? "" : " ") + line;
  }
  return result;
}

void Ignore(int) {}

// Interrupts a wait of the main thread with the host's own SIGUSR1.
void InterruptMainThread() {
  const pthread_t main = pthread_self();
  std::thread([main] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    pthread_kill(main, SIGUSR1);
  }).detach();
  sleep(5);
}

QWidget* OpenWindow() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible()) return window;
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const char* library = argv[1];
  std::int32_t user = 0;
  std::string datum, cdBefore, cdAfter;
  bool stayOpen = false;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--stay-open") {
      stayOpen = true;
    } else if (i + 1 < argc && arg == "--user") {
      user = std::atoi(argv[++i]);
    } else if (i + 1 < argc && arg == "--datum") {
      datum = argv[++i];
    } else if (i + 1 < argc && arg == "--cd-before") {
      cdBefore = argv[++i];
    } else if (i + 1 < argc && arg == "--cd-after") {
      cdAfter = argv[++i];
    } else {
      std::fprintf(stderr, "foreign-host: unknown argument %s\n", arg.c_str());
      return 2;
    }
  }

  QApplication application(argc, argv);
  // A host has threads of its own before it loads anything; the C library takes its internal
  // signals with the first one.
  std::thread([] {}).join();
  struct sigaction own {};
  own.sa_handler = Ignore;
  sigaction(SIGUSR1, &own, nullptr);
  const std::string before = Dispositions();

  if (!cdBefore.empty() && chdir(cdBefore.c_str()) != 0) return 2;
  void* handle = dlopen(library, RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    std::fprintf(stderr, "foreign-host: %s\n", dlerror());
    return 1;
  }
  if (!cdAfter.empty() && chdir(cdAfter.c_str()) != 0) return 2;
  using Show = std::int32_t (*)(std::int32_t, std::int32_t);
  using LastError = std::int32_t (*)(char*, std::int32_t);
  const auto show = reinterpret_cast<Show>(dlsym(handle, "ShowVelCollaudiPersFormX"));
  const auto lastError = reinterpret_cast<LastError>(dlsym(handle, "GetUltimoErroreX"));
  if (!show || !lastError) return 1;
  if (show(user, 0) != 0) {
    std::vector<char> message(static_cast<std::size_t>(lastError(nullptr, 0)) + 1);
    lastError(message.data(), static_cast<std::int32_t>(message.size()));
    std::fprintf(stderr, "foreign-host: %s\n", message.data());
    return 1;
  }

  QWidget* window = OpenWindow();
  if (!window) return 1;
  window->findChild<QLineEdit*>("EditDatoAcquisito")->setText(QString::fromStdString(datum));
  window->findChild<QPushButton*>("ButtonTestVelZidBol")->click();
  std::printf("result: %s\n", window->findChild<QLineEdit*>("EditRisultato")->text().toStdString().c_str());
  const char* firebird = std::getenv("FIREBIRD");
  std::printf("firebird: %s\n", firebird ? firebird : "");
  if (stayOpen) {
    const std::string open = Dispositions();
    std::printf("signals: %s\nopen\n", open == before ? "same" : ("changed (" + before + " / " + open + ")").c_str());
    std::fflush(stdout);
    return QApplication::exec();
  }
  InterruptMainThread();
  window->close();
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
  const std::string after = Dispositions();
  std::printf("signals: %s\n", after == before ? "same" : ("changed (" + before + " / " + after + ")").c_str());
  return 0;
}
