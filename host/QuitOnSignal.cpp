#include "host/QuitOnSignal.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <cerrno>
#include <system_error>

namespace brontelx::host {
namespace {

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The pipe from the handler to the event loop: [0] read, [1] write.
int signalPipe[2] = {-1, -1};

void OnSignal(int number) {
  const int saved = errno;
  // A second signal takes the default action: the host ends at once if the clean end hangs.
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigaction(number, &fallback, nullptr);
  const unsigned char byte = static_cast<unsigned char>(number);
  [[maybe_unused]] const ssize_t written = write(signalPipe[1], &byte, 1);
  errno = saved;
}

void EndCleanly() {
  unsigned char number = 0;
  if (read(signalPipe[0], &number, 1) != 1) return;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible()) window->close();
  }
  QCoreApplication::exit(128 + number);
}

}  // namespace

void QuitOnSignal() {
  if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
    throw std::system_error(errno, std::generic_category(), "cannot create the signal pipe");
  auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { EndCleanly(); });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int number : kEndingSignals) sigaction(number, &action, nullptr);
}

}  // namespace brontelx::host
