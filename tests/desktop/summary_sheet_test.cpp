// The traffic reports window under Wine, opened modeless over a crafted log and a scripted
// adapter table, driven with the messages a user's clicks send and read back from its controls.
#include "desktop/summary_sheet.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <deque>

#include "desktop/resources/reports_ids.h"
#include "desktop/sum_page.h"
#include "desktop/ui/dialog.h"
#include "desktop/ui/scripted_prompter.h"
#include "platform/win32/wide_text.h"
#include "view/crafted_log.h"
#include "view/summary_view.h"

namespace veltrano {
namespace {

// Answers file dialogs from a script and records what they were asked.
class ScriptedFileDialogs : public ReportsFileDialogs {
 public:
  struct Choice {
    std::string path;
    int filterIndex = 1;
  };
  std::deque<Choice> choices;
  std::vector<std::string> titles;
  std::vector<std::string> opened;

  bool ChooseSaveFile(HWND, const std::string& title, const char*, const std::string&, int& filterIndex,
                      std::string& path) override {
    titles.push_back(title);
    return Next(filterIndex, path);
  }
  bool ChooseExistingFile(HWND, const char*, const std::string&, std::string& path) override {
    titles.push_back("open");
    int ignored = 1;
    return Next(ignored, path);
  }
  void OpenWithShell(HWND, const std::string& path) override { opened.push_back(path); }

 private:
  bool Next(int& filterIndex, std::string& path) {
    if (choices.empty()) return false;
    path = choices.front().path;
    filterIndex = choices.front().filterIndex;
    choices.pop_front();
    return true;
  }
};

std::string WindowText(HWND window) {
  wchar_t text[512] = {};
  const int length = GetWindowTextW(window, text, 512);
  return Narrow(text, static_cast<size_t>(length));
}

std::string ItemText(HWND dialog, int id) {
  return WindowText(GetDlgItem(dialog, id));
}

// Report files that are created but cannot be written (a full disk).
class FullDiskFiles : public FileSystem {
 public:
  explicit FullDiskFiles(FileSystem& real) : real_(real) {}
  std::unique_ptr<File> Open(const std::string& path, FileMode mode) override {
    std::unique_ptr<File> file = real_.Open(path, mode);
    if (!file || mode != FileMode::kReplace) return file;
    return std::make_unique<Full>(std::move(file));
  }
  bool Exists(const std::string& path) override { return real_.Exists(path); }
  bool IsDirectory(const std::string& path) override { return real_.IsDirectory(path); }
  bool MakeDirectory(const std::string& path) override { return real_.MakeDirectory(path); }
  bool IsAvailableFile(const std::string& path) override { return real_.IsAvailableFile(path); }
  bool CopyFileTo(const std::string& source, const std::string& target, bool failIfExists) override {
    return real_.CopyFileTo(source, target, failIfExists);
  }
  std::string AppDataFolder() override { return real_.AppDataFolder(); }
  std::string ExecutableFolder() override { return real_.ExecutableFolder(); }

 private:
  struct Full : File {
    explicit Full(std::unique_ptr<File> file) : file_(std::move(file)) {}
    std::uint64_t Size() override { return file_->Size(); }
    size_t ReadAt(std::uint64_t offset, void* buffer, size_t length) override {
      return file_->ReadAt(offset, buffer, length);
    }
    bool WriteAt(std::uint64_t, const void*, size_t) override { return false; }
    bool Truncate(std::uint64_t length) override { return file_->Truncate(length); }
    bool Flush() override { return file_->Flush(); }
    std::unique_ptr<File> file_;
  };
  FileSystem& real_;
};

class SummarySheetTest : public ::testing::Test {
 protected:
  SummarySheetTest() {
    AddRow(kAllConnections, "", "All Connections", 2048, 0);
    AddRow(kDialUpConnections, "", "Dial-Up Connections", 0, 0);
    AddRow(kInterfaceAdapter, "{NIC}", "Test NIC", 100, 50);
    today_.year = 2008, today_.month = 3, today_.day = 10, today_.dayOfWeek = 1;
    log_.Add({2008, 2, 20}, 8000, 8, kInterfaceAdapter, "{NIC}");
    log_.Add({2008, 3, 1}, 1536000, 100);
    log_.Add({2008, 3, 8}, 921600, 200);
    log_.Add({2008, 3, 9}, 1000, 300);
    log_.Add({2008, 3, 9}, 7000, 7, kInterfaceAdapter, "{NIC}");
    state_.logPath.clear();
  }

