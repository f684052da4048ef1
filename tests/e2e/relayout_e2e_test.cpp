// The built program turned between screen shapes: its controls keep the
// places of the tall template throughout.
#include <gtest/gtest.h>

#include "e2e/run_corvale.h"
#include "platform/temp_device.h"

namespace {

using corvale_test::RunCorvale;
using corvale_test::RunResult;
using corvale_test::TempDevice;

TEST(RelayoutE2E, ControlsKeepTheTallPlacesOnEveryScreen) {
  TempDevice device;
  RunResult r = RunCorvale(CORVALE_EXE, {"--device", device.Root().string()},
                           "controls\nscreen 320x240\ncontrols\nscreen 480x480\ncontrols\nscreen 240x320\ncontrols\n",
                           device.Base());
  ASSERT_EQ(r.status, 0) << r.err;
  auto shown = r.Events("controls");
  ASSERT_EQ(shown.size(), 4u);
  const char* screens[] = {"240x320 at start", "320x240", "480x480", "240x320 again"};
  for (std::size_t i = 0; i < shown.size(); ++i) {
    SCOPED_TRACE(screens[i]);
    const nlohmann::json& controls = shown[i]["controls"];
    ASSERT_EQ(controls.size(), 2u);
    const nlohmann::json list = {{"id", 1000}, {"x", 0}, {"y", 0}, {"cx", 242}, {"cy", 248}};
    const nlohmann::json label = {{"id", 65535}, {"x", 17}, {"y", 252}, {"cx", 225}, {"cy", 12}};
    for (const auto& [control, expected] : {std::pair{controls[0], list}, std::pair{controls[1], label}})
      for (const auto& [key, value] : expected.items()) EXPECT_EQ(control[key], value) << key;
    EXPECT_EQ(controls[1]["text"], "www.velmora.example Velmora");
  }
}

}  // namespace
