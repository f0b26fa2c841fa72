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
#include <firebird/Interface.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/Arguments.h"
#include "host/FailureHint.h"
#include "host/ProgramVersion.h"
#include "host/QuitOnSignal.h"
#include "host/Screenshots.h"

namespace {

using ShowFunction = std::int32_t (*)(std::int32_t, std::int32_t);
using ErrorFunction = std::int32_t (*)(char*, std::int32_t);

struct HostArguments {
  bool help = false;
  bool version = false;
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
    "       brontelx-host --version | --help\n"
    "The window system's platform comes from QT_QPA_PLATFORM (offscreen: no display needed).\n"
    "Exit status 0 when the windows closed, 1 when the library failed, 2 when the arguments are wrong or\n"
    "there is no display.\n";

constexpr brontelx::cli::KnownOption kOptions[] = {
    {"--help", false}, {"-h", false}, {"--version", false}, {"--user", true}, {"--window-id", true}, {"--windows", true}, {"--screenshot", true}};

// Reads the arguments (arguments[0] is the program). Throws UsageError.
HostArguments Parse(const std::vector<std::string>& arguments) {
  using brontelx::cli::UsageError;
  using brontelx::cli::WholeNumber;
  const brontelx::cli::SplitArguments split =
      brontelx::cli::Split(std::vector<std::string>(arguments.begin() + 1, arguments.end()), kOptions);
  HostArguments parsed;
  bool userGiven = false;
  for (const brontelx::cli::SplitArguments::Option& option : split.options) {
    if (option.name == "--help" || option.name == "-h") {
      parsed.help = true;
      return parsed;
    }
    if (option.name == "--version") {
      parsed.version = true;
      return parsed;
    }
    if (option.name == "--user") {
      parsed.user = WholeNumber(option.value, "--user", "a user code, a whole number such as 1");
      userGiven = true;
    } else if (option.name == "--window-id") {
      parsed.windowId = WholeNumber(option.value, "--window-id", "a whole number");
    } else if (option.name == "--windows") {
      parsed.windows = WholeNumber(option.value, "--windows", "a whole number of at least 1", 1);
    } else {
      parsed.screenshotFolder = QFile::decodeName(option.value.c_str());
    }
  }
  for (const std::string& window : split.positional) {
    if (window != "settings" && window != "test") throw UsageError("unknown argument \"" + window + "\"");
    if (!parsed.window.empty()) throw UsageError("only one window can be named");
    parsed.window = window;
  }
  if (parsed.window.empty()) throw UsageError("name the window: settings or test");
  if (!userGiven) throw UsageError("--user is missing");
  return parsed;
}

std::string LibraryError(ErrorFunction lastError) {
  std::vector<char> message(static_cast<std::size_t>(lastError(nullptr, 0)) + 1);
  lastError(message.data(), static_cast<std::int32_t>(message.size()));
  return message.data();
}

// The Firebird client's version, loaded as the library would load it (by the system's search).
std::string ClientVersion() {
  void* client = dlopen("libfbclient.so.2", RTLD_NOW | RTLD_LOCAL);
  if (!client) {
    const std::string reason = dlerror();
    return "not loaded: " + reason + "\nhint: " + brontelx::cli::FailureHint(reason);
  }
  const auto entry = reinterpret_cast<Firebird::IMaster* (*)()>(dlsym(client, "fb_get_master_interface"));
  if (!entry) return "not usable: libfbclient.so.2 has no fb_get_master_interface";
  return brontelx::cli::ClientVersionText(entry()->getUtilInterface()->getClientVersion());
}

// Where X11 or Wayland is the platform, Qt aborts without a display; say so and how to run.
bool DisplayMissing() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  const bool needsDisplay = !platform || !*platform || std::string(platform).starts_with("xcb") ||
                            std::string(platform).starts_with("wayland");
  const auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
  };
  return needsDisplay && !set("DISPLAY") && !set("WAYLAND_DISPLAY");
}

// A failure of the library with what a person needs to act on it: the user directory this host
// uses and the dati.ini that may redirect it, a hint where the cause is recognisable, and the
// command that shows every database of the user.
std::string FailureReport(const std::string& message, std::int32_t user) {
  const QString folder = QDir(QApplication::applicationDirPath()).filePath("user");
  const QString ini = QDir(folder).filePath("dati.ini");
  std::string report = message + "\n  user directory: " + QDir(folder).filePath("user.fdb").toStdString() +
                       "\n  dati.ini: " + ini.toStdString() + (QFileInfo(ini).isFile() ? "" : " (none)");
  if (const std::string hint = brontelx::cli::FailureHint(message); !hint.empty()) report += "\n  hint: " + hint;
  return report + "\n  every database of the user, how it is reached and why it fails: brontelx info " +
         std::to_string(user);
}

}  // namespace

int main(int argc, char** argv) {
  HostArguments args;
  try {
    args = Parse(std::vector<std::string>(argv, argv + argc));
  } catch (const brontelx::cli::UsageError& e) {
    return brontelx::cli::ReportUsageError("brontelx-host", e.what(), kUsage);
  }
  if (args.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (args.version) {
    std::fputs(brontelx::cli::VersionText("brontelx-host", ClientVersion()).c_str(), stdout);
    return 0;
  }
  if (DisplayMissing()) {
    std::fputs("brontelx-host: no display: neither DISPLAY nor WAYLAND_DISPLAY is set.\n"
               "To run without one, save screenshots offscreen:\n"
               "  QT_QPA_PLATFORM=offscreen brontelx-host settings|test --user N --screenshot DIR\n",
               stderr);
    return 2;
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
      std::fprintf(stderr, "brontelx-host: %s\n", FailureReport(LibraryError(lastError), args.user).c_str());
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
