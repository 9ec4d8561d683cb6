// The browser build's entry points, called from the page through the module's exports: one show
// on an in-memory framebuffer, the properties dialog's fields and rules and the advanced
// dialog's fields over in-memory views, templates and links, and the show's sound, mixed here for
// the page to play. Every change goes through the same models as the dialogs, so the page clamps
// and balances values exactly as they do.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "audio/sound_mixer.h"
#include "audio/sound_track.h"
#include "dialogs/advanced_model.h"
#include "dialogs/field_model.h"
#include "dialogs/props_fields.h"
#include "dialogs/theme_fields.h"
#include "dialogs/transfers.h"
#include "engine/frame_hash.h"
#include "engine/show.h"
#include "platform/null/null_host.h"
#include "settings/loaders.h"
#include "settings/memory_store.h"
#include "settings/numbers.h"
#include "settings/profile.h"
#include "settings/settings_table.h"
#include "settings/store_ops.h"
#include "settings/text.h"
#include "settings/themes.h"
#include "display/dirty_tiles.h"

using namespace glintora;

namespace {

// The advanced settings a page applies: the message's font is the browser's, the two behaviour
// check boxes are the saver window's. The sound box is the page's own toggle, not a panel field.
struct AdvField {
  const char* key;
  int box;  // TxtAdv index, kMessageBox or kSoundBox
};
constexpr int kMessageBox = -1, kSoundBox = -2;
constexpr AdvField kAdvFields[] = {
    {"Adv_TimeDelay", 0}, {"FocalLength", 6}, {"Adv_FontHueV", 5}, {"LockMessage", kMessageBox},
    {"SoundFX_ON", kSoundBox}};
constexpr std::int32_t kMaxMix = SoundMixer::kRate;  // the most samples gw_mix gives at once

constexpr std::size_t kMaxTemplateBytes = 64 * 1024;
const char* const kImportPath = "/tmp/import.glx";
const char* const kExportPath = "/tmp/export.glx";

// Hands the show's events to the live mixer while sound is on and the page plays it; otherwise
// they are dropped (the engine takes its listener once, when a show starts).
struct SoundGate : ShowEventSink {
  SoundMixer* mixer = nullptr;  // null: not heard
  void OnShowEvent(const ShowEvent& e) override {
    if (mixer) mixer->OnShowEvent(e);
  }
};

struct Show {
  std::unique_ptr<NullHost> host;
  std::unique_ptr<EngineRecord> engine;
  SettingsRecord settings;
  RunState run;
  std::unique_ptr<ShowSession> session;
  std::vector<std::uint32_t> rgba;  // the framebuffer as the canvas takes it, opaque
  // What changed since the last frame: a count, then left, top, right, bottom per rectangle.
  std::vector<std::int32_t> rects;
  // The tiles the frame changed, as the X11 host sends them.
  DirtyTiles tiles;
  std::uint32_t frames = 0;
  std::unique_ptr<SoundMixer> sound;  // on the live clock: an event sounds from the next sample mixed
  SoundGate gate;

  void Add(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    rects.insert(rects.end(), {left, top, right, bottom});
    ++rects[0];
  }

  void OnPresent(const Framebuffer& f) {
    for (const TileRun& t : tiles.Collect(f)) Add(t.Left, t.Top, t.Right, t.Bottom);
  }
};

struct Page {
  MemoryStore store;
  MemoryDialogView props;
  PropsFieldModel propsModel{props};
  MemoryDialogView adv;
  AdvancedModel advModel{adv, store, {"Arial"}};
  Show show;
  std::int32_t width = 0, height = 0;
  double seed = 1;
  bool hearing = false;  // the page's audio output is running
  std::vector<std::int16_t> mixed;  // the last samples handed to the page
  std::string out;  // the last text handed to the page

