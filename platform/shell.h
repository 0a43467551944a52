// The shell as the engines see it. For now only the creation of a shell link
// (a ".lnk" file); later steps extend it with what they need.
#pragma once

#include <cstdint>

#include "core/str.h"

// Show commands of a link, numbered as Windows numbers them.
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 7;
inline constexpr int kShowMaximized = 3;

// Everything a link file holds. Empty texts are left out of the link.
struct ShellLinkSpec {
  cc::Str link_path;       // the ".lnk" file to write
  cc::Str target;          // what the link starts
  cc::Str arguments;
  cc::Str working_folder;
  cc::Str description;
  cc::Str icon_path;       // no icon location when empty
  int icon_index = 0;
  int show_command = kShowNormal;
  uint16_t hot_key = 0;    // virtual key in the low byte, modifiers in the high byte
};

class Shell {
 public:
  virtual ~Shell() = default;
  // Creates or replaces the link file. False when the shell link object
  // cannot be made or the file cannot be saved (for example because its
  // folder does not exist).
  virtual bool CreateLink(const ShellLinkSpec& link) = 0;
};
