#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>

#include "forms/VelCollaudiPersonalizzazioni.Form.h"
#include "forms/descriptions/VelCollaudiPersonalizzazioni.Description.h"
#include "library/HostWindows.h"
#include "tests/forms/WindowChecks.h"
#include "tests/support/ValidationFixture.h"

namespace brontelx {
namespace {

using namespace velcollaudi;

using testing::Click;
using testing::WidgetOf;

// The test window of user 15 on an archive whose delivery-note database holds B1 and B2. User 15
// has just opened a chain; B2 belongs to a chain without an opening.
class VelCollaudiFormTest : public testing::ValidationFixture {
 protected:
  void SetUp() override {
    ValidationFixture::SetUp();
    AddDeliveryNote("B1");
    AddDeliveryNote("B2");
    Log(1, 1, 15, "APERTURA");
    Log(2, 2, 15, "B2");
    Log(3, 3, 15, "APERTURA");
  }

  // Types the user field and the datum, runs the validation and returns what the result field shows.
  std::string Run(const std::string& user, const std::string& datum) {
    form->Window().SetText(kEditUserAutenticaz, user);
    form->Window().SetText(kEditDatoAcquisito, datum);
    Click(*form, kButtonTestVelZidBol);
    return form->Window().Text(kEditRisultato);
  }

