#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "editor/editor_context.h"
#include "editor/start_up.h"
#include "support/fake_editor_ui.h"
#include "support/temp_dir.h"

namespace gk::testing {

// An editor without a window, as its start-up leaves it, whose application folder (the shipped
// palette, the settings file, the automatic save folder "bmp/") lies in a fresh temporary
// folder, apart from anything else a test puts there. What the start-up showed is forgotten.
class EditorFixture : public ::testing::Test {
 protected:
  EditorFixture() {
    std::filesystem::create_directories(tmp_.Path("app/bmp"));
    std::filesystem::copy_file(GK_ASSETS_DIR "/palette.bmp", tmp_.Path("app/palette.bmp"));
    StartEditor(ctx_, tmp_.Path("app/"));
    ui_.ForgetShown();
  }

  TempDir tmp_;
  FakeEditorUi ui_;
  EditorContext ctx_{ui_};
};

}  // namespace gk::testing
