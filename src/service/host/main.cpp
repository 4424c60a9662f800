// Entry point of the service program: the command line (install, uninstall), the service control
// dispatcher, the service main function, the control handler and the worker thread. The worker's
// own work is ServiceEngine's.
#include <windows.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/iphlp_interface_source.h"
#include "platform/win32/system_clock.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry_hive.h"
#include "platform/win32/winsock_network.h"
#include "service/command_line.h"
#include "service/host/service_installer.h"
#include "service/service_engine.h"
#include "service/service_log.h"

namespace veltrano {
namespace {

const wchar_t* const kDoneEventName = L"QXRDD7F6336FB2C48C3B0C7D471A8AB3EAFA";
const wchar_t* const kStopEventName = L"QXRDD7F6336FB2C48C3B0C7D471A8AB3EAFB";
constexpr DWORD kPendingWaitHintMs = 3000;
// The system gives a sleep notice about two seconds before it goes ahead.
constexpr DWORD kSuspendWriteWaitMs = 1500;

// Mail sessions run on detached threads and report into the log until the process ends, even
// while static objects are being destroyed after main() returns: so the log, its clock and the
// network they use are never destroyed. Closing the log at the end drops their late lines.
SystemClock& processClock = *new SystemClock;
ServiceLog& serviceLog = *new ServiceLog(processClock);
WinsockNetwork& processNetwork = *new WinsockNetwork;

// Process-wide state of the service: the service manager talks to one service per process.
SERVICE_STATUS_HANDLE statusHandle = nullptr;
SERVICE_STATUS status{};
HANDLE doneEvent = nullptr;
HANDLE stopEvent = nullptr;
// Set by the control handler, taken by the worker: the sampler is the worker's alone.
HANDLE suspendEvent = nullptr;
HANDLE resumeEvent = nullptr;
HANDLE suspendTakenEvent = nullptr;  // the worker has written the day for the sleep

bool ReportStatus(DWORD state, DWORD win32Code, DWORD specificCode, DWORD checkPoint, DWORD waitHint) {
  status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  status.dwCurrentState = state;
  status.dwControlsAccepted =
      state == SERVICE_START_PENDING ? 0 : SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN | SERVICE_ACCEPT_POWEREVENT;
  status.dwWin32ExitCode = specificCode ? ERROR_SERVICE_SPECIFIC_ERROR : win32Code;
  status.dwServiceSpecificExitCode = specificCode;
  status.dwCheckPoint = checkPoint;
  status.dwWaitHint = waitHint;
  return SetServiceStatus(statusHandle, &status) != FALSE;
}

// Power events never refuse a suspend: the answer is NO_ERROR whatever the event.
DWORD WINAPI ServiceCtrlHandler(DWORD control, DWORD eventType, LPVOID, LPVOID) {
  if (control == SERVICE_CONTROL_STOP || control == SERVICE_CONTROL_SHUTDOWN) {
    ReportStatus(SERVICE_STOP_PENDING, NO_ERROR, 0, 1, kPendingWaitHintMs);
    SetEvent(stopEvent);
    return NO_ERROR;
  }
  if (control == SERVICE_CONTROL_POWEREVENT) {
    const PowerChange change = PowerChangeFor(eventType);
    if (change == PowerChange::kResumed) SetEvent(resumeEvent);
    if (change == PowerChange::kSuspending) {
      ResetEvent(suspendTakenEvent);
      SetEvent(suspendEvent);
      WaitForSingleObject(suspendTakenEvent, kSuspendWriteWaitMs);  // so that the records are on disk
    }
    return NO_ERROR;
  }
  ReportStatus(status.dwCurrentState, status.dwWin32ExitCode, status.dwServiceSpecificExitCode, status.dwCheckPoint,
               status.dwWaitHint);
  return control == SERVICE_CONTROL_INTERROGATE ? NO_ERROR : ERROR_CALL_NOT_IMPLEMENTED;
}

// A wait ends at the stop, at the time-out, or early when the machine is about to sleep or woke.
class EventStopSignal : public StopSignal {
 public:
  explicit EventStopSignal(HANDLE stop) : stop_(stop) {}
  bool WaitForStop(unsigned timeoutMs) override {
    HANDLE events[] = {stop_, suspendEvent, resumeEvent};
    const DWORD count = suspendEvent && resumeEvent ? 3 : 1;
    const DWORD result = WaitForMultipleObjects(count, events, FALSE, timeoutMs);
    if (result == WAIT_OBJECT_0 + 1) pending_.push_back(PowerChange::kSuspending);
    if (result == WAIT_OBJECT_0 + 2) pending_.push_back(PowerChange::kResumed);
    return result != WAIT_TIMEOUT && result != WAIT_OBJECT_0 + 1 && result != WAIT_OBJECT_0 + 2;
  }
  // The engine applies each change before it asks for the next one: a call after a suspend means
  // that the day was written.
  PowerChange TakePowerChange() override {
    if (handingSuspend_) SetEvent(suspendTakenEvent);
    handingSuspend_ = false;
    // Both may have come during one wait: the sleep came first.
    if (suspendEvent && WaitForSingleObject(suspendEvent, 0) == WAIT_OBJECT_0) pending_.push_back(PowerChange::kSuspending);
    if (resumeEvent && WaitForSingleObject(resumeEvent, 0) == WAIT_OBJECT_0) pending_.push_back(PowerChange::kResumed);
    if (pending_.empty()) return PowerChange::kNone;
    const PowerChange change = pending_.front();
    pending_.erase(pending_.begin());
    handingSuspend_ = change == PowerChange::kSuspending;
    return change;
  }

