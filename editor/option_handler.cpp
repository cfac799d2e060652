#include "editor/option_handler.h"

#include "editor/option_command.h"

namespace gk {

void BtnOptionClick(EditorContext& ctx) {
  BtnOptionClick(OptionContext{ctx.settings, SizesOf(ctx.state), ctx.state.IniPath, ctx.ui});
}

}  // namespace gk