  ~SummarySheetTest() override {
    sheet_.reset();
    ui::PumpMessages();
  }

  void AddRow(std::int32_t kind, const std::string& id, const std::string& name, std::uint64_t in, std::uint64_t out) {
    AdapterEntry row;
    row.kind = kind;
    row.id = id;
    row.displayName = name;
    row.todayIn = in;
    row.todayOut = out;
    rows_.push_back(row);
  }

  HWND Open(LogRole role = LogRole::kDesktopReader) {
    log_.Open(role);
    FileSystem& files = files_ ? *files_ : log_.Folder().Files();
    context_ = std::make_unique<ReportsContext>(ReportsContext{rows_, log_.Log(), files, log_.Path(), 0, 1, 68,
                                                               [this] { return today_; },
                                                               [this] {
                                                                 ++clears_;
                                                                 log_.Log().ClearLog(rows_);
                                                               },
                                                               prompter_, dialogs_});
    context_->serviceWritesLog = serviceWritesLog_;
    sheet_ = std::make_unique<CSummarySheet>(GetModuleHandleW(nullptr), *context_, state_);
    HWND sheet = sheet_->Open(nullptr);
    ui::PumpMessages();
    return sheet;
  }

  HWND Page() const { return reinterpret_cast<HWND>(SendMessageW(sheet_->Handle(), PSM_GETCURRENTPAGEHWND, 0, 0)); }
  HWND Show(int page) {
    SendMessageW(sheet_->Handle(), PSM_SETCURSEL, page, 0);
    ui::PumpMessages();
    return Page();
  }
  HWND List() const { return GetDlgItem(Page(), IDC_SUM_LIST); }
  int Count() const { return static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0)); }
  std::string Cell(int item, int column) const {
    wchar_t text[128] = {};
    LVITEMW record{};
    record.iSubItem = column;
    record.pszText = text;
    record.cchTextMax = 128;
    const auto length = SendMessageW(List(), LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&record));
    return Narrow(text, static_cast<size_t>(length));
  }
  void ClickHeader(int column) {
    NMLISTVIEW click{};
    click.hdr.hwndFrom = List();
    click.hdr.idFrom = IDC_SUM_LIST;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    SendMessageW(Page(), WM_NOTIFY, IDC_SUM_LIST, reinterpret_cast<LPARAM>(&click));
  }
  void Select(std::initializer_list<int> items) {
    for (int item : items) {
      LVITEMW state{};
      state.stateMask = LVIS_SELECTED;
      state.state = LVIS_SELECTED;
      SendMessageW(List(), LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
    }
  }
  void ChooseAdapter(int index) {
    HWND combo = GetDlgItem(sheet_->Handle(), IDC_SHEET_ADAPTER);
    SendMessageW(combo, CB_SETCURSEL, index, 0);
    SendMessageW(sheet_->Handle(), WM_COMMAND, MAKEWPARAM(IDC_SHEET_ADAPTER, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
  }
  void Press(int id) {
    SendMessageW(sheet_->Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(sheet_->Handle(), id)));
  }
  void Tick() { SendMessageW(Page(), WM_TIMER, CSumPage::kRefreshTimer, 0); }
  std::string SummaryCell(int row, int column) { return ItemText(Page(), IDC_SUM_VALUE_FIRST + row * 3 + column); }

  testing::CraftedLog log_;
  AdapterList rows_;
  LocalTime today_;
  ui::ScriptedPrompter prompter_;
  ScriptedFileDialogs dialogs_;
  ReportsWindowState state_;
  int clears_ = 0;
  bool serviceWritesLog_ = false;
  FileSystem* files_ = nullptr;  // the folder's own when null
  std::unique_ptr<ReportsContext> context_;
  std::unique_ptr<CSummarySheet> sheet_;
};

TEST_F(SummarySheetTest, OpensOnTheSummaryOfAllConnectionsWithItsButtonRow) {
  HWND sheet = Open();
  ASSERT_TRUE(sheet);
  EXPECT_EQ(WindowText(sheet), "Traffic Reports - [All Connections]");
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(sheet, IDOK)));
  EXPECT_EQ(ItemText(sheet, IDCANCEL), "&Close");
  EXPECT_EQ(ItemText(sheet, IDC_SHEET_EXPORT), "&Export");
  EXPECT_EQ(ItemText(sheet, IDC_SHEET_CLEAR), "Clea&r");
  EXPECT_EQ(SendMessageW(GetDlgItem(sheet, IDC_SHEET_ADAPTER), CB_GETCOUNT, 0, 0), 3);
  RECT exportRect, clearRect, closeRect;
  GetWindowRect(GetDlgItem(sheet, IDC_SHEET_EXPORT), &exportRect);
  GetWindowRect(GetDlgItem(sheet, IDC_SHEET_CLEAR), &clearRect);
  GetWindowRect(GetDlgItem(sheet, IDCANCEL), &closeRect);
  EXPECT_EQ(clearRect.right + 5, closeRect.left);
  EXPECT_EQ(exportRect.right + 5, clearRect.left);
  // The keyboard walks the row as the eye reads it, from the list to "&Close".
  HWND exportButton = GetDlgItem(sheet, IDC_SHEET_EXPORT), clearButton = GetDlgItem(sheet, IDC_SHEET_CLEAR);
  EXPECT_EQ(GetNextDlgTabItem(sheet, GetDlgItem(sheet, IDC_SHEET_ADAPTER), FALSE), exportButton);
  EXPECT_EQ(GetNextDlgTabItem(sheet, exportButton, FALSE), clearButton);
  EXPECT_EQ(GetNextDlgTabItem(sheet, clearButton, FALSE), GetDlgItem(sheet, IDCANCEL));

  EXPECT_EQ(ItemText(Page(), IDC_SUM_UNTIL), "Until today - Monday, March 10, 2008");
  EXPECT_EQ(SummaryCell(kRowToday, 0), "2.0 KB");
  EXPECT_EQ(SummaryCell(kRowTotal, 0), "2.35 MB");  // 2460648 bytes
  EXPECT_EQ(ItemText(Page(), IDC_SUM_LOG_PATH), log_.Path());
  EXPECT_EQ(state_.activePage, kSummaryPage);
}

