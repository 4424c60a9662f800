// Thin helper over a report-style list view control: zeroed records, column widths in dialog
// units, selection as item indexes, sorting by keys that plain code computes.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace veltrano::ui {

class ListView {
 public:
  ListView() = default;
  explicit ListView(HWND control) : control_(control) {}
  void Attach(HWND control) { control_ = control; }
  HWND Handle() const { return control_; }

  void SetExtendedStyle(DWORD style);
  // Width in dialog units of the list's dialog (base units when it has none).
  int AddColumn(const std::wstring& title, int widthDialogUnits, int format = LVCFMT_LEFT);
  // Width in pixels as they are (already at the list's DPI).
  int AddColumnPixels(const std::wstring& title, int pixels, int format = LVCFMT_LEFT);
  // Every column's width, as it stands (a user may have dragged it), from one DPI to another.
  void ScaleColumns(int fromDpi, int toDpi);
  int ColumnCount() const;

  // Inserts at index (past the end appends); answers the new item's index, or -1.
  int InsertItem(int index, const std::wstring& text, LPARAM data = 0);
  int AppendItem(const std::wstring& text, LPARAM data = 0) { return InsertItem(Count(), text, data); }
  void SetText(int item, int column, const std::wstring& text);
  std::wstring Text(int item, int column) const;
  LPARAM Data(int item) const;
  bool DeleteItem(int item);
  void Clear();
  int Count() const;

  std::vector<int> SelectedIndexes() const;
  // Selects exactly these items (others lose the selection); the first one gets the focus.
  void Select(const std::vector<int>& items);
  void EnsureVisible(int item);

  // Reorders the items by their data values; less(a, b) compares two items' data.
  void SortByData(const std::function<bool(LPARAM, LPARAM)>& less);

 private:
  int DialogUnitsToPixels(int dialogUnits) const;

  HWND control_ = nullptr;
};

}  // namespace veltrano::ui
