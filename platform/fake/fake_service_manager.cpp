#include "platform/fake/fake_service_manager.h"

#include <map>
#include <utility>

struct FakeServiceManager::State {
  std::map<std::u16string, Entry> services;
  std::map<std::u16string, int> create_failures;
  bool refuse_connect = false;
  bool refuse_delete = false;
  std::vector<std::string> calls;

  static std::u16string Fold(const cc::Str& name) {
    std::u16string folded(name.View());
    for (char16_t& c : folded) c = cc::FoldAscii(c);
    return folded;
  }
  Entry* Find(const cc::Str& name) {
    auto it = services.find(Fold(name));
    return it == services.end() ? nullptr : &it->second;
  }
  // A service marked for deletion goes once no handle is open and it has
  // stopped.
  void EraseIfDeleted(const cc::Str& name) {
    Entry* entry = Find(name);
    if (entry && entry->marked_for_deletion && entry->open_handles == 0 && entry->state == kServiceStopped) {
      services.erase(Fold(name));
    }
  }
  void Log(const char* what, const cc::Str& name) { calls.push_back(std::string(what) + " " + name.ToUtf8()); }
};

namespace {

using State = FakeServiceManager::State;
using Entry = FakeServiceManager::Entry;

class FakeService : public Service {
 public:
  FakeService(std::shared_ptr<State> state, const cc::Str& name) : state_(std::move(state)), name_(name) {
    state_->Find(name_)->open_handles++;
  }
  ~FakeService() override {
    state_->Log("close", name_);
    Entry* entry = state_->Find(name_);
    if (!entry) return;
    if (--entry->open_handles == 0) state_->EraseIfDeleted(name_);
  }

  bool SetDescription(const cc::Str& description) override {
    state_->Log("describe", name_);
    state_->Find(name_)->description = description;
    return true;
  }
  bool Start() override {
    state_->Log("start", name_);
    Entry* entry = state_->Find(name_);
    if (entry->state != kServiceStopped || entry->spec.start == ServiceStart::kDisabled) return false;
    entry->state = kServiceRunning;
    return true;
  }
  bool SendStop() override {
    state_->Log("stop", name_);
    Entry* entry = state_->Find(name_);
    if (entry->state != kServiceRunning) return false;
    entry->state = kServiceStopPending;
    entry->polls_since_stop = 0;
    return true;
  }
  bool QueryState(uint32_t* state) override {
    state_->Log("query", name_);
    Entry* entry = state_->Find(name_);
    if (entry->state == kServiceStopPending && entry->polls_to_stop >= 0 &&
        ++entry->polls_since_stop >= entry->polls_to_stop) {
      entry->state = kServiceStopped;
    }
    *state = entry->state;
    return true;
  }
  bool QueryCommandLine(cc::Str* commandLine) override {
    *commandLine = state_->Find(name_)->spec.command_line;
    return true;
  }
  bool Delete() override {
    state_->Log("delete", name_);
    Entry* entry = state_->Find(name_);
    if (state_->refuse_delete || entry->marked_for_deletion) return false;
    entry->marked_for_deletion = true;
    return true;
  }

 private:
  std::shared_ptr<State> state_;
  cc::Str name_;
};

class FakeDatabase : public ServiceDatabase {
 public:
  explicit FakeDatabase(std::shared_ptr<State> state) : state_(std::move(state)) {}

  std::unique_ptr<Service> Create(const ServiceSpec& spec) override {
    state_->Log("create", spec.name);
    auto failure = state_->create_failures.find(State::Fold(spec.name));
    if (failure != state_->create_failures.end() && failure->second > 0) {
      --failure->second;
      return nullptr;
    }
    if (spec.name.IsEmpty() || state_->Find(spec.name)) return nullptr;
    Entry entry;
    entry.spec = spec;
    state_->services[State::Fold(spec.name)] = entry;
    return std::make_unique<FakeService>(state_, spec.name);
  }
  std::unique_ptr<Service> Open(const cc::Str& name) override {
    state_->Log("open", name);
    Entry* entry = state_->Find(name);
    if (!entry || entry->marked_for_deletion) return nullptr;
    return std::make_unique<FakeService>(state_, name);
  }

 private:
  std::shared_ptr<State> state_;
};

}  // namespace

FakeServiceManager::FakeServiceManager() : state_(std::make_shared<State>()) {}

FakeServiceManager::~FakeServiceManager() = default;

std::unique_ptr<ServiceDatabase> FakeServiceManager::Connect() {
  state_->calls.push_back("connect");
  if (state_->refuse_connect) return nullptr;
  return std::make_unique<FakeDatabase>(state_);
}

void FakeServiceManager::PutService(const ServiceSpec& spec, uint32_t state) {
  Entry entry;
  entry.spec = spec;
  entry.state = state;
  state_->services[State::Fold(spec.name)] = entry;
}

void FakeServiceManager::SetPollsToStop(const cc::Str& name, int polls) {
  if (Entry* entry = state_->Find(name)) entry->polls_to_stop = polls;
}

void FakeServiceManager::FailCreate(const cc::Str& name, int times) {
  state_->create_failures[State::Fold(name)] = times;
}

const FakeServiceManager::Entry* FakeServiceManager::Find(const cc::Str& name) const {
  return state_->Find(name);
}

void FakeServiceManager::SetRefuseConnect(bool refuse) { state_->refuse_connect = refuse; }

void FakeServiceManager::SetRefuseDelete(bool refuse) { state_->refuse_delete = refuse; }

int FakeServiceManager::Count() const { return static_cast<int>(state_->services.size()); }

const std::vector<std::string>& FakeServiceManager::Calls() const { return state_->calls; }
