// brontelx-host: a host program for the library, standing in for the product's own. It creates the
// QApplication, loads libBrontelX.so from its own folder, opens one window through an entry point
// and runs until the last window has closed.
//
//   brontelx-host settings|test --user N [--window-id ID] [--windows COUNT] [--screenshot DIR]
//
// --windows opens that many windows, each through its own call, as a host that opens the same
// function several times does.
// --screenshot saves a PNG of the window once it is shown and closes it, for machines without a
// display (QT_QPA_PLATFORM=offscreen).
// The arguments are read before the window system is reached, so --help and a mistyped argument
// are answered without a display; the window system's platform is chosen with QT_QPA_PLATFORM.
// SIGINT, SIGTERM and SIGHUP close the windows and end the host with 128 + the signal's number.
#include <dlfcn.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "QuitOnSignal.h"
#include "Screenshots.h"

namespace {

using ShowFunction = std::int32_t (*)(std::int32_t, std::int32_t);
using ErrorFunction = std::int32_t (*)(char*, std::int32_t);

struct Arguments {
  bool help = false;
  std::string window;  // "settings" or "test"
  std::int32_t user = 0;
  std::int32_t windowId = 0;
  std::int32_t windows = 1;
  QString screenshotFolder;
};

constexpr char kUsage[] =
    "usage: brontelx-host settings|test --user N [--window-id ID] [--windows COUNT] [--screenshot DIR]\n"
    "  settings      the settings window (where the delivery-note database lives)\n"
    "  test          the test window (runs the delivery-note validation by hand)\n"
    "  --user N      the user code (UTENTI.CODICE) the window opens for\n"
    "  --window-id   the window-log row (TELVILOGFUNZ.IDFINESTRA) that records the window; 0 by default\n"
    "  --windows     how many windows to open, one call each; 1 by default\n"
    "  --screenshot  save a PNG of the window into DIR, then close it\n"
    "The window system's platform comes from QT_QPA_PLATFORM (offscreen: no display needed).\n";

int Usage(const std::string& problem) {
  std::fprintf(stderr, "brontelx-host: %s\n%s", problem.c_str(), kUsage);
  return 2;
}

std::optional<std::int32_t> Integer(const std::string& bytes) {
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(bytes.data(), bytes.data() + bytes.size(), value);
  if (bytes.empty() || error != std::errc() || end != bytes.data() + bytes.size()) return std::nullopt;
  return value;
}

// Reads the arguments (arguments[0] is the program); an error message when they are wrong.
std::optional<std::string> Parse(const std::vector<std::string>& args, Arguments& parsed) {
  bool userGiven = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--help" || arg == "-h") {
      parsed.help = true;
      return std::nullopt;
    } else if (arg == "settings" || arg == "test") {
      if (!parsed.window.empty()) return "only one window can be named";
      parsed.window = arg;
    } else if (arg == "--user" || arg == "--window-id" || arg == "--windows") {
      if (!hasValue) return arg + " needs a number";
      const std::optional<std::int32_t> value = Integer(args[++i]);
      if (!value) return arg + " needs a whole number, not \"" + args[i] + "\"";
      if (arg == "--windows" && *value < 1) return "--windows needs at least 1";
      (arg == "--user" ? parsed.user : arg == "--windows" ? parsed.windows : parsed.windowId) = *value;
      userGiven = userGiven || arg == "--user";
    } else if (arg == "--screenshot") {
      if (!hasValue) return "--screenshot needs a folder";
      parsed.screenshotFolder = QFile::decodeName(args[++i].c_str());
    } else {
      return "unknown argument \"" + arg + "\"";
    }
  }
  if (parsed.window.empty()) return "name the window: settings or test";
  if (!userGiven) return "--user is missing";
  return std::nullopt;
}

std::string LibraryError(ErrorFunction lastError) {
  std::vector<char> message(static_cast<std::size_t>(lastError(nullptr, 0)) + 1);
  lastError(message.data(), static_cast<std::int32_t>(message.size()));
  return message.data();
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  if (const std::optional<std::string> problem = Parse(std::vector<std::string>(argv, argv + argc), args))
    return Usage(*problem);
  if (args.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  QApplication application(argc, argv);
  brontelx::host::QuitOnSignal();

  const QString path = QDir(QApplication::applicationDirPath()).filePath("libBrontelX.so");
  void* library = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    std::fprintf(stderr, "brontelx-host: cannot load the library: %s\n", dlerror());
    return 1;
  }
  const char* entryPoint = args.window == "settings" ? "ShowVelDatiValidazPersFormX" : "ShowVelCollaudiPersFormX";
  auto show = reinterpret_cast<ShowFunction>(dlsym(library, entryPoint));
  auto lastError = reinterpret_cast<ErrorFunction>(dlsym(library, "GetUltimoErroreX"));
  if (!show || !lastError) {
    std::fprintf(stderr, "brontelx-host: %s does not export the entry points\n", path.toLocal8Bit().constData());
    return 1;
  }

  for (std::int32_t i = 0; i < args.windows; ++i) {
    if (show(args.user, args.windowId) != 0) {
      std::fprintf(stderr, "brontelx-host: %s\n", LibraryError(lastError).c_str());
      return 1;
    }
  }

  int status = 0;
  if (!args.screenshotFolder.isEmpty()) {
    QTimer::singleShot(0, &application, [&] {
      int count = 0;
      for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible()) continue;
        try {
          brontelx::host::WaitUntilShown(*window);
          const QString name = QString::fromStdString(args.window) + (count++ ? QString::number(count) : QString());
          const QString saved = brontelx::host::SaveScreenshot(*window, args.screenshotFolder, name);
          std::printf("%s\n", QDir::toNativeSeparators(saved).toLocal8Bit().constData());
        } catch (const std::exception& e) {
          std::fprintf(stderr, "brontelx-host: %s\n", e.what());
          status = 1;
        }
        window->close();
      }
    });
  }
  const int result = QApplication::exec();
  // Windows closed at the end release themselves through the event queue.
  QCoreApplication::sendPostedEvents();
  return status != 0 ? status : result;
}
