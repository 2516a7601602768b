#pragma once
// Names of picture files: their extension, the thumbnail's name beside the card picture's, the
// name without its folder, and a folder written as the pickers join names to it.

#include <string>

namespace dv::ui {

// The text after the last "." of the name; empty when there is no "." or a folder separator
// follows the last one (a folder with a dot and a file without extension).
std::string GetFileExtension(const std::string& path);

// The thumbnail's file beside a card picture's: "-mini" before the extension, so "Dragon.jpeg"
// gives "Dragon-mini.jpeg"; a name without extension just gains "-mini".
std::string MiniFileName(const std::string& path);

// The name without its folder ("/" or "\" separated).
std::string BareFileName(const std::string& path);

// A folder followed by one "/", with doubled separators collapsed, ready for a name to follow.
std::string FolderWithSeparator(const std::string& folder);

}  // namespace dv::ui
