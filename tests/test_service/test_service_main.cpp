// velmora-test-service: the smallest real Windows service, for the
// end-to-end tests. It registers with the service control manager, reports
// itself running, and stops when it is sent the stop (or shutdown) control.
// Never shipped.
#include <windows.h>

namespace {

// The service control manager calls back into the process; these callbacks
// take no context of ours for ServiceMain, so the state lives here.
struct ServiceState {
  SERVICE_STATUS_HANDLE handle = nullptr;
  HANDLE stop_event = nullptr;
  SERVICE_STATUS status = {};
};
ServiceState service;

void Report(DWORD state) {
  service.status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  service.status.dwCurrentState = state;
  service.status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
  service.status.dwWin32ExitCode = NO_ERROR;
  service.status.dwWaitHint = state == SERVICE_RUNNING || state == SERVICE_STOPPED ? 0 : 3000;
  SetServiceStatus(service.handle, &service.status);
}

DWORD WINAPI OnControl(DWORD control, DWORD, void*, void*) {
  switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
      Report(SERVICE_STOP_PENDING);
      SetEvent(service.stop_event);
      return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
      return NO_ERROR;
    default:
      return ERROR_CALL_NOT_IMPLEMENTED;
  }
}

void WINAPI ServiceMain(DWORD, wchar_t**) {
  service.handle = RegisterServiceCtrlHandlerExW(L"", OnControl, nullptr);
  if (!service.handle) return;
  service.stop_event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!service.stop_event) {
    Report(SERVICE_STOPPED);
    return;
  }
  Report(SERVICE_RUNNING);
  WaitForSingleObject(service.stop_event, INFINITE);
  CloseHandle(service.stop_event);
  Report(SERVICE_STOPPED);
}

}  // namespace

int wmain() {
  // A service of its own process: the name in the table is not looked at.
  wchar_t name[] = L"";
  SERVICE_TABLE_ENTRYW table[] = {{name, ServiceMain}, {nullptr, nullptr}};
  // Started by hand rather than by the manager: exit with a failure.
  return StartServiceCtrlDispatcherW(table) ? 0 : 1;
}
