// The service's names in the service control manager.
#include "platform/service_manager.h"

namespace veltrano {

const char* const kServiceName = "VeltranoService";
const char* const kServiceManagerDisplayName = "Veltrano Service";
const char* const kServiceExecutableName = "PellacorService.exe";

}  // namespace veltrano
