// The answer of the version query, computed on first use and then kept for
// the lifetime of the platform object that holds it (see os_version.h).
#pragma once

struct OsVersionCache {
  bool known = false;
  int index = 0;
  int is64 = 0;
};
