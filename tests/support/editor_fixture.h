#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/fake_editor_ui.h"
#include "support/temp_dir.h"
#include "workspace/editor_context.h"

namespace gk::testing {

// An editor without a window whose application folder (settings file, automatic save folder
// "bmp/") lies in a fresh temporary folder, apart from anything else a test puts there.
class EditorFixture : public ::testing::Test {
 protected:
  EditorFixture() {
    std::filesystem::create_directories(tmp_.Path("app/bmp"));
    ctx_.state.AppDir = tmp_.Path("app/");
    ctx_.state.IniPath = ctx_.state.AppDir + "gridkiln.ini";
  }

  TempDir tmp_;
  FakeEditorUi ui_;
  EditorContext ctx_{ui_};
};

}  // namespace gk::testing
