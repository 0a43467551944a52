// Services in memory, for tests. A service created here is stopped; Start
// makes it running; the stop control makes it stop-pending, and it reaches
// the stopped state after a number of state queries that a test chooses
// (never, for a service that hangs). Delete marks a service; it goes when
// its last open handle closes and it has stopped, as on Windows, so creating
// the same name again before that fails. Every call is logged in order.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/service_manager.h"

class FakeServiceManager : public ServiceManager {
 public:
  FakeServiceManager();
  ~FakeServiceManager() override;
  FakeServiceManager(const FakeServiceManager&) = delete;
  FakeServiceManager& operator=(const FakeServiceManager&) = delete;

  std::unique_ptr<ServiceDatabase> Connect() override;

  struct Entry {
    ServiceSpec spec;
    cc::Str description;
    uint32_t state = kServiceStopped;
    // State queries after the stop control until the service is stopped;
    // -1: it never stops.
    int polls_to_stop = 1;
    int polls_since_stop = 0;
    bool marked_for_deletion = false;
    int open_handles = 0;
  };

  // Test helpers.
  // Adds a service as if an earlier installation had made it.
  void PutService(const ServiceSpec& spec, uint32_t state);
  // See Entry::polls_to_stop.
  void SetPollsToStop(const cc::Str& name, int polls);
  void SetRefuseConnect(bool refuse);
  // The next `times` Create calls for `name` fail.
  void FailCreate(const cc::Str& name, int times);
  void SetRefuseDelete(bool refuse);
  // The service of that name (letter case ignored), or null.
  const Entry* Find(const cc::Str& name) const;
  int Count() const;
  // "connect", "create NAME", "open NAME", "describe NAME", "start NAME",
  // "stop NAME", "query NAME", "delete NAME", "close NAME", in call order.
  const std::vector<std::string>& Calls() const;

  // Used by the handles.
  struct State;

 private:
  // Shared with the open handles, which may outlive a call.
  std::shared_ptr<State> state_;
};
