#pragma once

// The fixed layout of the main window: every control with its kind, parent, place and size in
// pixels at 96 dpi, caption or initial text, colours, font and tab index. Form1 is built from
// this one table; nothing moves, resizes or changes colour afterwards.

#include "calc/calculator.h"
#include "ui/sheet.h"

#include <array>
#include <string_view>
#include <variant>

namespace beltrix::ui {

enum class Kind { Label, PictureBox, PushButton, TextField, Frame };
enum class Parent { Window, Frame2 };

// Colours by meaning. The system ones follow the desktop's palette.
enum class Colour {
    System,                 // the control's own system colours
    WindowColour,           // the window's light blue, RGB 192, 192, 255
    White,                  // RGB 255, 255, 255
    SystemWindowBackground, // a text field's base
    SystemWindowText,
    SystemButtonText,
    SystemWindowFrame,
};

struct Geometry {
    int left, top, width, height; // relative to the parent's top-left corner
};

// What a click on the control does: nothing, one calculation of the engine, or showing one sheet.
using Action = std::variant<std::monostate, Button, Sheet>;

struct ControlSpec {
    std::string_view name;
    Kind kind;
    Parent parent;
    Geometry geometry;
    std::string_view text; // caption or initial text; a picture box's picture resource
    Colour background;
    Colour foreground;
    bool bold;
    int tabIndex;
    Action action;
};

inline constexpr int form1Width = 1016;
inline constexpr int form1Height = 591;

extern const std::array<ControlSpec, 55> form1Controls;

// The name of the button that shows the sheet, as "Command1".
std::string_view buttonShowing(Sheet sheet);

} // namespace beltrix::ui
