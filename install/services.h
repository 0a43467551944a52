// Windows services of the project: created (replacing one of the same name)
// after the files are in place, and stopped and deleted again by the
// uninstall. Both go through platform.services; the waits while a service
// stops go through platform.process. What fails is written to `log`.
#pragma once

#include "core/str.h"

class Platform;
class SetupLog;

// What the project's item asks for.
struct ServiceEntry {
  cc::Str name;          // service and display name
  cc::Str program;       // full path of the service program
  int start_type = 0;    // 2 on demand, 3 disabled, anything else automatic
  cc::Str description;
  bool start_now = false;
};

// How often, and how far apart, DeleteServiceEntry asks whether a stopped
// service has come to rest.
inline constexpr int kServiceStopPolls = 50;
inline constexpr int kServiceStopPollMs = 100;

// The command line the manager starts: the program path, in double quotes
// when it holds a blank and is not quoted yet (unquoted, "C:\Program
// Files\x\svc.exe" would first be tried as "C:\Program.exe").
cc::Str ServiceCommandLine(const cc::Str& program);

// Connects to the service control manager, creates the service (own
// process, local system account, normal error control) and, when that
// fails, deletes an existing one of that name with DeleteServiceEntry and
// tries once more; then sets the description and, with start_now, starts
// it. Returns false when the manager refuses the connection, the name is
// empty or the service cannot be created (logged "CreateService NG, Name:%s,
// Exe:%s"); a failed start is logged and does not change the result.
bool CreateServiceEntry(Platform& platform, SetupLog& log, const ServiceEntry& entry);

// Opens the service (failure: logged "OpenService NG, Name:%s,"), sends it
// the stop control, asks for its state up to kServiceStopPolls times
// kServiceStopPollMs apart until it is stopped (a service that never stops
// is logged with its last state number), and deletes it (failure: logged
// "DeleteService NG, Name:%s"). Returns whether the deletion succeeded;
// false also when the manager refuses the connection.
bool DeleteServiceEntry(Platform& platform, SetupLog& log, const cc::Str& name);

// DeleteServiceEntry for a service the uninstall record names: only when
// the program it runs (its registered command line, quotes removed; letter
// case ignored) is `program`. A service of that name that runs anything
// else is not ours: it is left alone (logged "Service runs another
// program, kept, Name:%s, Exe:%s") and the result is false.
bool DeleteServiceOfProgram(Platform& platform, SetupLog& log, const cc::Str& name, const cc::Str& program);
