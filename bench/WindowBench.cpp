// Opening the test window through its entry point, until it is shown, against the same work on
// the plain API and plain Qt: the session start's floor, the window-log write of the window's
// handle with its commit, the placement read in the archive's new attachment, and a window with the
// same controls, captioned, placed and shown. Closing the window and ending its session (or the
// floor's detaches) are left out of both.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <memory>
#include <stdexcept>
#include <string>

#include "bench/Fixtures.h"
#include "bench/Registration.h"
#include "bench/SessionData.h"
#include "forms/descriptions/VelCollaudiPersonalizzazioni.Description.h"
#include "library/BrontelX.h"

namespace brontelx::bench {
namespace {

// Marks the floor's windows, which the library side's clean-up leaves alone.
constexpr char kFloorWindow[] = "brontelxBenchFloor";

constexpr char kPlacementRead[] =
    "SELECT * FROM \"STOPOS1\"\nWHERE (CodiceSituazione=2)\nAND (CodiceUtente=1)\nAND (CodiceProgetto=541)";

QString Text(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// A plain Qt window with the controls of the description: kinds, names, captions, geometry.
std::unique_ptr<QWidget> PlainWindow(const platform::WindowDescription& description) {
  auto window = std::make_unique<QWidget>();
  window->setProperty(kFloorWindow, true);
  window->setWindowTitle(Text(description.caption));
  window->resize(description.clientWidth, description.clientHeight);
  QFont font(Text(description.font.family));
  font.setPixelSize(description.font.pixelHeight);
  window->setFont(font);
  for (const platform::ControlDescription& control : description.controls) {
    QWidget* parent = control.parent.empty() ? window.get() : window->findChild<QWidget*>(Text(control.parent));
    QWidget* widget = nullptr;
    switch (control.kind) {
      case platform::ControlKind::Button:
        widget = new QPushButton(Text(control.caption), parent);
        break;
      case platform::ControlKind::Edit: {
        auto* edit = new QLineEdit(Text(control.caption), parent);
        edit->setReadOnly(control.readOnly);
        widget = edit;
        break;
      }
      case platform::ControlKind::GroupBox:
        widget = new QGroupBox(Text(control.caption), parent);
        break;
      case platform::ControlKind::Label:
        widget = new QLabel(Text(control.caption), parent);
        break;
    }
    widget->setObjectName(Text(control.name));
    widget->setGeometry(control.rect.left, control.rect.top, control.rect.width, control.rect.height);
  }
  return window;
}

Side Library() {
  Shared<SessionDatabases>();
  Side side{[] {
              if (ShowVelCollaudiPersFormX(kSessionUser, kWindowLogId) != 0)
                throw std::runtime_error("the test window did not open");
            },
            [] {
              for (QWidget* window : QApplication::topLevelWidgets()) {
                if (!window->property(kFloorWindow).toBool()) window->close();
              }
              QCoreApplication::sendPostedEvents();
            }};
  side.run();
  return side;
}

struct FloorWindow {
  db::Status status;
  std::string userFile = Shared<SessionDatabases>().userFile.string();
  platform::WindowDescription description = VelCollaudiPersonalizzazioniDescription();
  FloorSession session;
  std::unique_ptr<QWidget> window;

  ~FloorWindow() { Close(); }

  void Close() {
    window.reset();
    EndFloorSession(status, session);
  }

  void Open() {
    window = PlainWindow(description);
    session = StartFloorSession(status, userFile, kSessionUser);
    const std::string handleWrite = "UPDATE TELVILOGFUNZ SET\nHANDLEFINESTRA=" + std::to_string(window->winId()) +
                                    "\nWHERE\n  IDFINESTRA=" + std::to_string(kWindowLogId);
    Firebird::ITransaction* transaction =
        session.users->startTransaction(status.Get(), sizeof floor::kSnapshotTpb, floor::kSnapshotTpb);
    Firebird::IStatement* write = session.users->prepare(status.Get(), transaction, 0, handleWrite.c_str(),
                                                         floor::kDialect, floor::kPrepareFlags);
    write->execute(status.Get(), transaction, nullptr, nullptr, nullptr, nullptr);
    transaction->commit(status.Get());
    write->free(status.Get());

    window->setWindowTitle(Text("Collaudo Personalizzazioni - Utente: " + session.name + " - Ditta: " + session.company));
    // The columns of STOPOS1 in order: the three codes, POSX, POSY, DIMX, DIMY, NOTE.
    FirstRow(
        status, session.archive, kPlacementRead, [](floor::Message&) {},
        [&](const floor::Message& row) {
          window->move(static_cast<int>(row.Int(3)), static_cast<int>(row.Int(4)));
          window->resize(static_cast<int>(row.Int(5)), static_cast<int>(row.Int(6)));
        });
    window->findChild<QLineEdit*>(velcollaudi::kEditUserAutenticaz)->setText(QString::number(kSessionUser));
    window->show();
  }
};

Side Floor() {
  auto floor = std::make_shared<FloorWindow>();
  Side side{[floor] { floor->Open(); }, [floor] { floor->Close(); }};
  side.run();
  return side;
}

}  // namespace

void RegisterWindowBenchmarks(RatioReporter& reporter) {
  RegisterPair(reporter, "8 Test window through its entry point: library/floor", "Window", Library, Floor,
               {1.10});
}

}  // namespace brontelx::bench
