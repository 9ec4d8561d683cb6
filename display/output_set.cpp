#include "display/output_set.h"

#include <algorithm>

namespace glintora {

void OutputSet::Add(std::uint32_t id) {
  if (Get(id)) return;
  OutputEntry e;
  e.Id = id;
  entries_.push_back(e);
}

void OutputSet::SetName(std::uint32_t id, const std::string& name) {
  if (OutputEntry* e = Get(id)) e->Name = name;
}

void OutputSet::SetScale(std::uint32_t id, std::int32_t scale) {
  if (OutputEntry* e = Get(id)) e->Scale = std::max(scale, 1);
}

OutputChange OutputSet::Done(std::uint32_t id, bool covering) {
  OutputEntry* e = Get(id);
  if (!e) return OutputChange::None;
  e->Described = true;
  if (!covering) return OutputChange::None;
  if (e->MadeScale == 0) {
    e->MadeScale = e->Scale;
    return OutputChange::Make;
  }
  if (e->MadeScale != e->Scale) {
    e->MadeScale = e->Scale;
    return OutputChange::Remake;
  }
  return OutputChange::None;
}

std::vector<std::uint32_t> OutputSet::MakeAll() {
  std::vector<std::uint32_t> made;
  for (OutputEntry& e : entries_) {
    if (!e.Described || e.MadeScale != 0) continue;
    e.MadeScale = e.Scale;
    made.push_back(e.Id);
  }
  return made;
}

void OutputSet::DropAll() {
  for (OutputEntry& e : entries_) e.MadeScale = 0;
}

bool OutputSet::Remove(std::uint32_t id) {
  const auto it = std::find_if(entries_.begin(), entries_.end(),
                               [id](const OutputEntry& e) { return e.Id == id; });
  if (it == entries_.end()) return false;
  const bool had = it->MadeScale != 0;
  entries_.erase(it);
  return had;
}

const OutputEntry* OutputSet::Find(std::uint32_t id) const {
  for (const OutputEntry& e : entries_)
    if (e.Id == id) return &e;
  return nullptr;
}

OutputEntry* OutputSet::Get(std::uint32_t id) { return const_cast<OutputEntry*>(Find(id)); }

PixelSize BufferSizeFor(std::int32_t width, std::int32_t height, std::int32_t scale) {
  const std::int64_t s = std::max(scale, 1);
  // Larger than any buffer a compositor accepts; keeps the product in range.
  const auto clamp = [s](std::int32_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v * s, 1, 32767));
  };
  return {clamp(width), clamp(height)};
}

}  // namespace glintora