TEST_F(SummarySheetTest, TheDailyListSortsSumsTheSelectionAndFollowsTheLiveCounters) {
  Open();
  Show(kDailyPage);
  ASSERT_EQ(Count(), 4);
  EXPECT_EQ(Cell(0, 0), "2008-03-10");
  EXPECT_EQ(Cell(0, 2), "2.0 KB");
  EXPECT_EQ(Cell(3, 0), "2008-03-01");
  EXPECT_EQ(ItemText(Page(), IDC_SUM_STATUS), "Selected: 0");

  ClickHeader(2);  // "Downloaded", ascending: 1.0 KB, 2.0 KB, 900.0 KB, 1.46 MB
  EXPECT_EQ(Cell(0, 2), "1.0 KB");
  EXPECT_EQ(Cell(2, 2), "900.0 KB");
  EXPECT_EQ(Cell(3, 2), "1.46 MB");
  ClickHeader(2);
  EXPECT_EQ(Cell(0, 2), "1.46 MB");
  EXPECT_EQ(Cell(3, 2), "1.0 KB");

  Select({1, 2, 3});  // 900.0 KB, 2.0 KB today (live), 1.0 KB
  EXPECT_EQ(ItemText(Page(), IDC_SUM_STATUS), "Selected: 3   Down: 903.0 KB   Up: 500 B   Both: 903.5 KB");
  rows_.front().todayIn = 4096;
  Tick();
  EXPECT_EQ(Cell(2, 2), "4.0 KB");
  EXPECT_EQ(ItemText(Page(), IDC_SUM_STATUS), "Selected: 3   Down: 905.0 KB   Up: 500 B   Both: 905.5 KB");
}

