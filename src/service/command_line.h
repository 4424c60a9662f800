// What the service program was asked to do by its command line.
#pragma once

#include <string>
#include <vector>

namespace veltrano {

enum class ServiceCommand { kRunService, kInstall, kUninstall, kInvalid };

// No argument runs the service; "/install" or "/uninstall" in any letter case is the only other
// thing understood.
ServiceCommand ParseServiceCommand(const std::vector<std::string>& arguments);

}  // namespace veltrano
