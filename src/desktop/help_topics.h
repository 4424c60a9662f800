// The help file's topics that the program's windows open on F1 and "Help", by file name inside
// Pellacor.chm. The help sources are checked against this list when the help file is built.
#pragma once

namespace veltrano::help {

constexpr const wchar_t* kOptionsGeneral = L"options_general.htm";
constexpr const wchar_t* kOptionsGraphText = L"options_graph_text.htm";
constexpr const wchar_t* kOptionsAdapters = L"options_adapters.htm";
constexpr const wchar_t* kOptionsNotification = L"options_notification.htm";
constexpr const wchar_t* kOptionsService = L"options_service.htm";
constexpr const wchar_t* kEmailSettings = L"email_settings.htm";
constexpr const wchar_t* kReportDialog = L"report_dialog.htm";
constexpr const wchar_t* kTrafficReports = L"traffic_reports.htm";
constexpr const wchar_t* kStopwatch = L"stopwatch.htm";
constexpr const wchar_t* kRatesRecorder = L"rates_recorder.htm";
constexpr const wchar_t* kAlertWindow = L"alert_window.htm";

}  // namespace veltrano::help
