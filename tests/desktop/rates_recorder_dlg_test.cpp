// The rates recorder dialog under Wine: the list's cells, editing a row, and the refusals of OK.
#include "desktop/rates_recorder_dlg.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "desktop/resources/notify_ids.h"
#include "desktop/ui/scripted_prompter.h"
#include "fakes/test_folder.h"
#include "platform/win32/wide_text.h"

namespace veltrano {
namespace {

class RatesRecorderDialogTest : public ::testing::Test {
 protected:
  RatesRecorderDialogTest() {
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    adapters_.resize(2);
    AdapterEntry& all = adapters_.front();
    all.kind = kAllConnections, all.displayName = "All Connections";
    all.recordRates = true, all.recordInterval = 5, all.recordFile = folder_.Path("all.csv");
    AdapterEntry& lan = adapters_.back();
    lan.kind = kInterfaceAdapter, lan.id = "{B2}", lan.displayName = "LAN", lan.recordInterval = 1;
  }
  ~RatesRecorderDialogTest() override {
    if (dialog_ && IsWindow(dialog_->Handle())) DestroyWindow(dialog_->Handle());
  }
  HWND Open() {
    dialog_ = std::make_unique<RatesRecorderDialog>(GetModuleHandleW(nullptr), adapters_, folder_.Files(), prompter_);
    return dialog_->CreateModeless(nullptr);
  }
  std::string Cell(HWND dialog, int item, int column) {
    ui::ListView list(GetDlgItem(dialog, IDC_REC_LIST));
    return Narrow(list.Text(item, column));
  }
  void Select(HWND dialog, int item) {
    ui::ListView list(GetDlgItem(dialog, IDC_REC_LIST));
    list.Select({item});
  }

  testing::TestFolder folder_;
  AdapterList adapters_;
  ui::ScriptedPrompter prompter_;
  std::unique_ptr<RatesRecorderDialog> dialog_;
};

TEST_F(RatesRecorderDialogTest, ListsEveryAdapterAndEnablesTheControlsOfARecordingRow) {
  HWND dialog = Open();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Cell(dialog, 0, 0) + "|" + Cell(dialog, 0, 1) + "|" + Cell(dialog, 0, 2) + "|" + Cell(dialog, 0, 3),
            "All Connections|Yes|5 sec.|" + folder_.Path("all.csv"));
  EXPECT_EQ(Cell(dialog, 1, 0) + "|" + Cell(dialog, 1, 1) + "|" + Cell(dialog, 1, 2), "LAN|No|");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_REC_RECORD)));  // nothing selected

  Select(dialog, 1);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_REC_RECORD)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_REC_FILE)));
  CheckDlgButton(dialog, IDC_REC_RECORD, BST_CHECKED);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_REC_RECORD, BN_CLICKED), 0);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_REC_FILE)));
  SetDlgItemTextW(dialog, IDC_REC_INTERVAL, L"30");
  SetDlgItemTextW(dialog, IDC_REC_FILE, Widen(folder_.Path("sub\\lan.txt")).c_str());
  EXPECT_EQ(Cell(dialog, 1, 1) + "|" + Cell(dialog, 1, 2), "Yes|30 sec.");

  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_TRUE(prompter_.Prompts().empty());
  const RecorderDialogModel& model = dialog_->Model();
  EXPECT_TRUE(model.rows[1].record);
  EXPECT_EQ(model.rows[1].interval, 30u);
  EXPECT_TRUE(folder_.Files().IsAvailableFile(folder_.Path("sub\\lan.txt")));  // the check created it
}

// The common save dialog is answered from a timer that runs inside its modal loop: the existing
// file is typed and OK pressed; a question about replacing it would be a second dialog box.
struct SaveDialogScript {
  std::wstring path;
  int questions = 0;
};
SaveDialogScript* saveScript = nullptr;

BOOL CALLBACK AnswerDialogs(HWND window, LPARAM) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (!IsWindowVisible(window) || lstrcmpW(className, L"#32770") != 0) return TRUE;
  if (GetWindow(window, GW_OWNER) && !GetDlgItem(window, 1148) && !GetDlgItem(window, 1152)) {
    ++saveScript->questions;  // a message box over the save dialog
    PostMessageW(window, WM_COMMAND, IDYES, 0);
    return TRUE;
  }
  HWND name = GetDlgItem(window, 1148) ? GetDlgItem(window, 1148) : GetDlgItem(window, 1152);
  if (!name) return TRUE;
  SetWindowTextW(name, saveScript->path.c_str());
  PostMessageW(window, WM_COMMAND, IDOK, 0);
  return TRUE;
}

void CALLBACK AnswerSaveDialog(HWND, UINT, UINT_PTR, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), &AnswerDialogs, 0);
}

TEST_F(RatesRecorderDialogTest, ChoosingAnExistingFileAsksNothingSinceLinesAreAppended) {
  folder_.WriteAll("all.csv", "earlier lines\r\n");
  HWND dialog = Open();
  Select(dialog, 0);
  SaveDialogScript script{Widen(folder_.Path("all.csv"))};
  saveScript = &script;
  const UINT_PTR timer = SetTimer(nullptr, 0, 200, &AnswerSaveDialog);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_REC_BROWSE, BN_CLICKED), 0);
  KillTimer(nullptr, timer);
  saveScript = nullptr;
  EXPECT_EQ(script.questions, 0);
  wchar_t chosen[MAX_PATH] = {};
  GetDlgItemTextW(dialog, IDC_REC_FILE, chosen, MAX_PATH);
  EXPECT_EQ(Narrow(chosen), folder_.Path("all.csv"));
}

TEST_F(RatesRecorderDialogTest, RefusesTwoRowsRecordingToOneFileAndSelectsTheRow) {
  adapters_.back().recordRates = true;
  adapters_.back().recordFile = AsciiUpper(folder_.Path("all.csv"));
  HWND dialog = Open();
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_TRUE(IsWindow(dialog));
  EXPECT_EQ(prompter_.LastText(),
            "There are two or more same rates recording files. Please choose a different file for each adapter.");
  ui::ListView list(GetDlgItem(dialog, IDC_REC_LIST));
  EXPECT_FALSE(list.SelectedIndexes().empty());

  Select(dialog, 1);
  SetDlgItemTextW(dialog, IDC_REC_INTERVAL, L"0");
  SetDlgItemTextW(dialog, IDC_REC_FILE, Widen(folder_.Path("lan.csv")).c_str());
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_EQ(prompter_.LastText(), "The recording interval should be equal to or greater than 1.");
  EXPECT_EQ(list.SelectedIndexes(), std::vector<int>{1});
}

}  // namespace
}  // namespace veltrano
