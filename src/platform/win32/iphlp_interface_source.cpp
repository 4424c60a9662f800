// IP helper binding. The library is loaded once and stays loaded for the life of the process.
#include "platform/win32/iphlp_interface_source.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <iphlpapi.h>
#include <netioapi.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <vector>

namespace veltrano {
namespace {

using GetAdaptersInfoFn = DWORD(WINAPI*)(PIP_ADAPTER_INFO, PULONG);
using GetIfEntryFn = DWORD(WINAPI*)(PMIB_IFROW);
using GetIfTable2Fn = DWORD(WINAPI*)(PMIB_IF_TABLE2*);
using GetIfEntry2Fn = DWORD(WINAPI*)(PMIB_IF_ROW2);
using FreeMibTableFn = VOID(WINAPI*)(PVOID);

template <typename Fn>
Fn As(void* proc) {
  Fn fn;
  std::memcpy(&fn, &proc, sizeof fn);
  return fn;
}

void* Resolve(HMODULE library, const char* name) {
  FARPROC proc = GetProcAddress(library, name);
  void* address;
  std::memcpy(&address, &proc, sizeof address);
  return address;
}

bool NarrowCountersRequested() {
  wchar_t value[8] = {};
  const DWORD length = GetEnvironmentVariableW(IphlpInterfaceSource::kNarrowCountersVariable, value, 8);
  return length > 0 && length < 8 && std::wcscmp(value, L"32") == 0;
}

// The interface row of the 64-bit table, with the description in the system code page as
// GetIfEntry gives it.
void FromWideRow(const MIB_IF_ROW2& wide, InterfaceRow& row) {
  row.type = wide.Type;
  row.inOctets = wide.InOctets;
  row.outOctets = wide.OutOctets;
  row.wideCounters = true;
  char description[MAXLEN_IFDESCR + 1] = {};
  const int length = WideCharToMultiByte(CP_ACP, 0, wide.Description, -1, description, MAXLEN_IFDESCR, nullptr, nullptr);
  row.description.assign(description, length > 0 ? strnlen(description, MAXLEN_IFDESCR) : 0);
}

}  // namespace

IphlpInterfaceSource::~IphlpInterfaceSource() {
  FreeTable();
}

bool IphlpInterfaceSource::Bind() {
  HMODULE library = LoadLibraryW(L"iphlpapi.dll");
  if (!library) return false;
  getIfEntry_ = Resolve(library, "GetIfEntry");
  getAdaptersInfo_ = Resolve(library, "GetAdaptersInfo");
  // The 64-bit table is optional: without it the program counts as before.
  if (allowWideCounters_ && !NarrowCountersRequested()) {
    getIfTable2_ = Resolve(library, "GetIfTable2");
    getIfEntry2_ = Resolve(library, "GetIfEntry2");
    freeMibTable_ = Resolve(library, "FreeMibTable");
  }
  return getIfEntry_ && getAdaptersInfo_;
}

void IphlpInterfaceSource::FreeTable() {
  if (table_) As<FreeMibTableFn>(freeMibTable_)(table_);
  table_ = nullptr;
}

bool IphlpInterfaceSource::GetAdaptersInfo(std::vector<AdapterRecord>& adapters) {
  adapters.clear();
  if (!getAdaptersInfo_) return false;
  if (HasWideCounters()) {
    FreeTable();
    MIB_IF_TABLE2* table = nullptr;
    if (As<GetIfTable2Fn>(getIfTable2_)(&table) == NO_ERROR) table_ = table;
  }
  ULONG size = 0;
  // No adapter at all (the last one was unplugged) is an empty list, not a failed pass: the rows
  // must go absent, or they would keep their old baselines and addresses until one comes back.
  if (CallGetAdaptersInfo(nullptr, &size) == ERROR_NO_DATA) return true;
  if (size == 0) return false;
  // ULONGLONG elements keep the buffer aligned for IP_ADAPTER_INFO.
  std::vector<ULONGLONG> buffer((size + sizeof(ULONGLONG) - 1) / sizeof(ULONGLONG));
  auto* first = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data());
  if (CallGetAdaptersInfo(first, &size) != ERROR_SUCCESS) return false;
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

unsigned long IphlpInterfaceSource::CallGetAdaptersInfo(void* buffer, unsigned long* size) {
  return As<GetAdaptersInfoFn>(getAdaptersInfo_)(static_cast<IP_ADAPTER_INFO*>(buffer), size);
}

bool IphlpInterfaceSource::GetIfEntry(std::uint32_t index, InterfaceRow& row) {
  if (HasWideCounters()) return GetWideEntry(index, row);
  if (!getIfEntry_) return false;
  MIB_IFROW ifRow{};
  ifRow.dwIndex = index;
  if (As<GetIfEntryFn>(getIfEntry_)(&ifRow) != NO_ERROR) return false;
  row.type = ifRow.dwType;
  row.inOctets = ifRow.dwInOctets;
  row.outOctets = ifRow.dwOutOctets;
  row.wideCounters = false;
  const DWORD length = std::min<DWORD>(ifRow.dwDescrLen, sizeof ifRow.bDescr);
  row.description.assign(reinterpret_cast<const char*>(ifRow.bDescr), length);
  return true;
}

// From this pass's table, or one GetIfEntry2 call for an interface the table did not list. Never
// from the 32-bit counters: a row's counters keep one width.
bool IphlpInterfaceSource::GetWideEntry(std::uint32_t index, InterfaceRow& row) {
  if (const auto* table = static_cast<const MIB_IF_TABLE2*>(table_)) {
    for (ULONG i = 0; i < table->NumEntries; ++i) {
      if (table->Table[i].InterfaceIndex == index) {
        FromWideRow(table->Table[i], row);
        return true;
      }
    }
  }
  MIB_IF_ROW2 wide{};
  wide.InterfaceIndex = index;
  if (As<GetIfEntry2Fn>(getIfEntry2_)(&wide) != NO_ERROR) return false;
  FromWideRow(wide, row);
  return true;
}

}  // namespace veltrano
