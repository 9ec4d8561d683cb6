#include "dialogs/dialog_preview.h"

#include <gtest/gtest.h>

#include <tuple>

#include "../settings/test_util.h"
#include "dialog_test_util.h"
#include "display/settings_report.h"
#include "platform/null/null_host.h"
#include "settings/loaders.h"
#include "settings/memory_store.h"
#include "settings/numbers.h"
#include "settings/themes.h"
#include "dialogs/transfers.h"

namespace glintora {
namespace {

using namespace testing;

class Preview : public ::testing::Test {
 protected:
  Preview() { OpenPropsFromStore(dialog, store); }  // the factory texts, no rules attached
  MemoryStore store;
  MemoryDialogView dialog;
  SettingsRecord s;
};

TEST_F(Preview, ReadsTheFieldsClampedAndConverted) {
  // 7 runs to 999 and 35 to 0 here (the display windows would run them as 99 and 0.25); no number
  // gives the lower bound, a value beyond 16 bits the upper; 52 is a single, kept as typed.
  const std::pair<int, const char*> typed[] = {{0, "99"}, {1, "9999"}, {7, "999"}, {35, "0"}, {21, "999"},
                                               {10, "abc"}, {53, "99999"}, {52, "12.5"}, {5, "0.999"}};
  for (const auto& [box, text] : typed) dialog.SetText(Fire(box), text);
  dialog.SetCheckValue({Control::ChkJetBurst, 0}, 0);
  ReadPreviewFireFields(dialog, s);
  // Gravity, damping and the burst radius keep their factory values, in the engine's units.
  EXPECT_FLOAT_EQ(s.FireGravity, 0.000075f);
  EXPECT_FLOAT_EQ(s.FireDamping, 0.925f);
  EXPECT_FLOAT_EQ(s.FireBurstRadius, 0.0075f);
  // Sparks and rocket sparks capped, size deviation, knots (and the records they size), star life.
  EXPECT_EQ(std::make_tuple(s.FireSparks, s.FireLaunchPixel, s.FireSizeDev, s.FireSplineKnot, s.KnotX.size(),
                            s.KnotZ.size(), s.FireDecayMLife),
            std::make_tuple(303, 303, 999, 4, 5u, 5u, 999));
  EXPECT_EQ(std::make_tuple(s.FireMultiMoment, s.FireBurstShell, s.FireTwistExt), std::make_tuple(true, false, 0.0f));
  EXPECT_FLOAT_EQ(s.FireDecayMSize, 12.5f);
  EXPECT_FLOAT_EQ(s.FirePersist, 0.99f);
  dialog.SetText(Fire(0), "12"), dialog.SetText(Fire(1), "500");
  ReadPreviewFireFields(dialog, s);
  EXPECT_EQ(s.FireLaunchPixel, 500);
}

// Every field reaches its own setting: the preview reads what a stored show would load.
TEST_F(Preview, EachFieldFeedsTheSettingOfItsBox) {
  int k = 0;
  for (const char* row : kSettingRows) {
    const std::string key = CsvField(row, 0), box = CsvField(row, 7);
    if (box == "-" || CsvField(row, 1) != "Fireworks") continue;
    const double lo = std::stod(CsvField(row, 5)), hi = std::stod(CsvField(row, 6));
    // A different in-range value in each box; a whole number where the box takes one.
    const double value = CsvField(row, 4) == "int" ? std::min(hi, lo + 1 + k++) : lo + (hi - lo) * ++k / 64;
    dialog.SetText(Fire(std::stoi(box)), NumberText(value));
    store.Write("Fireworks", key, NumberText(value));
  }
  SettingsRecord loaded;
  LoadFireParams(store, loaded);
  ReadPreviewFireFields(dialog, s);
  s.FireGravity = loaded.FireGravity, s.FireDamping = loaded.FireDamping;  // the preview's own units, above
  EXPECT_EQ(SettingsReport(s), SettingsReport(loaded));
}

TEST_F(Preview, ColoursViewAndRunFromTheFieldsAndTheStore) {
  dialog.SetText(Hue(0), "150");
  dialog.SetText(Col(2), "");
  ReadPreviewColors(dialog, s);
  // Red 255, green and blue 55.
  EXPECT_EQ(std::make_tuple(s.ColorRed, s.ColorHueWheel, s.HueWheel[0]), std::make_tuple(100, 0, 0x003737FFu));
  store.Write("Advanced", "FocalLength", "25");
  RunState run;
  PreparePreviewView(store, s, 4410 - 30, 3435 - 30, run);
  // Width, height and centre; 113.5 rounds to even.
  EXPECT_EQ(std::make_tuple(s.SurfaceWidth, s.SurfaceHeight, s.CenterX, s.CenterY, s.FocalLength, s.ProjectionScale),
            std::make_tuple(292, 227, 146, 114, 10.0f, 1300.0f));
  // The run reads the fire fields itself; a stop asked for ends it after the first frame.
  NullHost host(292, 227);
  EngineRecord engine;
  engine.Host = &host, engine.Surface = &host.Surface(), run.StopRequested = true;
  BuildTrigTables(engine.Trig);
  RunDialogPreview(dialog, engine, s, run);
  EXPECT_EQ(s.FireWorks, 12);
  EXPECT_GT(host.Presents(), 0u);
}

}  // namespace
}  // namespace glintora
