#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "database/DRKDBUtility.h"
#include "forms/VelCollaudiPersonalizzazioni.Form.h"
#include "forms/VelDatiValidazPers.Form.h"
#include "forms/descriptions/VelCollaudiPersonalizzazioni.Description.h"
#include "forms/descriptions/VelDatiValidazPers.Description.h"
#include "library/HostWindows.h"
#include "tests/forms/WindowChecks.h"
#include "tests/support/Sql.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/ValidationFixture.h"

namespace brontelx {
namespace {

using testing::Click;

// Texts a person may type: each gives an exact result or a clear message, never a crash and never a
// changed row that should not change. The archive and the delivery-note database are WIN1252
// databases, as the product's are, so Greek and Chinese cannot be stored in them.
class BadInputFaultTest : public testing::ValidationFixture {
 protected:
  void SetUp() override {
    ValidationFixture::SetUp();
    UseArchiveAt(archive1252.Path());
    ruxLocation = rux1252.Path();
    SetLocation(ruxLocation);
    AddDeliveryNote("B1");
  }

  const std::string k300 = std::string(300, 'a');
  const std::string k10000 = std::string(10000, 'b');
  testing::TestDatabase archive1252{schema::Kind::Archive, "WIN1252"};
  testing::TestDatabase rux1252{schema::Kind::DeliveryNotes, "WIN1252"};
};

TEST_F(BadInputFaultTest, TheTestWindowAnswersEveryDatum) {
  auto& form = ShowHostWindow<TVelCollaudiPersonalizzazioniForm>(kUser, kWindowLogId);
  const auto run = [&](const std::string& user, const std::string& datum) {
    form.Window().SetText(velcollaudi::kEditUserAutenticaz, user);
    form.Window().SetText(velcollaudi::kEditDatoAcquisito, datum);
    Click(form, velcollaudi::kButtonTestVelZidBol);
    return form.Window().Text(velcollaudi::kEditRisultato);
  };
  const std::string notFound = " non trovata nell'archivio RUX.";
  EXPECT_EQ(run("15", "L'Aquila"), "ERR - Bolletta L'Aquila" + notFound);
  EXPECT_EQ(run("%s", "100% %s %d"), "ERR - Bolletta 100% %s %d" + notFound);
  EXPECT_EQ(run("Σίσυφος", "Città €"), "ERR - Bolletta Città €" + notFound);
  const std::string lookupFailed = "ERR - Errore durante la verifica nel database RUX: ";
  for (const std::string& datum : {k300, k10000, std::string("Σίσυφος"), std::string("中文")}) {
    const std::string result = run(k10000, datum);
    EXPECT_EQ(result.rfind(lookupFailed, 0), 0u) << result.substr(0, 200);
  }
  EXPECT_TRUE(errors.empty());
  EXPECT_TRUE(form.Window().Visible());
}

TEST_F(BadInputFaultTest, TheSettingsWindowStoresWhatFitsAndRefusesTheRest) {
  for (const std::string& location : {std::string("server:/dati/l'archivio %s.fdb"), k300}) {
    auto& form = ShowHostWindow<TVelDatiValidazPersForm>(kUser, kWindowLogId);
    form.Window().SetText(veldati::kEditVelZidBolDBRux, location);
    Click(form, veldati::kButtonChiudi);
    EXPECT_EQ(StoredLocation(), location);
    ProcessEvents();
  }
  auto& form = ShowHostWindow<TVelDatiValidazPersForm>(kUser, kWindowLogId);
  for (const std::string& location : {k10000, std::string("Σίσυφος:/dati"), std::string("中文")}) {
    errors.clear();
    form.Window().SetText(veldati::kEditVelZidBolDBRux, location);
    Click(form, veldati::kButtonChiudi);
    ASSERT_EQ(errors.size(), 1u) << location.substr(0, 20);
    EXPECT_TRUE(form.Window().Visible());
    EXPECT_EQ(form.Window().Text(veldati::kEditVelZidBolDBRux), location);
    EXPECT_EQ(StoredLocation(), k300);
  }
  EXPECT_NE(errors[0].find("transliterate"), std::string::npos) << errors[0];
}

TEST_F(BadInputFaultTest, StoredValuesWithOddTexts) {
  // A location nobody can reach is quoted in the answer as it is stored.
  SetLocation("%s'Città:/x");
  EXPECT_EQ(testing::QueryText(archive, "SELECT TESTO FROM TABX WHERE NOME = 'VelZidBolDBRux'"), "%s'Città:/x");
  auto& form = ShowHostWindow<TVelCollaudiPersonalizzazioniForm>(kUser, kWindowLogId);
  form.Window().SetText(velcollaudi::kEditDatoAcquisito, "B1");
  Click(form, velcollaudi::kButtonTestVelZidBol);
  const std::string result = form.Window().Text(velcollaudi::kEditRisultato);
  EXPECT_EQ(result.rfind("ERR - Impossibile connettersi al database RUX (%s'Città:/x): ", 0), 0u) << result;

  // An archive in a folder whose name holds an apostrophe, Greek and Chinese opens like any other.
  const std::filesystem::path folder = archive1252.Folder() / "dell'Σίσυφος 中文";
  testing::TestDatabase odd(schema::Kind::Archive, "WIN1252", folder);
  SetArchivio(odd.Path());
  auto& other = ShowHostWindow<TVelCollaudiPersonalizzazioniForm>(kUser, kWindowLogId);
  EXPECT_EQ(testing::QueryText(other.Sessione().IBDatabase(), "SELECT MON$DATABASE_NAME FROM MON$DATABASE"),
            odd.Path());
  EXPECT_TRUE(errors.empty());
}

}  // namespace
}  // namespace brontelx