  Page() {
    props.SetListener(&propsModel);
    adv.SetListener(&advModel);
    propsModel.Link();
    OpenPropsFromStore(props, store);
    advModel.Open();
  }
};

Page& P() {
  static Page page;
  return page;
}

const AdvField* AdvFieldOf(std::string_view key) {
  for (const AdvField& f : kAdvFields) {
    if (EqualsIgnoreCase(f.key, key)) return &f;
  }
  return nullptr;
}

ControlId AdvBox(const AdvField& f) {
  if (f.box == kSoundBox) return {Control::ChkSound, 0};
  return f.box == kMessageBox ? ControlId{Control::TxtMessage, 0} : ControlId{Control::TxtAdv, f.box};
}

// The properties control that shows a setting, false when the dialog has none.
bool PropsControl(const SettingDef& def, ControlId& id) {
  switch (def.box) {
    case BoxArray::Fire: id = {Control::TxtFire, def.boxIndex}; return true;
    case BoxArray::PixHue: id = {Control::TxtPixHue, def.boxIndex}; return true;
    case BoxArray::PixCol: id = {Control::TxtPixCol, def.boxIndex}; return true;
    default: break;
  }
  if (!def.control) return false;
  id = {std::string_view(def.control) == "chkMultiMom" ? Control::ChkMultiMom : Control::ChkJetBurst, 0};
  return true;
}

bool IsCheck(ControlId id) { return id.control == Control::ChkMultiMom || id.control == Control::ChkJetBurst; }

// Every setting the page shows, in the table's order.
std::vector<const SettingDef*> PageSettings() {
  std::vector<const SettingDef*> out;
  for (const SettingDef& def : AllSettings()) {
    ControlId id;
    if (PropsControl(def, id) || AdvFieldOf(def.key)) out.push_back(&def);
  }
  return out;
}

std::string Quote(std::string_view text) {
  std::string q = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      q += '\\';
      q += static_cast<char>(c);
    } else if (c < 0x20) {
      char esc[8];
      std::snprintf(esc, sizeof esc, "\\u%04x", c);
      q += esc;
    } else {
      q += static_cast<char>(c);
    }
  }
  return q + "\"";
}

std::string CurrentText(const SettingDef& def) {
  Page& p = P();
  ControlId id;
  if (PropsControl(def, id)) return IsCheck(id) ? NumberText(p.props.CheckValue(id)) : p.props.Text(id);
  const AdvField& a = *AdvFieldOf(def.key);
  return a.box == kSoundBox ? NumberText(p.adv.CheckValue(AdvBox(a))) : p.adv.Text(AdvBox(a));
}

// The fields as the dialog now holds them go to the store, then the show starts again on them.
void SaveAndRestart();

// Sets s up as a new show of the stored settings at this size, with the page's seed.
void InitShow(Show& s, std::int32_t width, std::int32_t height) {
  Page& p = P();
  s.session.reset();
  s.host = std::make_unique<NullHost>(width, height);
  s.engine = std::make_unique<EngineRecord>();
  s.settings = SettingsRecord{};
  s.run = RunState{};
  LoadFireParams(p.store, s.settings);
  SurfaceScale scale;
  scale.scaleWidth = width;
  scale.scaleHeight = height;
  LoadAdvancedParams(p.store, s.settings, scale);
  BuildTrigTables(s.engine->Trig);
  s.engine->Host = s.host.get();
  s.engine->Surface = &s.host->Surface();
  s.engine->Rng.Seed(static_cast<std::uint64_t>(p.seed));
  s.rgba.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0xFF000000u);
  s.rects.assign(1, 0);
  s.frames = 0;
  s.host->OnPresent([&s](const Framebuffer& f) { s.OnPresent(f); });
  ClearSurface(*s.engine, s.settings);
  PrepareSurface(*s.engine);
  ClampFireParams(s.settings);
}

void Listen() {
  Show& s = P().show;
  s.gate.mixer = P().hearing && SoundEffectsOn(s.settings) ? s.sound.get() : nullptr;
}

void StartShow(std::int32_t width, std::int32_t height) {
  Page& p = P();
  Show& s = p.show;
  InitShow(s, width, height);
  s.sound = std::make_unique<SoundMixer>(static_cast<std::uint64_t>(p.seed));
  s.sound->UseLiveClock(s.settings.Adv_TimeDelay);
  s.engine->Events = &s.gate;
  Listen();
  s.session = std::make_unique<ShowSession>(*s.engine, s.settings, s.run);
}

void SaveAndRestart() {
  Page& p = P();
  SavePropsToStore(p.props, p.store);
  p.advModel.Ok();
  if (p.width > 0 && p.height > 0) StartShow(p.width, p.height);
}

std::vector<std::int32_t> out;  // the rectangles handed to the page

const char* Hand(std::string text) {
  P().out = std::move(text);
  return P().out.c_str();
}

}  // namespace

