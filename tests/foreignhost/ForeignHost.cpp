// A host program as one written outside the project would be: it links only Qt, loads the library
// by the path it is given (relative ones included, after changing its current folder if asked),
// opens the test window through the entry point, runs the validation through the window's controls
// and reports what it saw on standard output:
//
//   foreign-host LIBRARY --user N --datum TEXT [--cd-before DIR] [--cd-after DIR] [--stay-open]
//                [--closed-stdio] [--unload] [--inheritable]
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
// --closed-stdio: the host starts as a service may, without descriptors 0-2; after the validation
// it writes to its standard output and error, then reports what those are ("stdio: ...").
// --unload: the host unloads the library (dlclose) with the window open, then runs the validation
// again through the window ("after unload: <result>").
// --inheritable: reports the files opened since the library was loaded that a program started now
// would inherit ("inheritable: ...").
#include <dlfcn.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
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

std::string Target(int fd) {
  std::error_code error;
  return std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), error).string();
}

// What descriptors 0-2 are, once the host wrote to its standard output and error.
std::string StandardFiles() {
  static_cast<void>(write(1, "output\n", 7));
  static_cast<void>(write(2, "error\n", 6));
  return Target(0) + " " + Target(1) + " " + Target(2);
}

std::vector<int> Descriptors() {
  std::vector<int> fds;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
    fds.push_back(std::atoi(entry.path().filename().c_str()));
  return fds;
}

// What a program started now would inherit of the descriptors opened since `before`.
std::string Inheritable(const std::vector<int>& before) {
  std::string result;
  for (const int fd : Descriptors()) {
    const int flags = fcntl(fd, F_GETFD);
    if (std::find(before.begin(), before.end(), fd) == before.end() && flags >= 0 && !(flags & FD_CLOEXEC))
      result += " " + Target(fd);
  }
  return result;
}

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
  bool stayOpen = false, closedStdio = false, unload = false, inheritable = false;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--stay-open") {
      stayOpen = true;
    } else if (arg == "--closed-stdio") {
      closedStdio = true;
    } else if (arg == "--unload") {
      unload = true;
    } else if (arg == "--inheritable") {
      inheritable = true;
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
  // Standard output is kept aside to report on at the end.
  const int report = closedStdio ? fcntl(1, F_DUPFD_CLOEXEC, 10) : 1;
  if (closedStdio) {
    for (int fd = 0; fd <= 2; ++fd) close(fd);
  }
  const std::vector<int> hostDescriptors = Descriptors();
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
  std::string lines = "result: " + window->findChild<QLineEdit*>("EditRisultato")->text().toStdString() + "\n";
  if (closedStdio) {
    lines += "stdio: " + StandardFiles() + "\n";
    dup2(report, 1);
  }
  if (inheritable) lines += "inheritable:" + Inheritable(hostDescriptors) + "\n";
  if (unload) {
    dlclose(handle);
    QCoreApplication::processEvents();
    window->findChild<QPushButton*>("ButtonTestVelZidBol")->click();
    lines += "after unload: " + window->findChild<QLineEdit*>("EditRisultato")->text().toStdString() + "\n";
  }
  std::printf("%s", lines.c_str());
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
