#pragma once

#include <QWidget>

namespace brontelx::platform::qt {

// The top-level widget of a QtWindow. A host may delete it as any widget, so it is not the window
// object itself: it tells its listener of its close and hide events and of its destruction, and the
// window object, which its owner holds, lives on without it.
class QtFormWidget final : public QWidget {
 public:
  class Listener {
   public:
    // Returns false to keep the widget open.
    virtual bool Closing() = 0;
    virtual void Hidden(bool spontaneous) = 0;
    // The widget is being destroyed by someone other than the listener; it is still whole.
    virtual void Destroying() = 0;

   protected:
    ~Listener() = default;
  };

  explicit QtFormWidget(Listener& listener) : listener_(&listener) {}
  ~QtFormWidget() override;
  // The listener destroys the widget itself and wants no more calls.
  void Detach() { listener_ = nullptr; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  Listener* listener_;
};

}  // namespace brontelx::platform::qt
