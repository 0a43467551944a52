#include "platform/win32/win32_service_manager.h"

#include <string>

#include "platform/win32/wide.h"

namespace {

// One open service or manager handle.
class ScHandle {
 public:
  explicit ScHandle(SC_HANDLE handle) : handle_(handle) {}
  ~ScHandle() {
    if (handle_) CloseServiceHandle(handle_);
  }
  ScHandle(const ScHandle&) = delete;
  ScHandle& operator=(const ScHandle&) = delete;
  SC_HANDLE get() const { return handle_; }

 private:
  SC_HANDLE handle_;
};

class Win32Service : public Service {
 public:
  explicit Win32Service(SC_HANDLE handle) : handle_(handle) {}

  bool SetDescription(const cc::Str& description) override {
    std::u16string text(description.View());
    SERVICE_DESCRIPTIONW info;
    info.lpDescription = reinterpret_cast<wchar_t*>(text.data());
    return ChangeServiceConfig2W(handle_.get(), SERVICE_CONFIG_DESCRIPTION, &info) != FALSE;
  }
  bool Start() override { return StartServiceW(handle_.get(), 0, nullptr) != FALSE; }
  bool SendStop() override {
    SERVICE_STATUS status;
    return ControlService(handle_.get(), SERVICE_CONTROL_STOP, &status) != FALSE;
  }
  bool QueryState(uint32_t* state) override {
    SERVICE_STATUS status;
    if (!QueryServiceStatus(handle_.get(), &status)) return false;
    *state = status.dwCurrentState;
    return true;
  }
  bool QueryCommandLine(cc::Str* commandLine) override {
    DWORD needed = 0;
    QueryServiceConfigW(handle_.get(), nullptr, 0, &needed);
    if (needed == 0) return false;
    std::string buffer(needed, '\0');
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
    if (!QueryServiceConfigW(handle_.get(), config, needed, &needed)) return false;
    if (!config->lpBinaryPathName) return false;
    *commandLine = cc::Str(reinterpret_cast<const char16_t*>(config->lpBinaryPathName));
    return true;
  }
  bool Delete() override { return DeleteService(handle_.get()) != FALSE; }

 private:
  ScHandle handle_;
};

class Win32Database : public ServiceDatabase {
 public:
  explicit Win32Database(SC_HANDLE handle) : handle_(handle) {}

  std::unique_ptr<Service> Create(const ServiceSpec& spec) override {
    SC_HANDLE service = CreateServiceW(
        handle_.get(), Wide(spec.name), Wide(spec.display_name), SERVICE_ALL_ACCESS,
        SERVICE_WIN32_OWN_PROCESS, static_cast<DWORD>(spec.start), SERVICE_ERROR_NORMAL,
        Wide(spec.command_line), nullptr, nullptr, nullptr, nullptr, nullptr);
    if (!service) return nullptr;
    return std::make_unique<Win32Service>(service);
  }
  std::unique_ptr<Service> Open(const cc::Str& name) override {
    SC_HANDLE service = OpenServiceW(handle_.get(), Wide(name), SERVICE_ALL_ACCESS);
    if (!service) return nullptr;
    return std::make_unique<Win32Service>(service);
  }

 private:
  ScHandle handle_;
};

}  // namespace

std::unique_ptr<ServiceDatabase> Win32ServiceManager::Connect() {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (!manager) return nullptr;
  return std::make_unique<Win32Database>(manager);
}
