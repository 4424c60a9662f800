// Linux implementation of the interface table. Like GetAdaptersInfo, the loopback interface is
// not listed.
#include "platform/posix/proc_interface_source.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>

namespace veltrano {
namespace {

// IANA ifType numbers for the link types the IP helper distinguishes.
std::uint32_t IfTypeFromArp(int arpType) {
  switch (arpType) {
    case ARPHRD_ETHER: return 6;
    case ARPHRD_LOOPBACK: return 24;
    case ARPHRD_PPP: return 23;
    case ARPHRD_SLIP: return 28;
    case ARPHRD_IEEE80211: return 71;
    default: return 1;
  }
}

struct LinkInfo {
  int arpType = -1;
  std::array<std::uint8_t, 8> address{};
  std::uint32_t addressLength = 0;
};

LinkInfo QueryLink(const std::string& name) {
  LinkInfo info;
  const int fd = socket(AF_INET, SOCK_DGRAM, 0);
  if (fd < 0) return info;
  ifreq request{};
  std::strncpy(request.ifr_name, name.c_str(), IFNAMSIZ - 1);
  if (ioctl(fd, SIOCGIFHWADDR, &request) == 0) {
    info.arpType = request.ifr_hwaddr.sa_family;
    info.addressLength = info.arpType == ARPHRD_ETHER || info.arpType == ARPHRD_IEEE80211 ? 6 : 0;
    std::memcpy(info.address.data(), request.ifr_hwaddr.sa_data, info.addressLength);
  }
  close(fd);
  return info;
}

std::string FirstIpv4Address(const std::string& name) {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return "0.0.0.0";
  std::string address = "0.0.0.0";
  for (ifaddrs* entry = list; entry; entry = entry->ifa_next) {
    if (entry->ifa_addr && entry->ifa_addr->sa_family == AF_INET && name == entry->ifa_name) {
      char text[INET_ADDRSTRLEN] = {};
      inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(entry->ifa_addr)->sin_addr, text, sizeof text);
      address = text;
      break;
    }
  }
  freeifaddrs(list);
  return address;
}

// Reads the counters of one interface name from /proc/net/dev.
bool ReadCounters(const std::string& procNetDev, const std::string& name, std::uint64_t& in, std::uint64_t& out) {
  std::ifstream file(procNetDev);
  std::string line;
  while (std::getline(file, line)) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string ifName = line.substr(0, colon);
    ifName.erase(0, ifName.find_first_not_of(' '));
    if (ifName != name) continue;
    std::istringstream fields(line.substr(colon + 1));
    std::uint64_t v[9] = {};
    for (auto& field : v) fields >> field;
    in = v[0];
    out = v[8];
    return static_cast<bool>(fields);
  }
  return false;
}

}  // namespace

ProcInterfaceSource::ProcInterfaceSource(std::string procNetDev) : procNetDev_(std::move(procNetDev)) {}

bool ProcInterfaceSource::GetAdaptersInfo(std::vector<AdapterRecord>& adapters) {
  adapters.clear();
  struct if_nameindex* names = if_nameindex();
  if (!names) return false;
  for (struct if_nameindex* entry = names; entry->if_index != 0; ++entry) {
    const LinkInfo link = QueryLink(entry->if_name);
    if (link.arpType == ARPHRD_LOOPBACK) continue;
    AdapterRecord record;
    record.name = entry->if_name;
    record.address = link.address;
    record.addressLength = link.addressLength;
    record.index = entry->if_index;
    record.firstIpAddress = FirstIpv4Address(entry->if_name);
    adapters.push_back(record);
  }
  if_freenameindex(names);
  return true;
}

bool ProcInterfaceSource::GetIfEntry(std::uint32_t index, InterfaceRow& row) {
  char name[IF_NAMESIZE] = {};
  if (!if_indextoname(index, name)) return false;
  std::uint64_t in = 0, out = 0;
  if (!ReadCounters(procNetDev_, name, in, out)) return false;
  row.type = IfTypeFromArp(QueryLink(name).arpType);
  row.inOctets = in;
  row.outOctets = out;
  row.wideCounters = true;
  row.description = name;
  return true;
}

}  // namespace veltrano
