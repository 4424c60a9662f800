// Builds small dialog templates in memory, so that tests of the window layer need no resources.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace veltrano::testing {

class DialogTemplate {
 public:
  DialogTemplate(const wchar_t* title, short width, short height,
                 DWORD style = DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU) {
    Dword(style);
    Dword(0);
    countAt_ = words_.size();
    Word(0);
    Word(0);
    Word(0);
    Word(static_cast<WORD>(width));
    Word(static_cast<WORD>(height));
    Word(0);  // no menu
    Word(0);  // default class
    Text(title);
    if (style & DS_SETFONT) {
      Word(8);
      Text(L"MS Shell Dlg");
    }
  }

  // A control of a predefined class: 0x80 button, 0x81 edit, 0x82 static, 0x83 list box.
  DialogTemplate& Control(WORD atom, int id, const wchar_t* text, short x, short y, short cx, short cy,
                          DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP) {
    Header(id, x, y, cx, cy, style);
    Word(0xFFFF);
    Word(atom);
    Finish(text);
    return *this;
  }

  // A control of a class given by name ("SysListView32").
  DialogTemplate& Control(const wchar_t* className, int id, const wchar_t* text, short x, short y, short cx, short cy,
                          DWORD style) {
    Header(id, x, y, cx, cy, style);
    Text(className);
    Finish(text);
    return *this;
  }

  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Header(int id, short x, short y, short cx, short cy, DWORD style) {
    if (words_.size() % 2) Word(0);  // items start on a DWORD boundary
    Dword(style);
    Dword(0);
    Word(static_cast<WORD>(x));
    Word(static_cast<WORD>(y));
    Word(static_cast<WORD>(cx));
    Word(static_cast<WORD>(cy));
    Word(static_cast<WORD>(id));
    ++words_[countAt_];
  }
  void Finish(const wchar_t* text) {
    Text(text);
    Word(0);  // no creation data
  }
  void Word(WORD value) { words_.push_back(value); }
  void Dword(DWORD value) {
    Word(LOWORD(value));
    Word(HIWORD(value));
  }
  void Text(const wchar_t* text) {
    for (; *text; ++text) Word(static_cast<WORD>(*text));
    Word(0);
  }

  std::vector<WORD> words_;
  size_t countAt_ = 0;
};

}  // namespace veltrano::testing
