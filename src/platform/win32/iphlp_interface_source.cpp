// IP helper binding. The library is loaded once and stays loaded for the life of the process.
#include "platform/win32/iphlp_interface_source.h"

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace veltrano {
namespace {

using GetAdaptersInfoFn = DWORD(WINAPI*)(PIP_ADAPTER_INFO, PULONG);
using GetIfEntryFn = DWORD(WINAPI*)(PMIB_IFROW);

template <typename Fn>
Fn As(void* proc) {
  Fn fn;
  std::memcpy(&fn, &proc, sizeof fn);
  return fn;
}

}  // namespace

bool IphlpInterfaceSource::Bind() {
  HMODULE library = LoadLibraryW(L"iphlpapi.dll");
  if (!library) return false;
  FARPROC ifEntry = GetProcAddress(library, "GetIfEntry");
  FARPROC adaptersInfo = GetProcAddress(library, "GetAdaptersInfo");
  std::memcpy(&getIfEntry_, &ifEntry, sizeof getIfEntry_);
  std::memcpy(&getAdaptersInfo_, &adaptersInfo, sizeof getAdaptersInfo_);
  return getIfEntry_ && getAdaptersInfo_;
}

bool IphlpInterfaceSource::GetAdaptersInfo(std::vector<AdapterRecord>& adapters) {
  adapters.clear();
  if (!getAdaptersInfo_) return false;
  const auto getAdaptersInfo = As<GetAdaptersInfoFn>(getAdaptersInfo_);
  ULONG size = 0;
  getAdaptersInfo(nullptr, &size);
  if (size == 0) return false;
  // ULONGLONG elements keep the buffer aligned for IP_ADAPTER_INFO.
  std::vector<ULONGLONG> buffer((size + sizeof(ULONGLONG) - 1) / sizeof(ULONGLONG));
  auto* first = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data());
  if (getAdaptersInfo(first, &size) != ERROR_SUCCESS) return false;
  for (const IP_ADAPTER_INFO* info = first; info; info = info->Next) {
    AdapterRecord record;
    record.name.assign(info->AdapterName, strnlen(info->AdapterName, sizeof info->AdapterName));
    record.addressLength = std::min<UINT>(info->AddressLength, 8);
    std::memcpy(record.address.data(), info->Address, record.addressLength);
    record.index = info->Index;
    record.firstIpAddress.assign(info->IpAddressList.IpAddress.String,
                                 strnlen(info->IpAddressList.IpAddress.String, sizeof info->IpAddressList.IpAddress.String));
    adapters.push_back(record);
  }
  return true;
}

bool IphlpInterfaceSource::GetIfEntry(std::uint32_t index, InterfaceRow& row) {
  if (!getIfEntry_) return false;
  MIB_IFROW ifRow{};
  ifRow.dwIndex = index;
  if (As<GetIfEntryFn>(getIfEntry_)(&ifRow) != NO_ERROR) return false;
  row.type = ifRow.dwType;
  row.inOctets = ifRow.dwInOctets;
  row.outOctets = ifRow.dwOutOctets;
  const DWORD length = std::min<DWORD>(ifRow.dwDescrLen, sizeof ifRow.bDescr);
  row.description.assign(reinterpret_cast<const char*>(ifRow.bDescr), length);
  return true;
}

}  // namespace veltrano