extern "C" {

// Starts the show at this size with this seed (a whole number below 2^53).
EMSCRIPTEN_KEEPALIVE void gw_start(int width, int height, double seed) {
  Page& p = P();
  p.width = std::max(1, std::min(width, 8192));
  p.height = std::max(1, std::min(height, 8192));
  p.seed = seed;
  StartShow(p.width, p.height);
}

// The size the show draws at: the window's, up to 8192 pixels a side.
EMSCRIPTEN_KEEPALIVE int gw_width() { return P().width; }
EMSCRIPTEN_KEEPALIVE int gw_height() { return P().height; }

// Draws one frame and copies what changed into the opaque picture. Returns the changed
// rectangles since the last call (and the first show's clear): their count, then left, top,
// right, bottom of each.
EMSCRIPTEN_KEEPALIVE const std::int32_t* gw_frame() {
  Show& s = P().show;
  s.session->DrawFrame();
  s.session->EndFrame();
  ++s.frames;
  const Framebuffer& f = s.host->Surface();
  for (std::size_t r = 1; r + 3 < s.rects.size(); r += 4) {
    for (std::int32_t y = s.rects[r + 1]; y < s.rects[r + 3]; ++y) {
      const std::uint32_t* from = f.Pixels + static_cast<std::size_t>(y) * f.Stride;
      std::uint32_t* to = s.rgba.data() + static_cast<std::size_t>(y) * f.Width;
      for (std::int32_t x = s.rects[r]; x < s.rects[r + 2]; ++x) to[x] = from[x] | 0xFF000000u;
    }
  }
  out.assign(s.rects.begin(), s.rects.end());
  s.rects.assign(1, 0);
  return out.data();
}

// The engine's framebuffer (0x00BBGGRR, rows of the show's width), for the tests.
EMSCRIPTEN_KEEPALIVE const std::uint32_t* gw_framebuffer() { return P().show.host->Surface().Pixels; }
// The opaque picture, width * height pixels of R, G, B, A bytes.
EMSCRIPTEN_KEEPALIVE const std::uint32_t* gw_pixels() { return P().show.rgba.data(); }
EMSCRIPTEN_KEEPALIVE int gw_frames() { return static_cast<int>(P().show.frames); }
EMSCRIPTEN_KEEPALIVE int gw_delay() { return P().show.settings.Adv_TimeDelay; }

// The framebuffer's hash, sixteen hex digits.
EMSCRIPTEN_KEEPALIVE const char* gw_hash() {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx",
                static_cast<unsigned long long>(FrameHash(P().show.host->Surface())));
  return Hand(text);
}

// The message as the show last styled it: {"text":..., "colour": 0x00BBGGRR, "count": n}.
EMSCRIPTEN_KEEPALIVE const char* gw_message() {
  const NullHost& h = *P().show.host;
  return Hand("{\"text\":" + Quote(h.LastMessage().Text) + ",\"colour\":" +
              std::to_string(h.LastMessage().Colour) + ",\"count\":" + std::to_string(h.Messages()) + "}");
}

// What the panel is made of, from the settings table and the dialogs' field data.
EMSCRIPTEN_KEEPALIVE const char* gw_fields() {
  std::ostringstream o;
  o << "{\"themes\":[";
  for (int i = 1; i < kThemeListSize; ++i) o << (i > 1 ? "," : "") << Quote(ThemeName(i));
  o << "],\"fire\":[";
  bool first = true;
  for (const FireFieldInfo& f : FireFields()) {
    o << (first ? "" : ",") << "{\"key\":" << Quote(f.setting->key) << ",\"caption\":" << Quote(f.caption)
      << ",\"page\":" << f.page << ",\"lo\":" << NumberText(f.setting->dialogLo)
      << ",\"hi\":" << NumberText(f.setting->dialogHi) << ",\"decimal\":" << (f.Decimal() ? "true" : "false")
      << ",\"help\":" << f.help << "}";
    first = false;
  }
  o << "],\"checks\":[";
  first = true;
  for (const CheckInfo& c : FireChecks()) {
    o << (first ? "" : ",") << "{\"key\":" << Quote(c.setting->key) << ",\"caption\":" << Quote(c.caption)
      << ",\"page\":" << c.page << ",\"help\":" << c.help << "}";
    first = false;
  }
  o << "],\"colour\":[";
  first = true;
  for (const ColorFieldInfo& c : ColorFields()) {
    o << (first ? "" : ",") << "{\"key\":" << Quote(c.setting->key) << ",\"lo\":0,\"hi\":" << c.upper
      << ",\"help\":" << c.help << "}";
    first = false;
  }
  o << "],\"advanced\":[";
  first = true;
  for (const AdvField& a : kAdvFields) {
    if (a.box == kSoundBox) continue;
    const SettingDef& def = *FindSetting(a.key);
    o << (first ? "" : ",") << "{\"key\":" << Quote(def.key) << ",\"lo\":" << NumberText(def.dialogLo)
      << ",\"hi\":" << NumberText(def.dialogHi) << ",\"text\":" << (a.box < 0 ? "true" : "false") << "}";
    first = false;
  }
  o << "]}";
  return Hand(o.str());
}

