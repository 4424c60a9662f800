// The service program's command line.
#include "service/command_line.h"

#include "core/text.h"

namespace veltrano {

ServiceCommand ParseServiceCommand(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return ServiceCommand::kRunService;
  if (arguments.size() > 1) return ServiceCommand::kInvalid;
  if (EqualsIgnoreAsciiCase(arguments[0], "/install")) return ServiceCommand::kInstall;
  if (EqualsIgnoreAsciiCase(arguments[0], "/uninstall")) return ServiceCommand::kUninstall;
  return ServiceCommand::kInvalid;
}

}  // namespace veltrano
