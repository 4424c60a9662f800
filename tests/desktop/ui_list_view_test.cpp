// The list view helper under Wine on a real report-style list.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include "desktop/dialog_template.h"
#include "desktop/ui/dialog.h"
#include "desktop/ui/list_view.h"

namespace veltrano::ui {
namespace {

constexpr int kList = 1201;

class ListDialog : public Dialog {
 public:
  using Dialog::Dialog;
  ListView list;

 protected:
  BOOL OnInitDialog() override {
    list.Attach(Item(kList));
    return TRUE;
  }
};

struct Fixture {
  testing::DialogTemplate dialogTemplate = [] {
    testing::DialogTemplate dialog(L"List", 240, 120);
    dialog.Control(L"SysListView32", kList, L"", 5, 5, 230, 110,
                   WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS);
    return dialog;
  }();
  ListDialog dialog{GetModuleHandleW(nullptr), dialogTemplate.Get()};

  Fixture() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    dialog.CreateModeless(nullptr);
  }
};

TEST(ListViewHelper, ColumnWidthsAreInDialogUnits) {
  Fixture fixture;
  ASSERT_NE(fixture.dialog.Handle(), nullptr);
  ListView& list = fixture.dialog.list;
  EXPECT_EQ(list.AddColumn(L"Date", 60), 0);
  EXPECT_EQ(list.AddColumn(L"Total", 40, LVCFMT_RIGHT), 1);
  EXPECT_EQ(list.ColumnCount(), 2);
  RECT expected{0, 0, 60, 0};
  MapDialogRect(fixture.dialog.Handle(), &expected);
  EXPECT_EQ(SendMessageW(list.Handle(), LVM_GETCOLUMNWIDTH, 0, 0), expected.right);
}

TEST(ListViewHelper, ItemsKeepTheirTextsAndDataAndSortByData) {
  Fixture fixture;
  ListView& list = fixture.dialog.list;
  list.AddColumn(L"Name", 60);
  list.AddColumn(L"Value", 60);
  for (int i = 0; i < 3; ++i) {
    const int item = list.AppendItem(L"row " + std::to_wstring(i), 10 + i);
    list.SetText(item, 1, std::to_wstring(100 - i));
  }
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Text(1, 0), L"row 1");
  EXPECT_EQ(list.Text(1, 1), L"99");
  EXPECT_EQ(list.Data(2), 12);

  list.SortByData([](LPARAM a, LPARAM b) { return a > b; });
  EXPECT_EQ(list.Text(0, 0), L"row 2");
  EXPECT_EQ(list.Data(0), 12);
  EXPECT_EQ(list.Text(2, 1), L"100");

  EXPECT_TRUE(list.DeleteItem(0));
  EXPECT_EQ(list.Count(), 2);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(ListViewHelper, SelectionIsAListOfIndexes) {
  Fixture fixture;
  ListView& list = fixture.dialog.list;
  list.AddColumn(L"Name", 60);
  for (int i = 0; i < 4; ++i) list.AppendItem(L"row", i);
  EXPECT_TRUE(list.SelectedIndexes().empty());
  list.Select({1, 3});
  EXPECT_EQ(list.SelectedIndexes(), (std::vector<int>{1, 3}));
  list.Select({2});
  EXPECT_EQ(list.SelectedIndexes(), (std::vector<int>{2}));
  list.Select({});
  EXPECT_TRUE(list.SelectedIndexes().empty());
}

}  // namespace
}  // namespace veltrano::ui
