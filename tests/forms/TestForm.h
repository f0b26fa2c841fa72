#pragma once

#include <cstdint>
#include <string>

#include "base/Error.h"
#include "forms/Form.Base.h"

namespace brontelx::testing {

// A window derived from TFormBase the way the library's windows are: a button with a click
// handler, and an Initialize that sets title and situation from its fields.
class TestForm : public TFormBase {
 public:
  static constexpr char kButtonProva[] = "ButtonProva";
  static constexpr char kButtonProvaClick[] = "ButtonProvaClick";

  static platform::WindowDescription Description() {
    platform::WindowDescription description = BaseDescription();
    platform::ControlDescription button;
    button.name = kButtonProva;
    button.kind = platform::ControlKind::Button;
    button.rect = {8, 8, 75, 25};
    button.tabOrder = 0;
    button.caption = "Prova";
    button.onClick = kButtonProvaClick;
    description.controls.push_back(button);
    return description;
  }

  TestForm() : TFormBase(Description(), Handlers(this)) { ++live; }
  explicit TestForm(TSessione* session) : TFormBase(Description(), Handlers(this), session) { ++live; }
  TestForm(std::int32_t user, std::int32_t windowLogId) : TFormBase(Description(), Handlers(this), user, windowLogId) {
    ++live;
  }
  ~TestForm() override { --live; }

  static inline int live = 0;  // TestForm objects in existence
  int initializeRuns = 0;
  bool failInitialize = false;
  int clicks = 0;
  bool closeOnClick = false;
  bool failClick = false;
  std::string titolo;
  std::int32_t situazione = 0;

 protected:
  void Initialize() override {
    ++initializeRuns;
    FTitolo = titolo;
    FSituazione = situazione;
    TFormBase::Initialize();
    if (failInitialize) throw Error("Inizializzazione fallita");
  }

 private:
  static ClickHandlers Handlers(TestForm* form) {
    return {{kButtonProvaClick, [form] {
               ++form->clicks;
               if (form->closeOnClick) form->Window().Close();
               if (form->failClick) throw Error("Clic fallito: 100% \"%s\"");
             }}};
  }
};

}  // namespace brontelx::testing
