#pragma once

#include <variant>

class QObject;

namespace gk {

struct EditorContext;
class TForm1;

// The event of a control that runs a handler: a button's or menu item's click (a menu item's
// shortcut key too), a press or a move on an image, the timer's tick, a key of the window's own,
// one notch of the wheel over an image in each direction (Shift turns up and down into left and
// right).
enum class ControlEvent {
  Click,
  Press,
  Move,
  Tick,
  Key,
  WheelUp,
  WheelDown,
  WheelLeft,
  WheelRight
};

// The handlers' shapes: a command; a command told the control's tag; a press or a move at a
// pointer position on the control; a command of the window itself.
using CommandHandler = void (*)(EditorContext& ctx);
using TaggedHandler = void (*)(EditorContext& ctx, int tag);
using PressHandler = void (*)(EditorContext& ctx, int x, int y);
using MoveHandler = void (*)(EditorContext& ctx, bool leftHeld, int x, int y);
using WindowHandler = void (*)(TForm1& form);
using Handler =
    std::variant<CommandHandler, TaggedHandler, PressHandler, MoveHandler, WindowHandler>;

// What the window repaints after the handler: what the handler drew on any image since that
// image's last refresh (a plot fills its square after refreshing the grid), or nothing (the
// handler refreshes what it changes).
enum class Repaint { Changed, Nothing };

// One connection of a control's event to its handler; the main window makes every connection
// from a list of these.
struct ControlWiring {
  QObject* control = nullptr;
  ControlEvent event = ControlEvent::Click;
  Handler handler;
  int tag = 0;
  Repaint repaint = Repaint::Changed;
};

// Where a press or a move happened; a click or a tick has none.
struct PointerAt {
  int x = 0;
  int y = 0;
  bool leftHeld = false;
};

// Runs the entry's handler with what its shape takes.
void CallHandler(const ControlWiring& wiring, TForm1& form, EditorContext& ctx,
                 const PointerAt& pointer);

}  // namespace gk