 private:
  HANDLE stop_;
  std::vector<PowerChange> pending_;
  bool handingSuspend_ = false;
};

void WorkerThread() {
  HANDLE done = OpenEventW(EVENT_MODIFY_STATE, FALSE, kDoneEventName);
  HANDLE stop = OpenEventW(SYNCHRONIZE, FALSE, kStopEventName);
  {
    IphlpInterfaceSource interfaces;
    Win32RegistryHive localMachine(RegistryRoot::kLocalMachine);
    Win32FileSystem files;
    SystemClock clock;
    ServiceEngine engine(ServiceDependencies{interfaces, localMachine, files, clock, serviceLog, processNetwork});
    EventStopSignal stopSignal(stop);
    engine.Work(stopSignal);
  }
  SetEvent(done);
  if (stop) CloseHandle(stop);
  if (done) CloseHandle(done);
}

void WINAPI ServiceMain(DWORD, LPWSTR*) {
  statusHandle = RegisterServiceCtrlHandlerExW(Widen(kServiceName).c_str(), &ServiceCtrlHandler, nullptr);
  if (!statusHandle) {
    serviceLog.Write("Err: 0x00001010");
    return;
  }
  stopEvent = CreateEventW(nullptr, TRUE, FALSE, kStopEventName);
  if (!stopEvent) {
    serviceLog.Write("Err: 0x00001012");
    return;
  }
  // Auto-reset: each is taken once by the worker.
  suspendEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  resumeEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  suspendTakenEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ReportStatus(SERVICE_START_PENDING, NO_ERROR, 0, 1, kPendingWaitHintMs);
  std::thread worker(WorkerThread);
  if (!ReportStatus(SERVICE_RUNNING, NO_ERROR, 0, 0, 0)) {
    serviceLog.Write("Err: 0x00001011");
    SetEvent(stopEvent);  // the worker still writes the day before the process ends
  }
  WaitForSingleObject(doneEvent, INFINITE);
  worker.join();
  CloseHandle(stopEvent);
  CloseHandle(doneEvent);
  stopEvent = doneEvent = nullptr;
  for (HANDLE* event : {&suspendEvent, &resumeEvent, &suspendTakenEvent}) {
    if (*event) CloseHandle(*event);
    *event = nullptr;
  }
  ReportStatus(SERVICE_STOPPED, NO_ERROR, 0, 0, 0);
}

void RunService() {
  doneEvent = CreateEventW(nullptr, TRUE, FALSE, kDoneEventName);
  if (!doneEvent || GetLastError() == ERROR_ALREADY_EXISTS) {
    serviceLog.Write("Err: service is running.");
    if (doneEvent) CloseHandle(doneEvent);
    doneEvent = nullptr;
    return;
  }
  std::wstring name = Widen(kServiceName);
  SERVICE_TABLE_ENTRYW table[] = {{&name[0], &ServiceMain}, {nullptr, nullptr}};
  StartServiceCtrlDispatcherW(table);
  if (doneEvent) CloseHandle(doneEvent);
  doneEvent = nullptr;
}

// "Install service..." and its result stand on one line however long the action takes.
void RunConsoleAction(const char* action, bool (*perform)()) {
  std::printf("%s", action);
  std::fflush(stdout);
  std::printf(perform() ? "success\n" : "failure\n");
  std::fflush(stdout);
}

std::string ExecutablePath() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? std::string() : Narrow(path, length);
}

bool Install() {
  return InstallService(ExecutablePath());
}
bool Uninstall() {
  return UninstallService();
}

}  // namespace
}  // namespace veltrano

int main(int argc, char** argv) {
  using namespace veltrano;
  Win32FileSystem files;
  serviceLog.Open(files.ExecutableFolder() + kServiceLogFileName);
  serviceLog.Write("%s start up...", kServiceDisplayName);

  switch (ParseServiceCommand(std::vector<std::string>(argv + 1, argv + argc))) {
    case ServiceCommand::kRunService:
      RunService();
      break;
    case ServiceCommand::kInstall:
      RunConsoleAction("Install service...", &Install);
      break;
    case ServiceCommand::kUninstall:
      RunConsoleAction("Uninstall service...", &Uninstall);
      break;
    case ServiceCommand::kInvalid:
      std::printf("Invalid parameters.\n");
      std::fflush(stdout);
      break;
  }

  serviceLog.Write("%s stopped.\n", kServiceDisplayName);
  serviceLog.Close();
  return 0;
}
