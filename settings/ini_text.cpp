// Sections: splitting into lines; reading a line; IniSectionName; IniValues; IniUpdate.
#include "settings/ini_text.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "settings/text.h"

namespace glintora {

namespace {

struct Line {
  std::size_t begin;  // first byte
  std::size_t end;    // one past the last byte before the line break
  std::size_t next;   // first byte of the next line; end when the content ends without a break
};

// A line ends at CR LF, LF or a lone CR, as files written by hand on any system do.
std::vector<Line> SplitLines(std::string_view content) {
  std::vector<Line> lines;
  std::size_t pos = 0;
  // A byte-order mark is not part of the first line's text.
  if (content.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;
  while (pos < content.size()) {
    const std::size_t end = std::min(content.find_first_of("\r\n", pos), content.size());
    std::size_t next = end;
    if (end < content.size()) {
      next = end + 1;
      if (content[end] == '\r' && next < content.size() && content[next] == '\n') ++next;
    }
    lines.push_back({pos, end, next});
    pos = next;
  }
  return lines;
}

enum class Kind { Blank, Comment, Section, Entry, Other };

struct Parsed {
  Kind kind = Kind::Other;
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // entry value, trimmed
};

Parsed Parse(std::string_view line) {
  Parsed p;
  const std::string_view t = TrimBlanks(line);
  if (t.empty()) {
    p.kind = Kind::Blank;
  } else if (t[0] == ';' || t[0] == '#') {
    p.kind = Kind::Comment;
  } else if (const auto name = IniSectionName(t)) {
    p.kind = Kind::Section;
    p.name = *name;
  } else if (t[0] == '[') {
    p.kind = Kind::Other;  // an unclosed header names no section, for reading and writing alike
  } else if (const std::size_t eq = t.find('='); eq != std::string_view::npos) {
    p.kind = Kind::Entry;
    p.name = TrimBlanks(t.substr(0, eq));
    p.value = TrimBlanks(t.substr(eq + 1));
  }
  return p;
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

std::string Unquote(std::string_view value) {
  if (value.size() >= 2 && IsQuote(value.front()) && value.front() == value.back()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

// The value as written on its line: quoted when reading would otherwise change it.
std::string Quote(std::string_view value) {
  std::string v(value);
  for (char& c : v) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  const bool blankEnds = !v.empty() && (IsBlank(v.front()) || IsBlank(v.back()));
  const bool quoted = v.size() >= 2 && IsQuote(v.front()) && v.front() == v.back();
  return (blankEnds || quoted) ? "\"" + v + "\"" : v;
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// Where a section sits in the content: its header line and its last non-blank line.
struct SectionSpan {
  bool found = false;
  std::size_t header = 0;
  std::size_t last = 0;
  std::optional<std::size_t> keyLine;
};

SectionSpan FindSection(std::string_view content, const std::vector<Line>& lines,
                        std::string_view section, std::string_view key) {
  SectionSpan span;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Parsed p = Parse(content.substr(lines[i].begin, lines[i].end - lines[i].begin));
    if (p.kind == Kind::Section) {
      if (span.found) break;  // only the first section of that name counts
      if (EqualsIgnoreCase(p.name, section)) {
        span.found = true;
        span.header = span.last = i;
      }
      continue;
    }
    if (!span.found) continue;
    if (p.kind != Kind::Blank) span.last = i;
    if (p.kind == Kind::Entry && !span.keyLine && EqualsIgnoreCase(p.name, key)) span.keyLine = i;
  }
  return span;
}

}  // namespace

std::optional<std::string_view> IniSectionName(std::string_view line) {
  const std::string_view t = TrimBlanks(line);
  if (t.empty() || t[0] != '[') return std::nullopt;
  const std::size_t close = t.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return TrimBlanks(t.substr(1, close - 1));
}

IniValues::IniValues(std::string_view content) {
  std::unordered_set<std::string> seen;
  std::string prefix;  // the current section's part of a map key
  bool taking = false;  // only the first section of a name counts
  for (const Line& line : SplitLines(content)) {
    const Parsed p = Parse(content.substr(line.begin, line.end - line.begin));
    if (p.kind == Kind::Section) {
      prefix = LowerAscii(p.name) + '\n';
      taking = seen.insert(prefix).second;
    } else if (taking && p.kind == Kind::Entry) {
      values_.emplace(prefix + LowerAscii(p.name), Unquote(p.value));  // an earlier line wins
    }
  }
}

std::optional<std::string> IniValues::Find(std::string_view section, std::string_view key) const {
  // Names never hold a line break, so the joined key names one pair only.
  const auto found =
      values_.find(LowerAscii(TrimBlanks(section)) + '\n' + LowerAscii(TrimBlanks(key)));
  if (found == values_.end()) return std::nullopt;
  return found->second;
}

std::optional<std::string> IniLookup(std::string_view content, std::string_view section,
                                     std::string_view key) {
  return IniValues(content).Find(section, key);
}

std::optional<std::string> IniUpdate(std::string_view content, std::string_view section,
                                     std::string_view key, std::string_view value,
                                     std::string_view newline) {
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  if (section.empty() || key.empty() || HasLineBreak(section) || HasLineBreak(key) ||
      section.find(']') != std::string_view::npos || key.find('=') != std::string_view::npos ||
      key[0] == '[' || key[0] == ';' || key[0] == '#') {
    return std::nullopt;
  }
  // New lines follow the file's first line break.
  if (const std::size_t br = content.find_first_of("\r\n"); br != std::string_view::npos) {
    newline = content.substr(br, content.compare(br, 2, "\r\n") == 0 ? 2 : 1);
  }

  const std::string entry = std::string(key) + "=" + Quote(value);
  const std::vector<Line> lines = SplitLines(content);
  const SectionSpan span = FindSection(content, lines, section, key);
  std::string out;
  if (span.found && span.keyLine) {
    const Line& line = lines[*span.keyLine];
    out.append(content.substr(0, line.begin)).append(entry).append(content.substr(line.end));
  } else if (span.found) {
    const Line& line = lines[span.last];
    out.append(content.substr(0, line.next));
    if (line.next == line.end) out.append(newline);  // the content ends without a break
    out.append(entry).append(newline).append(content.substr(line.next));
  } else {
    out.append(content);
    if (!lines.empty() && lines.back().next == lines.back().end) out.append(newline);
    out.append("[").append(section).append("]").append(newline).append(entry).append(newline);
  }
  return out;
}

}  // namespace glintora
