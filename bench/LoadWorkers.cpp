#include "bench/LoadWorkers.h"

#include <time.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <exception>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "bench/FloorSession.h"
#include "bench/VelZidBolData.h"
#include "bench/VelZidBolFloor.h"
#include "forms/VelDatiValidazPers.Form.h"
#include "forms/descriptions/VelDatiValidazPers.Description.h"
#include "library/HostWindows.h"
#include "platform/qt/QtBackend.h"
#include "session/BrontelX.Classes.h"
#include "validations/VelValidazPers.h"

namespace brontelx::bench {
namespace {

using Clock = std::chrono::steady_clock;

// The CPU time of this process (all its threads: the client library's own included).
std::int64_t ProcessCpuMicroseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

void WaitForGo() {
  std::cout << "ready" << std::endl;
  std::string line;
  std::getline(std::cin, line);
}

}  // namespace

int RunValidationClient(bool library, std::int32_t user, const std::string& userDirectory) {
  std::function<std::string()> validate;
  std::unique_ptr<TSessione> session;
  db::Status status;
  FloorSession raw;
  if (library) {
    session = std::make_unique<TSessione>();
    session->Avvia(user);
    validate = [&] { return EseguiValidazPers(session->IBDatabase(), "VelZidBol", kLogUser, kAcceptedCode); };
  } else {
    raw = StartFloorSession(status, userDirectory, user);
    validate = [&] { return FloorVelZidBol(status, raw.archive, kLogUser, kAcceptedCode); };
  }
  std::cout << "ready" << std::endl;

  std::string command;
  for (int round = 1; std::cin >> command && command == "go"; ++round) {
    double seconds = 0;
    std::cin >> seconds;
    std::vector<std::int64_t> latencies;
    std::int64_t errors = 0;
    std::string firstError;
    const std::int64_t cpuBefore = ProcessCpuMicroseconds();
    const auto begin = Clock::now();
    const auto stop = begin + std::chrono::duration<double>(seconds);
    while (Clock::now() < stop) {
      const auto start = Clock::now();
      std::string result;
      try {
        result = validate();
      } catch (const std::exception& e) {
        result = e.what();
      }
      latencies.push_back(std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count());
      if (result != "OK" && errors++ == 0) firstError = result;
    }
    const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - begin).count();
    std::cout << "done " << latencies.size() << " " << errors << " " << ProcessCpuMicroseconds() - cpuBefore << " "
              << elapsed << "\nlatencies";
    for (const std::int64_t latency : latencies) std::cout << " " << latency;
    std::cout << "\n";
    if (!firstError.empty()) {
      std::replace(firstError.begin(), firstError.end(), '\n', ' ');
      std::cout << "error " << firstError << "\n";
    }
    std::cout << "end " << round << std::endl;
  }
  if (library) {
    session.reset();
  } else {
    EndFloorSession(status, raw);
  }
  return 0;
}

int RunSettingsHost(std::int32_t user, int rounds, int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  // The error box prints its message on one line instead of waiting for a click.
  struct PrintingBackend final : platform::qt::QtBackend {
    void ShowError(const std::string& message) override {
      std::string line = message;
      std::replace(line.begin(), line.end(), '\n', ' ');
      std::replace(line.begin(), line.end(), '\r', ' ');
      std::cout << "errorbox " << line << std::endl;
    }
  };
  static PrintingBackend toolkit;
  platform::UseBackend(&toolkit);
  WaitForGo();
  for (int round = 1; round <= rounds; ++round) {
    const auto begin = std::chrono::system_clock::now().time_since_epoch();
    // The entry point's own code, built into this program, so that the backend installed above
    // is the one its windows use.
    try {
      ShowHostWindow<TVelDatiValidazPersForm>(user, 0);
    } catch (const std::exception& e) {
      std::cout << "errorbox the settings window did not open: " << e.what() << std::endl;
      continue;
    }
    QWidget* window = nullptr;
    for (QWidget* candidate : QApplication::topLevelWidgets()) {
      if (candidate->isVisible() && candidate->findChild<QLineEdit*>(veldati::kEditVelZidBolDBRux)) window = candidate;
    }
    const std::string location = "127.0.0.1/3050:/dati/postazione" + std::to_string(user) + "-" + std::to_string(round) + ".fdb";
    const int x = 10 * user;
    const int y = round;
    window->findChild<QLineEdit*>(veldati::kEditVelZidBolDBRux)->setText(QString::fromStdString(location));
    window->move(x, y);
    window->findChild<QPushButton*>(veldati::kButtonChiudi)->click();
    QCoreApplication::sendPostedEvents();
    const auto end = std::chrono::system_clock::now().time_since_epoch();
    std::cout << "saved " << std::chrono::duration_cast<std::chrono::nanoseconds>(begin).count() << " "
              << std::chrono::duration_cast<std::chrono::nanoseconds>(end).count() << " " << location
              << " " << x << " " << y << std::endl;
  }
  return 0;
}

}  // namespace brontelx::bench