// Every shown setting's text as the dialogs hold it: {"FireWorks":"12", ...}.
EMSCRIPTEN_KEEPALIVE const char* gw_values() {
  std::string o = "{";
  for (const SettingDef* def : PageSettings()) {
    o += (o.size() > 1 ? "," : "") + Quote(def->key) + ":" + Quote(CurrentText(*def));
  }
  return Hand(o + "}");
}

// The user types text into a setting's field and leaves it (a check box takes 0 or 1); the
// dialog's filters, clamps and rules apply, then the show restarts (sound on or off goes on with
// the show as it is). False for an unknown key.
EMSCRIPTEN_KEEPALIVE int gw_set(const char* key, const char* text) {
  Page& p = P();
  const SettingDef* def = FindSetting(key);
  if (!def) return 0;
  ControlId id;
  if (PropsControl(*def, id)) {
    if (IsCheck(id)) {
      p.props.SetCheckValue(id, std::string_view(text) == "1" ? 1 : 0);
    } else {
      p.props.Enter(id, text);
      p.props.FocusElsewhere();
    }
  } else if (const AdvField* a = AdvFieldOf(key); a && a->box == kSoundBox) {
    p.adv.SetCheckValue(AdvBox(*a), std::string_view(text) == "1" ? 1 : 0);
    p.advModel.Ok();
    Show& s = p.show;
    s.settings.SoundFX_ON = CurrentText(*def);
    if (s.sound && !SoundEffectsOn(s.settings)) s.sound->StopAll();
    Listen();
    return 1;
  } else if (a) {
    p.adv.Enter(AdvBox(*a), text);
    p.adv.FocusElsewhere();
  } else {
    return 0;
  }
  SaveAndRestart();
  return 1;
}

// A click on theme 1..13 of the theme list.
EMSCRIPTEN_KEEPALIVE void gw_theme(int position) {
  ChooseTheme(P().props, position);
  SaveAndRestart();
}

// The factory settings, as the properties' reset and the advanced dialog's defaults give them.
EMSCRIPTEN_KEEPALIVE void gw_factory() {
  Page& p = P();
  ResetPropsToFactory(p.props, p.store);
  p.advModel.Open();
  SaveAndRestart();
}

// The largest template file gw_import takes, in bytes.
EMSCRIPTEN_KEEPALIVE int gw_template_limit() { return static_cast<int>(kMaxTemplateBytes); }

// A template file's text. Empty when it was taken (the show restarts on it); otherwise the
// reason it was refused, with nothing changed.
EMSCRIPTEN_KEEPALIVE const char* gw_import(const char* data, int length) {
  if (length < 0 || static_cast<std::size_t>(length) > kMaxTemplateBytes) {
    return Hand("the file is larger than a template can be");
  }
  {
    std::ofstream file(kImportPath, std::ios::binary | std::ios::trunc);
    file.write(data, length);
  }
  Templates templates{kImportPath};
  const char* const kAbsent = "\x01";
  int found = 0;
  for (const SettingDef* def : PageSettings()) {
    const std::string text = ProfileReadText(templates, def->section, def->key, kAbsent);
    if (text == kAbsent) continue;
    ++found;
    std::string why = DialogRangeProblem(*def, text);
    if (!why.empty()) return Hand(why);
  }
  if (found == 0) return Hand("not a Glintora Fireworks template");
  Page& p = P();
  LoadTemplateFile(p.props, p.store, templates);
  p.advModel.Open();
  SaveAndRestart();
  return Hand("");
}

