#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace brontelx::platform {

// A rectangle in pixels: for a control relative to its parent's client area, for a window its
// frame on the screen.
struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Rect&) const = default;
};

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

// The colours the desktop defines; a backend resolves them from the running system's scheme.
enum class SystemColor { ButtonFace, WindowText, Window, InfoBackground };

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const Rgb&) const = default;
};

using Color = std::variant<SystemColor, Rgb>;

// A font by family name and character height in pixels. A family the system lacks is replaced by
// the system's substitute for it.
struct Font {
  std::string family;
  int pixelHeight = 0;
  Color color = SystemColor::WindowText;
  bool bold = false;
};

enum class ControlKind { Button, Edit, GroupBox, Label };

// The edges of its parent that a control keeps its distance to when the parent is resized. A
// control anchored on both opposite edges stretches; on neither, it keeps its relative position.
struct Anchors {
  bool left = true;
  bool top = true;
  bool right = false;
  bool bottom = false;
  bool operator==(const Anchors&) const = default;
};

struct ControlDescription {
  std::string name;
  ControlKind kind = ControlKind::Label;
  std::string parent;  // the name of a group box; empty for the window itself
  Rect rect;
  Anchors anchors;
  std::optional<int> tabOrder;  // position among the parent's tab stops; none: not a tab stop
  std::string caption;          // a button's, group box's or label's caption, an edit's text
  std::string hint;             // kept with the control; not shown as a tooltip
  bool readOnly = false;
  bool autoSize = false;             // a label sized to its text; rect holds its size in the design font
  std::optional<Color> background;   // none: the kind's usual colour
  std::optional<Font> font;          // none: the window's font
  std::string onClick;               // the name of the click handler; empty: clicks do nothing
};

// Everything a window looks like before any code runs: the data a backend builds it from.
struct WindowDescription {
  std::string caption;
  int clientWidth = 0;
  int clientHeight = 0;
  Font font;
  Color background = SystemColor::ButtonFace;
  std::vector<ControlDescription> controls;

  // The control named `name`; throws WindowError when there is none.
  const ControlDescription& Control(std::string_view name) const;
  ControlDescription& Control(std::string_view name);

  // What a backend relies on when it builds the window: every control has a name of its own, and
  // a control with a parent comes after that parent, a group box. Throws WindowError otherwise.
  void CheckStructure() const;
};

}  // namespace brontelx::platform
