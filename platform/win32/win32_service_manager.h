// Services through the service control manager of advapi32.
#pragma once

#include "platform/service_manager.h"

class Win32ServiceManager : public ServiceManager {
 public:
  std::unique_ptr<ServiceDatabase> Connect() override;
};
