// Loads and resets with the field rules attached: the order of the writes decides the result.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/props_fields.h"
#include "settings/memory_store.h"
#include "settings/transfers.h"

namespace glintora {
namespace {

ControlId Fire(int i) { return {Control::TxtFire, i}; }

struct Dialog {
  Dialog() : model(view) {
    view.SetListener(&model);
    model.Link();
  }
  std::vector<std::string> Shares() {
    std::vector<std::string> out;
    for (int b : {11, 13, 16, 25, 28, 31, 50}) out.push_back(view.Text(Fire(b)));
    return out;
  }
  MemoryDialogView view;
  PropsFieldModel model;
};

TEST(PropsLoad, StoreOverBudgetEndsAsTheIndexOrderLeavesIt) {
  MemoryStore store;
  store.Write("General", "AnimationType", "0");
  store.Write("Fireworks", "FireScintPct", "60");
  store.Write("Fireworks", "FireMultiPct", "60");
  store.Write("Fireworks", "FireWorks", "50");
  store.Write("Fireworks", "FireSparks", "9999");
  Dialog d;
  EXPECT_FALSE(OpenPropsFromStore(d.view, store));
  // 13 cuts 11 to 40; 16, 25, 28 and 31 each keep their 10 only while budget remains; the
  // decaying stars come last and give the twisters first claim, so 13 ends at 40.
  EXPECT_EQ(d.Shares(), (std::vector<std::string>{"40", "40", "0", "0", "0", "10", "10"}));
  // Shells first (50 caps the still-small sparks field at nothing), then sparks 9999 caps shells.
  EXPECT_EQ(d.view.Text(Fire(0)), "3");
  EXPECT_EQ(d.view.Text(Fire(1)), "9999");
  EXPECT_FALSE(d.model.InRuleWrite());
}

TEST(PropsLoad, FirstOpeningAndResetShowTheFactoryTexts) {
  MemoryStore store;
  Dialog d;
  EXPECT_TRUE(OpenPropsFromStore(d.view, store));
  EXPECT_EQ(d.Shares(), (std::vector<std::string>{"0", "20", "10", "10", "10", "10", "10"}));
  EXPECT_EQ(d.view.Text(Fire(6)), "0.015");
  EXPECT_EQ(d.view.Box({Control::PicPixHue, 2}).color, 255u << 16);

  d.view.Enter(Fire(13), "95");
  EXPECT_EQ(d.view.Text(Fire(50)), "0");
  ResetPropsToFactory(d.view, store);
  EXPECT_EQ(d.Shares(), (std::vector<std::string>{"0", "20", "10", "10", "10", "10", "10"}));
}

}  // namespace
}  // namespace glintora
