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
#include <dlfcn.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "Screenshots.h"

namespace {

using ShowFunction = std::int32_t (*)(std::int32_t, std::int32_t);
using ErrorFunction = std::int32_t (*)(char*, std::int32_t);

struct Arguments {
  std::string window;  // "settings" or "test"
  std::int32_t user = 0;
  std::int32_t windowId = 0;
  std::int32_t windows = 1;
  QString screenshotFolder;
};

int Usage(const std::string& problem) {
  std::fprintf(stderr,
               "brontelx-host: %s\n"
               "usage: brontelx-host settings|test --user N [--window-id ID] [--windows COUNT] [--screenshot DIR]\n"
               "  settings      the settings window (where the delivery-note database lives)\n"
               "  test          the test window (runs the delivery-note validation by hand)\n"
               "  --user N      the user code (UTENTI.CODICE) the window opens for\n"
               "  --window-id   the window-log row (TELVILOGFUNZ.IDFINESTRA) that records the window; 0 by default\n"
               "  --windows     how many windows to open, one call each; 1 by default\n"
               "  --screenshot  save a PNG of the window into DIR, then close it\n",
               problem.c_str());
  return 2;
}

std::optional<std::int32_t> Integer(const QString& text) {
  const std::string bytes = text.toStdString();
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(bytes.data(), bytes.data() + bytes.size(), value);
  if (bytes.empty() || error != std::errc() || end != bytes.data() + bytes.size()) return std::nullopt;
  return value;
}

// Reads the arguments after Qt has taken its own; an error message when they are wrong.
std::optional<std::string> Parse(const QStringList& args, Arguments& parsed) {
  bool userGiven = false;
  for (int i = 1; i < args.size(); ++i) {
    const QString& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "settings" || arg == "test") {
      if (!parsed.window.empty()) return "only one window can be named";
      parsed.window = arg.toStdString();
    } else if (arg == "--user" || arg == "--window-id" || arg == "--windows") {
      if (!hasValue) return arg.toStdString() + " needs a number";
      const std::optional<std::int32_t> value = Integer(args[++i]);
      if (!value) return arg.toStdString() + " needs a whole number, not \"" + args[i].toStdString() + "\"";
      if (arg == "--windows" && *value < 1) return "--windows needs at least 1";
      (arg == "--user" ? parsed.user : arg == "--windows" ? parsed.windows : parsed.windowId) = *value;
      userGiven = userGiven || arg == "--user";
    } else if (arg == "--screenshot") {
      if (!hasValue) return "--screenshot needs a folder";
      parsed.screenshotFolder = args[++i];
    } else {
      return "unknown argument \"" + arg.toStdString() + "\"";
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
  QApplication application(argc, argv);
  Arguments args;
  if (const std::optional<std::string> problem = Parse(QApplication::arguments(), args)) return Usage(*problem);

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
