// The outputs a saver or wallpaper covers, as the display announces them: each gets a surface once
// its description is complete, a new one when its scale changes, and loses it when it goes. Each
// output runs its own show at its own physical size. Portable: the host feeds in the events.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace glintora {

// What the host must do for an output after its description completed.
enum class OutputChange { None, Make, Remake };

struct OutputEntry {
  std::uint32_t Id = 0;       // the host's name for the output (its global's name)
  std::string Name;           // "HEADLESS-1"; empty until announced
  std::int32_t Scale = 1;     // pending until Done
  std::int32_t MadeScale = 0; // the scale its surface was made at; 0 = no surface
  bool Described = false;     // one Done seen
};

class OutputSet {
 public:
  void Add(std::uint32_t id);
  void SetName(std::uint32_t id, const std::string& name);
  void SetScale(std::uint32_t id, std::int32_t scale);
  // The output's description is complete (wl_output.done). covering: surfaces are wanted now.
  OutputChange Done(std::uint32_t id, bool covering);
  // Every described output without a surface is given one (a saver starting): their ids.
  std::vector<std::uint32_t> MakeAll();
  // Surfaces went away (a saver ending); the outputs stay known.
  void DropAll();
  // True when the output had a surface, which the host then destroys.
  bool Remove(std::uint32_t id);

  const OutputEntry* Find(std::uint32_t id) const;
  const std::vector<OutputEntry>& Entries() const { return entries_; }

 private:
  OutputEntry* Get(std::uint32_t id);
  std::vector<OutputEntry> entries_;
};

// A buffer's size in pixels for a surface of logical size width x height on an output of that
// scale: the physical size, at least 1x1.
struct PixelSize {
  std::int32_t Width;
  std::int32_t Height;
};
PixelSize BufferSizeFor(std::int32_t width, std::int32_t height, std::int32_t scale);

}  // namespace glintora