// The current settings as a template file's text, as the properties dialog saves one.
EMSCRIPTEN_KEEPALIVE const char* gw_export() {
  std::remove(kExportPath);
  Page& p = P();
  std::string reason;  // the page's own file system: a failure leaves the text empty
  SaveTemplateFile(p.props, p.store, Templates{kExportPath}, reason);
  std::ifstream file(kExportPath, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return Hand(text.str());
}

// The settings that differ from the factory, as "key=value" lines (the page makes the link).
EMSCRIPTEN_KEEPALIVE const char* gw_changed() {
  std::string o;
  for (const SettingDef* def : PageSettings()) {
    const std::string now = CurrentText(*def);
    const auto a = ParseNumericText(now), b = ParseNumericText(def->defaultText);
    const bool same = def->dialog == DialogKind::None ? now == def->defaultText : (a && b && *a == *b);
    if (!same) o += std::string(def->key) + "=" + now + "\n";
  }
  return Hand(o);
}

// A link's settings, as "key=value" lines: every setting not named takes its factory value.
// Empty when taken (the show restarts with the given seed); otherwise why not, nothing changed.
EMSCRIPTEN_KEEPALIVE const char* gw_link(const char* lines, double seed) {
  MemoryStore given;
  std::istringstream in(lines);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    const std::size_t eq = line.find('=');
    const std::string key = line.substr(0, eq);
    const SettingDef* def = FindSetting(key);
    ControlId id;
    if (eq == std::string::npos || !def || !(PropsControl(*def, id) || AdvFieldOf(def->key))) {
      return Hand("unknown setting '" + key.substr(0, 30) + "'");
    }
    const std::string value = line.substr(eq + 1);
    std::string why = DialogRangeProblem(*def, value);
    if (!why.empty()) return Hand(why);
    given.Write(def->section, def->key, value);
  }
  Page& p = P();
  for (const SettingDef* def : PageSettings()) {
    p.store.Write(def->section, def->key, RegReadText(given, def->section, def->key, def->defaultText));
  }
  LoadPropsFromStore(p.props, p.store);
  p.advModel.Open();
  p.seed = seed;
  SaveAndRestart();
  return Hand("");
}

// Whether the page's audio output runs: the show's events are mixed only while it does (and
// sound is on); what rings on meanwhile waits for it.
EMSCRIPTEN_KEEPALIVE void gw_hear(int on) {
  P().hearing = on != 0;
  Listen();
}

// The next samples of the live sound, frames (at most 48000) of interleaved left and right
// 16-bit samples at 48 kHz, valid until the next call.
EMSCRIPTEN_KEEPALIVE const std::int16_t* gw_mix(int frames) {
  Page& p = P();
  const std::int32_t n = std::clamp(frames, 0, kMaxMix);
  p.mixed.resize(static_cast<std::size_t>(n) * SoundMixer::kChannels);
  if (p.show.sound) p.show.sound->Render(p.mixed.data(), n);
  return p.mixed.data();
}

// For the tests: a show of the current settings, size and seed run apart from the page's for
// frames frames, and its sound track as glintora-render --wav writes it (the sounds ringing out
// at the end included). Returns the samples; gw_track_size() gives their count.
EMSCRIPTEN_KEEPALIVE const std::int16_t* gw_track(int frames) {
  Page& p = P();
  Show s;
  InitShow(s, p.width, p.height);
  SoundTrack track(static_cast<std::uint64_t>(p.seed), s.settings.Adv_TimeDelay, SoundEffectsOn(s.settings));
  std::vector<std::int16_t>& out = p.mixed;
  out.clear();
  track.SetTap([&out](const std::int16_t* samples, std::int32_t n, std::string&) {
    out.insert(out.end(), samples, samples + static_cast<std::ptrdiff_t>(n) * SoundMixer::kChannels);
    return true;
  });
  s.engine->Events = track.Sink();
  s.session = std::make_unique<ShowSession>(*s.engine, s.settings, s.run);
  std::string error;  // the tap never fails
  for (int drawn = 0; drawn < frames; ++drawn) {
    s.session->DrawFrame();
    track.EndFrame(error);
    if (s.session->EndFrame()) break;
  }
  track.Finish(error);
  return out.data();
}
EMSCRIPTEN_KEEPALIVE int gw_track_size() { return static_cast<int>(P().mixed.size()); }

}  // extern "C"
