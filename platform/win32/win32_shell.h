// The shell through its COM objects: links with IShellLinkW, their property
// stores with IPropertyStore, saved with IPersistFile; item verbs through
// the shell's scripting object (IShellDispatch); ShellExecute(Ex)W and
// SHChangeNotify.
#pragma once

#include "platform/shell.h"

class Win32Shell : public Shell {
 public:
  bool CreateLink(const ShellLinkSpec& link) override;
  cc::Str ShellString(int id) override;
  bool ItemVerbs(const cc::Str& folder, const cc::Str& name, std::vector<cc::Str>* verbs) override;
  bool DoItemVerb(const cc::Str& folder, const cc::Str& name, const cc::Str& verb) override;
  bool Execute(const cc::Str& verb, const cc::Str& file, const cc::Str& parameters,
               const cc::Str& folder, int show) override;
  bool ExecuteAndWait(const cc::Str& verb, const cc::Str& file, const cc::Str& parameters,
                      int show) override;
  void NotifyChange(uint32_t event, uint32_t flags, const cc::Str& path) override;
};
