// List view helper.
#include "desktop/ui/list_view.h"

namespace veltrano::ui {
namespace {

int CALLBACK CompareByData(LPARAM first, LPARAM second, LPARAM context) {
  const auto& less = *reinterpret_cast<const std::function<bool(LPARAM, LPARAM)>*>(context);
  try {
    if (less(first, second)) return -1;
    if (less(second, first)) return 1;
  } catch (...) {
  }
  return 0;
}

}  // namespace

void ListView::SetExtendedStyle(DWORD style) {
  SendMessageW(control_, LVM_SETEXTENDEDLISTVIEWSTYLE, style, style);
}

int ListView::DialogUnitsToPixels(int dialogUnits) const {
  RECT rect{0, 0, dialogUnits, 0};
  HWND parent = GetParent(control_);
  if (parent && MapDialogRect(parent, &rect)) return rect.right;
  return MulDiv(dialogUnits, LOWORD(GetDialogBaseUnits()), 4);
}

int ListView::AddColumn(const std::wstring& title, int widthDialogUnits, int format) {
  return AddColumnPixels(title, DialogUnitsToPixels(widthDialogUnits), format);
}

int ListView::AddColumnPixels(const std::wstring& title, int pixels, int format) {
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
  column.fmt = format;
  column.cx = pixels;
  column.pszText = const_cast<wchar_t*>(title.c_str());
  const int index = ColumnCount();
  column.iSubItem = index;
  return static_cast<int>(SendMessageW(control_, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column)));
}

void ListView::ScaleColumns(int fromDpi, int toDpi) {
  if (fromDpi <= 0 || toDpi <= 0 || fromDpi == toDpi) return;
  for (int column = ColumnCount() - 1; column >= 0; --column) {
    const int width = static_cast<int>(SendMessageW(control_, LVM_GETCOLUMNWIDTH, column, 0));
    SendMessageW(control_, LVM_SETCOLUMNWIDTH, column, MulDiv(width, toDpi, fromDpi));
  }
}

int ListView::ColumnCount() const {
  HWND header = reinterpret_cast<HWND>(SendMessageW(control_, LVM_GETHEADER, 0, 0));
  return header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

int ListView::InsertItem(int index, const std::wstring& text, LPARAM data) {
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = index;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  item.lParam = data;
  return static_cast<int>(SendMessageW(control_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void ListView::SetText(int item, int column, const std::wstring& text) {
  LVITEMW record{};
  record.iSubItem = column;
  record.pszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(control_, LVM_SETITEMTEXTW, item, reinterpret_cast<LPARAM>(&record));
}

std::wstring ListView::Text(int item, int column) const {
  std::wstring buffer(512, L'\0');
  LVITEMW record{};
  record.iSubItem = column;
  record.pszText = &buffer[0];
  record.cchTextMax = static_cast<int>(buffer.size());
  const auto length = SendMessageW(control_, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&record));
  buffer.resize(static_cast<size_t>(length < 0 ? 0 : length));
  return buffer;
}

LPARAM ListView::Data(int item) const {
  LVITEMW record{};
  record.mask = LVIF_PARAM;
  record.iItem = item;
  if (!SendMessageW(control_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&record))) return 0;
  return record.lParam;
}

bool ListView::DeleteItem(int item) {
  return SendMessageW(control_, LVM_DELETEITEM, item, 0) != 0;
}

void ListView::Clear() {
  SendMessageW(control_, LVM_DELETEALLITEMS, 0, 0);
}

int ListView::Count() const {
  return static_cast<int>(SendMessageW(control_, LVM_GETITEMCOUNT, 0, 0));
}

std::vector<int> ListView::SelectedIndexes() const {
  std::vector<int> items;
  int item = -1;
  while ((item = static_cast<int>(SendMessageW(control_, LVM_GETNEXTITEM, item, LVNI_SELECTED))) >= 0) {
    items.push_back(item);
  }
  return items;
}

void ListView::Select(const std::vector<int>& items) {
  LVITEMW clear{};
  clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(control_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
  for (size_t i = 0; i < items.size(); ++i) {
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | (i == 0 ? LVIS_FOCUSED : 0);
    SendMessageW(control_, LVM_SETITEMSTATE, items[i], reinterpret_cast<LPARAM>(&state));
  }
}

void ListView::EnsureVisible(int item) {
  SendMessageW(control_, LVM_ENSUREVISIBLE, item, FALSE);
}

void ListView::SortByData(const std::function<bool(LPARAM, LPARAM)>& less) {
  SendMessageW(control_, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&less), reinterpret_cast<LPARAM>(&CompareByData));
}

}  // namespace veltrano::ui