TEST_F(SummarySheetTest, AnotherAdapterChangesTheCaptionAndRebuildsTheActivePage) {
  Open();
  Show(kWeeklyPage);
  EXPECT_EQ(ItemText(Page(), IDC_SUM_START_DAY), "Start day of week is: Sunday");
  ASSERT_EQ(Count(), 3);
  ChooseAdapter(2);
  EXPECT_EQ(WindowText(sheet_->Handle()), "Traffic Reports - [Test NIC]");
  ASSERT_EQ(Count(), 2);
  EXPECT_EQ(Cell(0, 1), "2008-03-09 -- 2008-03-15");
  EXPECT_EQ(Cell(0, 2), "6.9 KB");  // 7000 + 100 live
  EXPECT_EQ(Cell(1, 1), "2008-02-17 -- 2008-02-23");
  // The monthly page builds for the new adapter when it is shown.
  Show(kMonthlyPage);
  EXPECT_EQ(ItemText(Page(), IDC_SUM_START_DAY), "Start day of month is: 1");
  ASSERT_EQ(Count(), 2);
  EXPECT_EQ(Cell(1, 0), "2");
  EXPECT_EQ(state_.adapterKind, kInterfaceAdapter);
  EXPECT_EQ(state_.adapterId, "{NIC}");
}

TEST_F(SummarySheetTest, ClearingAfterYesLeavesTodayOnEveryCreatedPage) {
  Open(LogRole::kDesktopWriter);
  Show(kDailyPage);
  prompter_.Answer(false);
  Press(IDC_SHEET_CLEAR);
  EXPECT_EQ(clears_, 0);
  EXPECT_EQ(Count(), 4);
  prompter_.Answer(true);
  Press(IDC_SHEET_CLEAR);
  EXPECT_EQ(prompter_.LastText(),
            "Are you sure you want to clear all traffic logs?\n\nIMPORTANT: all traffic logs can't be restored after "
            "clearing.");
  EXPECT_EQ(clears_, 1);
  EXPECT_EQ(log_.Folder().ReadAll("qxrsum_v2.log").size(), 24u);
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(Cell(0, 0), "2008-03-10");
  EXPECT_EQ(Cell(0, 2), "0 B");  // the day totals start again from zero
  Show(kSummaryPage);
  EXPECT_EQ(SummaryCell(kRowTotal, 0), "0 B");
  rows_.front().todayIn = 10;
  Tick();
  for (int row = 0; row < kSummaryRows; ++row) EXPECT_EQ(SummaryCell(row, 0), "10 B") << row;
}

TEST_F(SummarySheetTest, WhileTheServiceWritesTheLogClearIsOffAndNothingIsAskedOrCleared) {
  serviceWritesLog_ = true;
  Open();
  Show(kDailyPage);
  const std::string before = log_.Folder().ReadAll("qxrsum_v2.log");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(sheet_->Handle(), IDC_SHEET_CLEAR)));
  prompter_.Answer(true);
  Press(IDC_SHEET_CLEAR);  // as a message would, past the disabled button
  EXPECT_TRUE(prompter_.Prompts().empty());
  EXPECT_EQ(clears_, 0);
  EXPECT_EQ(log_.Folder().ReadAll("qxrsum_v2.log"), before);
  EXPECT_EQ(Count(), 4);
  EXPECT_EQ(Cell(0, 2), "2.0 KB");
}

// The sampler's midnight: the last day's totals written, the new day's counted from zero.
TEST_F(SummarySheetTest, PastMidnightThePagesBuildAgainForTheNewDay) {
  Open(LogRole::kDesktopWriter);
  Show(kDailyPage);
  ASSERT_EQ(Count(), 4);
  log_.Log().WriteToday(rows_, today_);
  today_.day = 11, today_.dayOfWeek = 2;
  for (auto& row : rows_) row.todayIn = row.todayOut = 0;
  rows_.front().todayIn = 512;
  Tick();
  ASSERT_EQ(Count(), 5);
  EXPECT_EQ(Cell(0, 0), "2008-03-11");
  EXPECT_EQ(Cell(0, 2), "512 B");
  EXPECT_EQ(Cell(1, 0), "2008-03-10");
  EXPECT_EQ(Cell(1, 2), "2.0 KB");
  Show(kSummaryPage);
  EXPECT_EQ(ItemText(Page(), IDC_SUM_UNTIL), "Until today - Tuesday, March 11, 2008");
  EXPECT_EQ(SummaryCell(kRowToday, 0), "512 B");
  EXPECT_EQ(SummaryCell(kRowWeek, 0), "3.5 KB");  // 9, 10 and 11 March: 1000 + 2048 + 512
  EXPECT_EQ(SummaryCell(kRowTotal, 0), "2.35 MB");
}

