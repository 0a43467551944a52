#include "install/services.h"

#include <memory>

#include "platform/platform.h"
#include "platform/process.h"
#include "platform/service_manager.h"
#include "runtime/setup_log.h"

namespace {

ServiceStart StartTypeOf(int configured) {
  switch (configured) {
    case 2:
      return ServiceStart::kDemand;
    case 3:
      return ServiceStart::kDisabled;
    default:
      return ServiceStart::kAuto;
  }
}

void Wait(Platform& platform, int milliseconds) { platform.process->Sleep(milliseconds); }

// Sends the stop control and waits until the service reports it stopped.
void StopService(Platform& platform, SetupLog& log, Service& service, const cc::Str& name) {
  service.SendStop();
  uint32_t state = 0;
  for (int poll = 0; poll < kServiceStopPolls; ++poll) {
    Wait(platform, kServiceStopPollMs);
    if (service.QueryState(&state) && state == kServiceStopped) return;
  }
  log.Line(u"StopService NG, Name:%s, State:%u", name, state);
}

std::unique_ptr<Service> CreateOrReplace(Platform& platform, SetupLog& log, ServiceDatabase& database,
                                         const ServiceSpec& spec) {
  std::unique_ptr<Service> service = database.Create(spec);
  if (service) return service;
  DeleteServiceEntry(platform, log, spec.name);
  return database.Create(spec);
}

}  // namespace

cc::Str ServiceCommandLine(const cc::Str& program) {
  if (program.IndexOf(u' ') < 0 || program.StartsWith(u"\"")) return program;
  return cc::Str(u"\"") + program + cc::Str(u"\"");
}

bool CreateServiceEntry(Platform& platform, SetupLog& log, const ServiceEntry& entry) {
  if (entry.name.IsEmpty()) {
    log.Line(u"CreateService NG, Name:%s, Exe:%s", entry.name, entry.program);
    return false;
  }
  std::unique_ptr<ServiceDatabase> database = platform.services->Connect();
  if (!database) {
    log.Line(u"OpenSCManager NG, Name:%s", entry.name);
    return false;
  }
  ServiceSpec spec;
  spec.name = entry.name;
  spec.display_name = entry.name;
  spec.command_line = ServiceCommandLine(entry.program);
  spec.start = StartTypeOf(entry.start_type);
  std::unique_ptr<Service> service = CreateOrReplace(platform, log, *database, spec);
  if (!service) {
    log.Line(u"CreateService NG, Name:%s, Exe:%s", entry.name, entry.program);
    return false;
  }
  service->SetDescription(entry.description);
  if (entry.start_now && !service->Start()) log.Line(u"StartService NG, Name:%s", entry.name);
  return true;
}

namespace {

// The program of a registered command line: the text in quotes when it
// starts with one, else the whole line.
cc::Str ProgramOf(const cc::Str& commandLine) {
  if (!commandLine.StartsWith(u"\"")) return commandLine;
  const cc::Str rest = commandLine.Substring(1);
  const int close = rest.IndexOf(u'"');
  return close < 0 ? rest : rest.Substring(0, close);
}

// Stops and deletes the open `service`; `program`, when not null, must be
// what it runs.
bool StopAndDelete(Platform& platform, SetupLog& log, const cc::Str& name, const cc::Str* program) {
  std::unique_ptr<ServiceDatabase> database = platform.services->Connect();
  if (!database) return false;
  std::unique_ptr<Service> service = database->Open(name);
  if (!service) {
    log.Line(u"OpenService NG, Name:%s,", name);
    return false;
  }
  if (program) {
    cc::Str commandLine;
    if (!service->QueryCommandLine(&commandLine) || ProgramOf(commandLine).Compare(*program, true) != 0) {
      log.Line(u"Service runs another program, kept, Name:%s, Exe:%s", name, commandLine);
      return false;
    }
  }
  StopService(platform, log, *service, name);
  if (!service->Delete()) {
    log.Line(u"DeleteService NG, Name:%s", name);
    return false;
  }
  return true;
}

}  // namespace

bool DeleteServiceEntry(Platform& platform, SetupLog& log, const cc::Str& name) {
  return StopAndDelete(platform, log, name, nullptr);
}

bool DeleteServiceOfProgram(Platform& platform, SetupLog& log, const cc::Str& name, const cc::Str& program) {
  return StopAndDelete(platform, log, name, &program);
}
