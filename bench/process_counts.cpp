// Handle, GDI and USER object counts of the processes with a given image name, for the soak
// script: "process_counts Pellacor.exe" prints "pid handles gdi user" per process. The handle
// count comes from the system's process list, which Wine fills from its server; Wine answers
// GetGuiResources with 0, so there the GDI and USER counts say nothing.
#include <windows.h>
#include <winternl.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  using QueryFunction = NTSTATUS(WINAPI*)(SYSTEM_INFORMATION_CLASS, void*, ULONG, ULONG*);
  auto query = reinterpret_cast<QueryFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return 1;
  std::vector<unsigned char> buffer(1 << 20);
  ULONG size = 0;
  while (query(SystemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &size) != 0) {
    if (buffer.size() > (64u << 20)) return 1;
    buffer.resize(buffer.size() * 2);
  }
  for (size_t at = 0;;) {
    const auto* info = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.data() + at);
    const std::wstring name(info->ImageName.Buffer ? info->ImageName.Buffer : L"",
                            info->ImageName.Length / sizeof(wchar_t));
    if (_wcsicmp(name.c_str(), argv[1]) == 0) {
      const DWORD pid = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(info->UniqueProcessId));
      DWORD gdi = 0, user = 0;
      if (HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid)) {
        gdi = GetGuiResources(process, GR_GDIOBJECTS);
        user = GetGuiResources(process, GR_USEROBJECTS);
        CloseHandle(process);
      }
      std::printf("%lu %lu %lu %lu\n", pid, info->HandleCount, gdi, user);
    }
    if (!info->NextEntryOffset) break;
    at += info->NextEntryOffset;
  }
  return 0;
}
