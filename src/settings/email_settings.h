// E-mail settings under "Options\EmailSettings", read and written together.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry_hive.h"

namespace veltrano {

extern const char* const kDefaultEmailSubject;
extern const char* const kDefaultEmailBody;

struct EmailSettings {
  std::string smtpServer;
  std::string mailFrom;
  std::string authName;
  std::string authPass;  // stored as typed
  std::string subject = kDefaultEmailSubject;
  std::string body = kDefaultEmailBody;
  std::uint32_t serverRequiresAuth = 0;

  bool operator==(const EmailSettings& other) const;
};

// Missing values keep their defaults; an empty subject or body is replaced by its default.
void LoadEmailSettings(RegistryHive& hive, EmailSettings& settings);
void SaveEmailSettings(RegistryHive& hive, const EmailSettings& settings);

}  // namespace veltrano