TEST_F(SummarySheetTest, LastNDaysFollowsTheFieldAndIsHandedBack) {
  state_.sumLastDays = 7;
  Open();
  EXPECT_EQ(ItemText(Page(), IDC_SUM_DAYS), "7");
  EXPECT_EQ(SummaryCell(kRowLastDays, 0), "903.0 KB");  // 8 and 9 March + today
  SetDlgItemTextW(Page(), IDC_SUM_DAYS, L"0");
  EXPECT_EQ(SummaryCell(kRowLastDays, 0), "");
  EXPECT_EQ(SummaryCell(kRowLastDays, 2), "");
  EXPECT_EQ(state_.sumLastDays, 0u);
  SetDlgItemTextW(Page(), IDC_SUM_DAYS, L"10");
  EXPECT_EQ(SummaryCell(kRowLastDays, 0), "2.35 MB");
  EXPECT_EQ(state_.sumLastDays, 10u);
  SetDlgItemTextW(Page(), IDC_SUM_DAYS, L"1");
  EXPECT_EQ(SummaryCell(kRowLastDays, 0), "2.0 KB");
}

TEST_F(SummarySheetTest, ExportsTheServicesBytesAndReportsAFolderThatDoesNotExist) {
  Open();
  Show(kDailyPage);
  dialogs_.choices.push_back({log_.Folder().Path("daily"), 1});
  prompter_.Answer(true);
  Press(IDC_SHEET_EXPORT);
  ASSERT_EQ(dialogs_.titles.back(), "Export Daily Report");
  ReportInput input;
  input.today = {2008, 3, 10};
  input.todayDayOfWeek = 1;
  input.todayIn = 2048;
  input.dateFormat = 68;
  const ReportTable service =
      MakeRowsTable(ReportKind::kDaily, BuildDailyRows(input, log_.Log()), input, "All Connections");
  EXPECT_EQ(log_.Folder().ReadAll("daily.txt"), RenderReport(service, input, ExportFormat::kText));
  EXPECT_EQ(prompter_.LastText(), "Successfully export daily traffic report to file '" +
                                      log_.Folder().Path("daily.txt") + "'.\n\nDo you want to open it now?");
  ASSERT_EQ(dialogs_.opened.size(), 1u);

  Show(kSummaryPage);
  dialogs_.choices.push_back({log_.Folder().Path("summary.html"), 3});
  Press(IDC_SHEET_EXPORT);
  EXPECT_EQ(dialogs_.titles.back(), "Export General Summary");
  input.sumLastDays = 30;
  const ReportTable summary = MakeSummaryTable(BuildSummary(input, log_.Log()), input, "All Connections");
  EXPECT_EQ(log_.Folder().ReadAll("summary.html"), RenderReport(summary, input, ExportFormat::kHtml));
  EXPECT_EQ(dialogs_.opened.size(), 1u);  // answered No

  const std::string missing = log_.Folder().Path("no-such-folder") + "\\r.csv";
  dialogs_.choices.push_back({missing, 2});
  Press(IDC_SHEET_EXPORT);
  EXPECT_EQ(prompter_.Prompts().back().kind, ui::ScriptedPrompter::Kind::kWarn);
  EXPECT_EQ(prompter_.LastText(), "Failed to create file '" + missing + "'.");
}

