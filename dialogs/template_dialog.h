// The template file dialog's logic: the type list, the full path, open and save validation, and
// the remembered drive and folder. The drive, folder and file lists are the platform's; the file
// questions go through FileSystem so the logic runs anywhere.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/file_system.h"
#include "settings/store.h"

namespace glintora {

inline constexpr const char* kTemplateTypes =
    "Glintora Fireworks Templates (*.glx)|*.glx|All Files (*.*)|*.*";
inline constexpr const char* kOpenTemplateTitle = "Select Template to Open";
inline constexpr const char* kSaveTemplateTitle = "Enter or Select Template to Save";
inline constexpr const char* kMessageCaption = "Glintora Fireworks";
inline constexpr const char* kOpenInvalidMessage = "Please select an existing file.";
inline constexpr const char* kSaveInvalidMessage = "Please enter a valid path and file.";

// What the properties dialog says when a template could not be saved: that the file was left as
// it was, unless the reason says it is no longer in its place.
std::string SaveFailedMessage(std::string_view path, std::string_view reason);

struct FileType {
  std::string description;
  std::string pattern;
};
// "desc|pattern|desc|pattern": pairs in order; a description without a pattern gets "".
std::vector<FileType> ParseFileTypes(std::string_view types);

// The folder, the separator unless the folder already ends with it, then the name as typed.
std::string TemplateFullPath(std::string_view folder, std::string_view name, char separator);

// Where the dialog was last accepted (section Template); empty texts when never.
struct TemplateLocation {
  std::string drive;
  std::string folder;
};
TemplateLocation ReadTemplateLocation(Store& store);

class TemplateDialogModel {
 public:
  TemplateDialogModel(Store& store, FileSystem& files) : store_(store), files_(files) {}

  // Prepares a use: the mode, caption and types; clears the result.
  void FormLet(bool open, std::string title, std::string types);

  bool OpenMode() const { return open_; }
  const std::string& Title() const { return title_; }
  const std::vector<FileType>& Types() const { return types_; }
  bool Accepted() const { return accepted_; }
  const std::string& FullFileName() const { return fullFileName_; }

  // OK with the lists' drive and folder and the name box's text. Empty when accepted (the dialog
  // closes); otherwise the message to show (the dialog stays open, focus back to the name box).
  std::string Ok(const std::string& drive, const std::string& folder, const std::string& name);
  // A double-click on a file accepts its path as it is, in either mode.
  void FileDoubleClicked(const std::string& drive, const std::string& folder,
                         const std::string& name);
  void Cancel() { accepted_ = false; }

 private:
  void Accept(const std::string& drive, const std::string& folder, std::string path);
  bool PathCanBeWritten(const std::string& path);

  Store& store_;
  FileSystem& files_;
  bool open_ = true;
  std::string title_;
  std::vector<FileType> types_;
  bool accepted_ = false;
  std::string fullFileName_;
};

}  // namespace glintora
