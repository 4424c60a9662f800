// The service's name in the service control manager.
#include "platform/service_manager.h"

namespace veltrano {

const char* const kServiceName = "VeltranoService";

}  // namespace veltrano
