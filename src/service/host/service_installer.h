// Registering the service with the service control manager, and removing it.
#pragma once

#include <string>

namespace veltrano {

// Creates "VeltranoService": own process, automatic start, the local system account, the quoted
// executable path. True when the service was created.
bool InstallService(const std::string& executablePath);
// Stops the service (polling its state while it is stopping), then deletes it.
bool UninstallService(unsigned pollMs = 300);

}  // namespace veltrano
