// Template files: the start-up import of a whole file into the store, and the two key copies
// between the store and the current template file.
#pragma once

#include <string>
#include <string_view>

#include "settings/profile.h"
#include "settings/store.h"

namespace glintora {

// Makes path the current template and copies every setting of the file into the store: numbers
// as their leading number in plain decimal form, texts as they stand, the table's default for
// anything missing (a file that cannot be read, one over 1 MB included, stores every default).
// The file is read once. False when it could not be read.
bool ImportTemplateFile(Store& store, Templates& templates, const std::string& path);

// Writes the key's text as read from file (empty = the current template) to the store.
bool CopyProfileKeyToStore(Store& store, const Templates& templates, const std::string& section,
                           const std::string& key, std::string_view defaultText,
                           const std::string& file = {});
// The same from a file already read.
bool CopyProfileKeyToStore(Store& store, const ProfileFile& file, const std::string& section,
                           const std::string& key, std::string_view defaultText);

// Sets the key's text as read from the store in an edit of the current template file.
void CopyStoreKeyToProfile(Store& store, ProfileEdit& edit, const std::string& section,
                           const std::string& key, std::string_view defaultText);

}  // namespace glintora
