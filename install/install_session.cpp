#include "install/install_session.h"

#include "platform/platform.h"

Progress& InstallSession::progress() const { return *platform.progress; }
Prompts& InstallSession::prompts() const { return *platform.prompts; }
