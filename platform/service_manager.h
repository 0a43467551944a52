// The service control manager as the engines see it: connect with full
// access, create, open, configure, start, stop, query and delete services.
// platform/win32 maps each call onto OpenSCManagerW, CreateServiceW,
// OpenServiceW, ChangeServiceConfig2W, StartServiceW, ControlService,
// QueryServiceStatus and DeleteService; platform/fake keeps services in
// memory whose stopping can be slow or never happen.
#pragma once

#include <cstdint>
#include <memory>

#include "core/str.h"

// Service states, numbered as Windows numbers them.
inline constexpr uint32_t kServiceStopped = 1;
inline constexpr uint32_t kServiceStartPending = 2;
inline constexpr uint32_t kServiceStopPending = 3;
inline constexpr uint32_t kServiceRunning = 4;

// Start types, numbered as Windows numbers them.
enum class ServiceStart : uint32_t { kAuto = 2, kDemand = 3, kDisabled = 4 };

// A service of its own process (SERVICE_WIN32_OWN_PROCESS) that runs as the
// local system account, with normal error control, no load-order group and
// no dependencies.
struct ServiceSpec {
  cc::Str name;
  cc::Str display_name;
  cc::Str command_line;  // the program path, quoted when it holds blanks
  ServiceStart start = ServiceStart::kAuto;
};

// An open service (full access); closed when the object is destroyed.
class Service {
 public:
  virtual ~Service() = default;
  // False when the system refuses.
  virtual bool SetDescription(const cc::Str& description) = 0;
  // Starts the service without arguments. False when it cannot be started
  // (running already, disabled, program missing).
  virtual bool Start() = 0;
  // Sends the stop control. False when the service is not running or
  // refuses it.
  virtual bool SendStop() = 0;
  // True with `state` (kService*) filled; false when it cannot be queried.
  virtual bool QueryState(uint32_t* state) = 0;
  // True with the command line the manager starts (as registered: the
  // program path, quoted or not); false when it cannot be queried.
  virtual bool QueryCommandLine(cc::Str* commandLine) = 0;
  // Marks the service for deletion (it goes once every handle to it is
  // closed). False when the system refuses or it is marked already.
  virtual bool Delete() = 0;
};

// An open connection to the service control manager; closed when the
// object is destroyed.
class ServiceDatabase {
 public:
  virtual ~ServiceDatabase() = default;
  // Creates the service and returns it open; null when it exists already or
  // the system refuses.
  virtual std::unique_ptr<Service> Create(const ServiceSpec& spec) = 0;
  // Null when there is no service of that name or access is refused.
  virtual std::unique_ptr<Service> Open(const cc::Str& name) = 0;
};

class ServiceManager {
 public:
  virtual ~ServiceManager() = default;
  // Connects with full access; null when refused (no administrator rights).
  virtual std::unique_ptr<ServiceDatabase> Connect() = 0;
};