  TVelCollaudiPersonalizzazioniForm* form = nullptr;
};

TEST_F(VelCollaudiFormTest, ControlsFollowTheirTable) {
  form = &ShowHostWindow<TVelCollaudiPersonalizzazioniForm>(kUser, kWindowLogId);
  QWidget* window = WidgetOf(*form);
  EXPECT_EQ(form->Window().Caption(), "Collaudo Personalizzazioni - Utente: ROSSI MARIO - Ditta: ALFA SRL");
  EXPECT_EQ(window->size(), QSize(500, 310));
  EXPECT_EQ(window->font().family(), "Tahoma");
  EXPECT_EQ(window->font().pixelSize(), 13);
  testing::ExpectControls(
      window, {
                  {kGroupBoxCollaudo, "QGroupBox", "", {8, 8, 484, 294}, "Test Validazioni Personalizzate"},
                  {kLabelFunzione, "QLabel", kGroupBoxCollaudo, {16, 30, 140, 16}, "Funzione: VelZidBol"},
                  {kLabel1, "QLabel", kGroupBoxCollaudo, {16, 64, 112, 16}, "USER_AUTENTICAZ"},
                  {kEditUserAutenticaz, "QLineEdit", kGroupBoxCollaudo, {16, 82, 121, 24}, "15"},
                  {kLabel2, "QLabel", kGroupBoxCollaudo, {16, 112, 81, 16}, "Dato Acquisito"},
                  {kEditDatoAcquisito, "QLineEdit", kGroupBoxCollaudo, {16, 130, 300, 24}, ""},
                  {kButtonTestVelZidBol, "QPushButton", kGroupBoxCollaudo, {16, 168, 150, 30}, "Esegui VelZidBol"},
                  {kLabel3, "QLabel", kGroupBoxCollaudo, {16, 208, 49, 16}, "Risultato"},
                  {kEditRisultato, "QLineEdit", kGroupBoxCollaudo, {16, 226, 450, 24}, ""},
                  {kButtonChiudi, "QPushButton", kGroupBoxCollaudo, {401, 16, 75, 25}, "Chiudi"},
              });
  EXPECT_EQ(testing::TabChain(window), (std::vector<std::string>{kEditUserAutenticaz, kEditDatoAcquisito,
                                                                 kButtonTestVelZidBol, kEditRisultato, kButtonChiudi}));
  auto* result = window->findChild<QLineEdit*>(kEditRisultato);
  EXPECT_TRUE(result->isReadOnly());
  EXPECT_FALSE(window->findChild<QLineEdit*>(kEditDatoAcquisito)->isReadOnly());
  EXPECT_EQ(result->palette().color(QPalette::Base), QApplication::palette().color(QPalette::ToolTipBase));
  QWidget* function = window->findChild<QWidget*>(kLabelFunzione);
  EXPECT_TRUE(function->font().bold());
  EXPECT_EQ(function->font().family(), "Tahoma");
  EXPECT_EQ(function->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  EXPECT_FALSE(window->findChild<QWidget*>(kLabel1)->font().bold());

  // The group box grows on every side; Chiudi keeps its distance to the box's right edge.
  window->resize(700, 400);
  EXPECT_EQ(window->findChild<QWidget*>(kGroupBoxCollaudo)->geometry(), QRect(8, 8, 684, 384));
  EXPECT_EQ(window->findChild<QWidget*>(kButtonChiudi)->geometry(), QRect(601, 16, 75, 25));
  EXPECT_EQ(window->findChild<QWidget*>(kEditRisultato)->geometry(), QRect(16, 226, 450, 24));
  window->resize(500, 310);
  EXPECT_EQ(window->findChild<QWidget*>(kButtonChiudi)->geometry(), QRect(401, 16, 75, 25));
}

// A host that styles its whole application leaves the window's fonts as described, so no caption
// is clipped.
TEST_F(VelCollaudiFormTest, AHostWideStyleSheetKeepsTheDescribedFonts) {
  struct HostStyle {
    HostStyle() { qApp->setStyleSheet("* { font-size: 22px; }"); }
    ~HostStyle() { qApp->setStyleSheet(QString()); }
  } hostStyle;
  form = &ShowHostWindow<TVelCollaudiPersonalizzazioniForm>(kUser, kWindowLogId);
  QWidget* window = WidgetOf(*form);
  const platform::WindowDescription description = VelCollaudiPersonalizzazioniDescription();
  EXPECT_EQ(window->font().pixelSize(), description.font.pixelHeight);
  for (const platform::ControlDescription& control : description.controls) {
    SCOPED_TRACE(control.name);
    const platform::Font& font = control.font ? *control.font : description.font;
    auto* widget = window->findChild<QWidget*>(QString::fromStdString(control.name));
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->font().pixelSize(), font.pixelHeight);
    EXPECT_EQ(widget->font().bold(), font.bold);
    if (const auto* label = qobject_cast<QLabel*>(widget)) {
      EXPECT_GE(label->width(), QFontMetrics(label->font()).horizontalAdvance(label->text()));
    }
  }
}

TEST_F(VelCollaudiFormTest, RunsTheValidationForTheTypedUserAndDatum) {
  Log(4, 4, 31, "APERTURA");
  Log(5, 5, -16, "Apertura del turno");
  form = &ShowHostWindow<TVelCollaudiPersonalizzazioniForm>(kUser, kWindowLogId);
  EXPECT_EQ(form->Window().Text(kEditUserAutenticaz), "15");
  EXPECT_EQ(form->Window().Text(kEditDatoAcquisito), "");
  EXPECT_EQ(form->Window().Text(kEditRisultato), "");

  EXPECT_EQ(Run("15", "B1"), "OK");
  EXPECT_EQ(Run("15", "B9"), "ERR - Bolletta B9 non trovata nell'archivio RUX.");
  EXPECT_EQ(Run("15", " B1"), "ERR - Bolletta  B1 non trovata nell'archivio RUX.");
  // A user field that is no number runs for user 0, who has no opening.
  const std::string notInAChain = "ERR - Bolletta B2 non associata a nessuna catena di APERTURA.";
  EXPECT_EQ(Run("abc", "B2"), notInAChain);
  EXPECT_EQ(Run("5 ", "B2"), notInAChain);
  EXPECT_EQ(Run("$1F", "B2"), "OK");
  EXPECT_EQ(Run("-0x10", "B2"), "OK");

  SetLocation(ruxFile.Folder().string() + "/assente.fdb");
  const std::string unreachable = Run("15", "B1");
  EXPECT_EQ(unreachable.rfind("ERR - Impossibile connettersi al database RUX (" + ruxFile.Folder().string() +
                                  "/assente.fdb): ",
                              0),
            0u)
      << unreachable;
  SetLocation("");
  EXPECT_EQ(Run("15", "B1"), "ERR - Parametro \"VelZidBolDBRux\" non configurato.");
  EXPECT_TRUE(errors.empty());
  EXPECT_TRUE(form->Window().Visible());
}

TEST_F(VelCollaudiFormTest, AnErrorOutsideTheChecksKeepsThePreviousResult) {
  const int windows = TopLevelWindows();
  form = &ShowHostWindow<TVelCollaudiPersonalizzazioniForm>(kUser, kWindowLogId);
  EXPECT_EQ(Run("15", "B1"), "OK");
  form->Sessione().IBDatabase().Close();
  EXPECT_EQ(Run("15", "B9"), "OK");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_FALSE(errors[0].empty());
  EXPECT_TRUE(form->Window().Visible());

  // Chiudi closes the window, which then destroys itself; nothing is stored but the placement.
  Click(*form, kButtonChiudi);
  ProcessEvents();
  EXPECT_EQ(TopLevelWindows(), windows);
}

}  // namespace
}  // namespace brontelx