TEST_F(SummarySheetTest, AFileThatCannotBeWrittenIsNotReportedAsExported) {
  FullDiskFiles full(log_.Folder().Files());
  files_ = &full;
  Open();
  dialogs_.choices.push_back({log_.Folder().Path("summary.txt"), 1});
  prompter_.Answer(true);
  Press(IDC_SHEET_EXPORT);
  ASSERT_EQ(prompter_.Prompts().size(), 1u);
  EXPECT_EQ(prompter_.Prompts()[0].kind, ui::ScriptedPrompter::Kind::kWarn);
  EXPECT_EQ(prompter_.LastText(), "Failed to create file '" + log_.Folder().Path("summary.txt") + "'.");
  EXPECT_TRUE(dialogs_.opened.empty());
}

TEST_F(SummarySheetTest, TheLogFileButtonsChangeThePathShownAndCopyBesideIt) {
  Open();
  log_.Folder().WriteAll("old.log", "old history");
  dialogs_.choices.push_back({log_.Folder().Path("old.log"), 1});
  SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(IDC_SUM_LOG_RESTORE, BN_CLICKED), 0);
  EXPECT_EQ(state_.logPath, log_.Folder().Path("qxrsum_v2_1.log"));
  EXPECT_EQ(log_.Folder().ReadAll("qxrsum_v2_1.log"), "old history");
  EXPECT_EQ(ItemText(Page(), IDC_SUM_LOG_PATH), state_.logPath);
  EXPECT_EQ(prompter_.LastText(), "The new change won't take effect until the program restarts.");

  // A second restore numbers its copy after the path shown, the pending one.
  dialogs_.choices.push_back({log_.Folder().Path("old.log"), 1});
  SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(IDC_SUM_LOG_RESTORE, BN_CLICKED), 0);
  EXPECT_EQ(state_.logPath, log_.Folder().Path("qxrsum_v2_1_1.log"));

  // A folder cannot be restored; the path shown stays.
  dialogs_.choices.push_back({log_.Folder().Path(""), 1});
  SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(IDC_SUM_LOG_RESTORE, BN_CLICKED), 0);
  EXPECT_EQ(prompter_.LastText(), "Failed to copy file.");
  EXPECT_EQ(state_.logPath, log_.Folder().Path("qxrsum_v2_1_1.log"));

  dialogs_.choices.push_back({log_.Folder().Path("backup.log"), 1});
  SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(IDC_SUM_LOG_BACKUP, BN_CLICKED), 0);
  EXPECT_EQ(log_.Folder().ReadAll("backup.log"), log_.Folder().ReadAll("qxrsum_v2.log"));

  dialogs_.choices.push_back({log_.Folder().Path("chosen.log"), 1});
  SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(IDC_SUM_LOG_CHANGE, BN_CLICKED), 0);
  EXPECT_EQ(state_.logPath, log_.Folder().Path("chosen.log"));
  EXPECT_EQ(dialogs_.titles.back(), "Choose a traffic log");
}

TEST_F(SummarySheetTest, ReopeningShowsThePageAndAdapterOfTheLastClosing) {
  Open();
  Show(kMonthlyPage);
  ChooseAdapter(2);
  SendMessageW(sheet_->Handle(), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  ui::PumpMessages();
  EXPECT_TRUE(sheet_->Finished());
  sheet_.reset();
  EXPECT_EQ(state_.activePage, kMonthlyPage);
  Open();
  EXPECT_EQ(WindowText(sheet_->Handle()), "Traffic Reports - [Test NIC]");
  EXPECT_EQ(SendMessageW(sheet_->Handle(), PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(Page()), 0), kMonthlyPage);
  EXPECT_EQ(SendMessageW(GetDlgItem(sheet_->Handle(), IDC_SHEET_ADAPTER), CB_GETCURSEL, 0, 0), 2);
}

TEST_F(SummarySheetTest, WithoutALogEveryPageShowsOnlyToday) {
  Open();
  log_.Log().Close();
  ChooseAdapter(1);
  ChooseAdapter(0);  // rebuilds the summary over no log
  EXPECT_EQ(SummaryCell(kRowTotal, 0), "2.0 KB");
  Show(kDailyPage);
  EXPECT_EQ(Count(), 1);
  Show(kMonthlyPage);
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(Cell(0, 1), "2008-03-01 -- 2008-03-31");
}

}  // namespace
}  // namespace veltrano
