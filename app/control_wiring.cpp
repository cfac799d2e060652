#include "app/control_wiring.h"

namespace gk {

namespace {

template <typename... Calls>
struct Overloaded : Calls... {
  using Calls::operator()...;
};

}  // namespace

void CallHandler(const ControlWiring& wiring, TForm1& form, EditorContext& ctx,
                 const PointerAt& pointer) {
  std::visit(Overloaded{
                 [&](CommandHandler f) { f(ctx); },
                 [&](TaggedHandler f) { f(ctx, wiring.tag); },
                 [&](PressHandler f) { f(ctx, pointer.x, pointer.y); },
                 [&](MoveHandler f) { f(ctx, pointer.leftHeld, pointer.x, pointer.y); },
                 [&](WindowHandler f) { f(form); },
             },
             wiring.handler);
}

}  // namespace gk
