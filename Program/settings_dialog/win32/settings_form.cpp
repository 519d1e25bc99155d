#include "settings_dialog/win32/settings_form.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>

#include "app/application.h"
#include "app/main_form.h"
#include "foundation/api_files.h"
#include "foundation/hot_keys.h"
#include "foundation/lang_entries.h"
#include "foundation/win32/api_list_view.h"
#include "platform/win32/win32_services.h"
#include "resource_ids.h"
#include "settings_dialog/settings_texts.h"
#include "text/text.h"

namespace parlavent {
namespace {

constexpr int kClientWidth = 680;
constexpr int kClientHeight = 520;
constexpr int kMargin = 8;
constexpr int kButtonHeight = 26;
constexpr int kLabelWidth = 290;
constexpr int kFirstUpDownId = 3000;
constexpr UINT_PTR kHotKeyTimer = 1;
constexpr UINT kHotKeyPollMs = 10;

HMENU Id(int id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); }

COLORREF ShownColour(std::int32_t value) {
  // A value with the high bit names a system colour.
  const auto v = static_cast<std::uint32_t>(value);
  return (v & 0x80000000u) != 0 ? GetSysColor(static_cast<int>(v & 0xFF)) : static_cast<COLORREF>(v & 0xFFFFFF);
}

std::u16string WindowText(HWND w) {
  const int n = GetWindowTextLengthW(w);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(w, text.data(), n + 1)));
  return FromWide(text);
}

}  // namespace

frmSetting::frmSetting(HINSTANCE instance, Appl& app) : instance_(instance), app_(app), model_(app) {}

frmSetting::~frmSetting() {
  if (hwnd()) DestroyWindow(hwnd());
  if (icons_) ImageList_Destroy(icons_);
}

void frmSetting::ReadSetting() {
  // Asked again while it is open (the tray menu still answers): the open dialog keeps its values.
  if (open_) return;
  if (hwnd()) DestroyWindow(hwnd());
  model_.ReadSetting();
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&controls);
  CreateArgs args;
  args.className = kClassName;
  args.title = app_.LZ(lang::kSetCaption);
  args.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  args.exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, args.style, FALSE, args.exStyle);
  args.width = frame.right - frame.left;
  args.height = frame.bottom - frame.top;
  args.x = (GetSystemMetrics(SM_CXSCREEN) - args.width) / 2;
  args.y = (GetSystemMetrics(SM_CYSCREEN) - args.height) / 2;
  args.parent = app_.frmMain ? reinterpret_cast<HWND>(app_.frmMain->hWnd()) : nullptr;
  args.icon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_PARLAVENT));
  if (!Create(args)) return;
  CreateControls();
  ShowPage(SettingPage::General);
}

void frmSetting::CreateControls() {
  font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  const auto make = [this](const wchar_t* cls, const std::u16string& text, DWORD style, int x, int y, int w, int h,
                           int id) {
    HWND c = CreateWindowExW(0, cls, Wide(text), WS_CHILD | style, x, y, w, h, hwnd(), Id(id), instance_, nullptr);
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return c;
  };
  tabs_ = make(WC_TABCONTROLW, u"", WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, kMargin, kMargin,
               kClientWidth - 2 * kMargin, kClientHeight - 3 * kMargin - kButtonHeight, kIdTabs);
  for (std::int32_t p = 0; p < kSettingPageCount; ++p) {
    std::u16string caption = app_.LZ(lang::kSetPageFirst + p);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(Wide(caption));
    SendMessageW(tabs_, TCM_INSERTITEMW, static_cast<WPARAM>(p), reinterpret_cast<LPARAM>(&item));
  }
  RECT page{};
  GetClientRect(tabs_, &page);
  SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  OffsetRect(&page, kMargin, kMargin);
  // One face colour under the page's controls, whatever the tab control paints its body with.
  HWND face = make(L"STATIC", u"", WS_VISIBLE | WS_CLIPSIBLINGS, page.left, page.top, page.right - page.left, page.bottom - page.top, -1);
  const int left = page.left + kMargin;
  const int width = page.right - page.left - 2 * kMargin;

  const auto& controls = model_.Controls();
  slots_.assign(controls.size(), {});
  shown_.assign(controls.size(), {});
  int y[kSettingPageCount];
  std::fill(std::begin(y), std::end(y), static_cast<int>(page.top) + kMargin);
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const auto p = static_cast<std::size_t>(controls[i].page);
    if (controls[i].name == u"lstWhiteList") {
      FillWhiteList(left, y[p], width, page.bottom - kMargin - y[p]);
      continue;
    }
    y[p] += CreateControl(i, left, y[p], width);
  }
  const int buttonsY = kClientHeight - kMargin - kButtonHeight;
  make(L"BUTTON", app_.LZ(lang::kSetOK), WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, kClientWidth - 3 * (96 + kMargin),
       buttonsY, 96, kButtonHeight, IDOK);
  make(L"BUTTON", app_.LZ(lang::kSetCancel), WS_VISIBLE | WS_TABSTOP, kClientWidth - 2 * (96 + kMargin), buttonsY, 96,
       kButtonHeight, IDCANCEL);
  make(L"BUTTON", app_.LZ(lang::kMenuHelp), WS_VISIBLE | WS_TABSTOP, kClientWidth - (96 + kMargin), buttonsY, 96,
       kButtonHeight, kIdHelp);
  // The pages' controls lie over the tab control and the face: these paint beneath them.
  SetWindowPos(face, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  for (std::size_t i = 0; i < controls.size(); ++i) ShowValue(i);
}

int frmSetting::CreateControl(std::size_t i, int x, int y, int width) {
  const SettingControl& c = model_.Controls()[i];
  const int id = kFirstControlId + static_cast<int>(i);
  Slot& slot = slots_[i];
  const auto make = [this](const wchar_t* cls, const std::u16string& text, DWORD style, DWORD exStyle, int cx,
                           int cy, int w, int h, int cid) {
    HWND control = CreateWindowExW(exStyle, cls, Wide(text), WS_CHILD | style, cx, cy, w, h, hwnd(), Id(cid),
                                   instance_, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return control;
  };
  const auto label = [&] {
    slot.label = make(L"STATIC", c.caption, SS_LEFT, 0, x, y + 4, kLabelWidth, 18, kFirstLabelId + static_cast<int>(i));
  };
  const int field = x + kLabelWidth + kMargin;
  const int fieldWidth = width - kLabelWidth - kMargin;
  switch (c.kind) {
    case ControlKind::Check:
      slot.control = make(L"BUTTON", c.caption, WS_TABSTOP | BS_AUTOCHECKBOX, 0, x, y, width, 20, id);
      return 21;
    case ControlKind::Number:
      label();
      slot.control = make(L"EDIT", u"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, field, y, 70, 22, id);
      slot.upDown = make(UPDOWN_CLASSW, u"", UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, 0,
                         0, 0, 0, kFirstUpDownId + static_cast<int>(i));
      SendMessageW(slot.upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(slot.control), 0);
      SendMessageW(slot.upDown, UDM_SETRANGE32, static_cast<WPARAM>(c.min), static_cast<LPARAM>(c.max));
      return 27;
    case ControlKind::Choice: {
      label();
      slot.control = make(L"COMBOBOX", u"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, field, y, fieldWidth, 200, id);
      for (const std::u16string& option : c.options) {
        SendMessageW(slot.control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(option)));
      }
      return 27;
    }
    case ControlKind::Colour:
      label();
      slot.control = make(L"BUTTON", u"", WS_TABSTOP | BS_OWNERDRAW, 0, field, y, 70, 24, id);
      return 27;
    case ControlKind::Font:
      label();
      slot.control = make(L"BUTTON", u"", WS_TABSTOP, 0, field, y, fieldWidth, 24, id);
      return 27;
    case ControlKind::HotKey:
      label();
      slot.control = make(L"EDIT", u"", WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, field, y,
                          fieldWidth, 22, id);
      return 27;
    case ControlKind::Note: {
      // A caption line, or a text of several lines (the hot-key help, the page without voices).
      const bool caption = !c.caption.empty();
      const int height = caption ? 18 : 72;
      slot.control = make(L"STATIC", caption ? c.caption : u"", SS_LEFT, 0, x, y + (caption ? 4 : 0), width, height, id);
      return height + (caption ? 6 : 4);
    }
  }
  return 0;
}

void frmSetting::FillWhiteList(int x, int y, int width, int height) {
  const std::int32_t note = model_.Find(u"lstWhiteList");
  if (note >= 0) {
    slots_[static_cast<std::size_t>(note)].label =
        CreateWindowExW(0, L"STATIC", Wide(model_.Controls()[static_cast<std::size_t>(note)].caption),
                        WS_CHILD | SS_LEFT, x, y + 4, width, 18, hwnd(), Id(kFirstLabelId + note), instance_, nullptr);
    SendMessageW(slots_[static_cast<std::size_t>(note)].label, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    y += 26;
    height -= 26;
  }
  // The chosen program's file details go on a line below the list.
  constexpr int kDetailsHeight = 18;
  height -= kDetailsHeight + 6;
  details_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_LEFT | SS_PATHELLIPSIS | SS_NOPREFIX, x,
                             y + height + 6, width, kDetailsHeight, hwnd(), Id(kIdDetails), instance_, nullptr);
  SendMessageW(details_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  // The icons are the dialog's: the list view only shows them, and its end must not free them.
  list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                          WS_CHILD | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER |
                              LVS_SHAREIMAGELISTS,
                          x, y, width, height, hwnd(), Id(kIdWhiteList), instance_, nullptr);
  SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
               LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = width - GetSystemMetrics(SM_CXVSCROLL) - 4;
  SendMessageW(list_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  // Kept across openings with the programs they stand for: a program's icon is read once.
  if (!icons_) {
    icons_ = ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), ILC_COLOR32 | ILC_MASK, 8,
                              64);
  }
  SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(icons_));

  // One pass, nothing drawn until the end: the rows' texts and check boxes only. Icons are
  // asked for by the rows the list shows (LVN_GETDISPINFO), so thousands of programs open at once.
  const auto& rows = model_.WhiteList();
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list_, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows.size()), 0);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    item.iItem = static_cast<int>(r);
    item.pszText = const_cast<wchar_t*>(Wide(rows[r].text));
    item.iImage = I_IMAGECALLBACK;
    item.lParam = static_cast<LPARAM>(r);
    SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (rows[r].checked) API::SetListItemChecked(list_, static_cast<int>(r) + 1, true);
  }
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
}

int frmSetting::ProgramIcon(const std::u16string& exePath) {
  const auto cached = iconOf_.find(exePath);
  if (cached != iconOf_.end()) return cached->second;
  // The program's own icon; a program that is gone shows the icon of programs in general.
  const std::wstring path(exePath.begin(), exePath.end());
  HICON icon = nullptr;
  if (API::FileExists(exePath)) ExtractIconExW(path.c_str(), 0, nullptr, &icon, 1);
  int image = -1;
  if (icon) {
    image = ImageList_AddIcon(icons_, icon);
    DestroyIcon(icon);
  } else {
    image = GenericProgramIcon();
  }
  iconOf_.emplace(exePath, image);
  return image;
}

int frmSetting::GenericProgramIcon() {
  if (genericIcon_ >= -1) return genericIcon_;
  SHFILEINFOW info{};
  SHGetFileInfoW(L"program.exe", FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                 SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
  genericIcon_ = info.hIcon ? ImageList_AddIcon(icons_, info.hIcon) : -1;
  if (info.hIcon) DestroyIcon(info.hIcon);
  return genericIcon_;
}

void frmSetting::ShowPage(SettingPage page) {
  page_ = page;
  if (!hwnd()) return;
  SendMessageW(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
  const auto& controls = model_.Controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const int show = controls[i].page == page ? SW_SHOW : SW_HIDE;
    for (HWND w : {slots_[i].control, slots_[i].label, slots_[i].upDown}) {
      if (w) ShowWindow(w, show);
    }
  }
  if (list_) ShowWindow(list_, page == SettingPage::Programs ? SW_SHOW : SW_HIDE);
  if (details_) ShowWindow(details_, page == SettingPage::Programs ? SW_SHOW : SW_HIDE);
  // Keys must not go on reaching a control of the page just left.
  if (HWND focus = GetFocus(); focus && GetParent(focus) == hwnd() && !IsWindowVisible(focus)) SetFocus(tabs_);
}

// ---- Values between the model and the controls -------------------------------------------------

void frmSetting::ShowValue(std::size_t i) {
  const SettingControl& c = model_.Controls()[i];
  const ControlValue& v = model_.Value(static_cast<std::int32_t>(i));
  HWND w = slots_[i].control;
  if (!w) return;
  updating_ = true;
  switch (c.kind) {
    case ControlKind::Check: SendMessageW(w, BM_SETCHECK, v.number ? BST_CHECKED : BST_UNCHECKED, 0); break;
    case ControlKind::Number: {
      // A box being typed in keeps its text while it reads as this number; text that is no number
      // stays as it was typed, for OK to refuse.
      std::int64_t typed = 0;
      if (!v.isNumber) {
        if (WindowText(w) != v.text) SetWindowTextW(w, Wide(v.text));
      } else if (!ParseInt64(WindowText(w), typed) || typed != v.number) {
        SetWindowTextW(w, Wide(NumberText(v.number)));
      }
      break;
    }
    case ControlKind::Choice: SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(v.number), 0); break;
    case ControlKind::Colour: InvalidateRect(w, nullptr, TRUE); break;
    case ControlKind::Font: SetWindowTextW(w, Wide(SettingsModel::FontText(v))); break;
    case ControlKind::HotKey: SetWindowTextW(w, Wide(SettingsModel::HotKeyText(v.hotKey))); break;
    case ControlKind::Note:
      if (c.caption.empty()) SetWindowTextW(w, Wide(v.text));
      break;
  }
  updating_ = false;
  shown_[i] = v;
}

void frmSetting::ReadControl(std::size_t i) {
  const SettingControl& c = model_.Controls()[i];
  HWND w = slots_[i].control;
  if (!w) return;
  ControlValue v = model_.Value(static_cast<std::int32_t>(i));
  switch (c.kind) {
    case ControlKind::Check: v.number = SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0; break;
    case ControlKind::Number: {
      std::int64_t n = 0;
      const std::u16string text = Trim(WindowText(w));
      v.isNumber = ParseInt64(text, n) && n >= INT32_MIN && n <= INT32_MAX;
      v.number = v.isNumber ? static_cast<std::int32_t>(n) : 0;
      v.text = v.isNumber ? std::u16string() : text;
      break;
    }
    case ControlKind::Choice: v.number = static_cast<std::int32_t>(SendMessageW(w, CB_GETCURSEL, 0, 0)); break;
    default: return;  // colours, fonts and the hot key reach the model as they are chosen
  }
  shown_[i] = v;
  model_.SetValue(static_cast<std::int32_t>(i), v);
  RefreshShownValues(i);
}

void frmSetting::RefreshShownValues(std::size_t except) {
  for (std::size_t i = 0; i < shown_.size(); ++i) {
    if (i != except && !(shown_[i] == model_.Value(static_cast<std::int32_t>(i)))) ShowValue(i);
  }
}

// ---- Events ------------------------------------------------------------------------------------

void frmSetting::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case IDOK: cmdOK_Click(); return;
    case IDCANCEL: Close(); return;
    case kIdHelp: app_.ShowHelp(SettingsModel::HelpTopic(page_)); return;
    default: break;
  }
  const int index = id - kFirstControlId;
  if (index < 0 || static_cast<std::size_t>(index) >= slots_.size() || control != slots_[index].control) return;
  const auto i = static_cast<std::size_t>(index);
  switch (model_.Controls()[i].kind) {
    case ControlKind::Check:
      if (code == BN_CLICKED) ReadControl(i);
      break;
    case ControlKind::Number:
      if (code == EN_CHANGE && !updating_) ReadControl(i);
      break;
    case ControlKind::Choice:
      if (code == CBN_SELCHANGE) ReadControl(i);
      break;
    case ControlKind::Colour:
      if (code == BN_CLICKED) ChooseColour(i);
      break;
    case ControlKind::Font:
      if (code == BN_CLICKED) ChooseFontFor(i);
      break;
    case ControlKind::HotKey:
      // While the box has the focus the keys pressed become the hot key.
      if (code == EN_SETFOCUS) {
        capturing_ = true;
        SetTimer(hwnd(), kHotKeyTimer, kHotKeyPollMs, nullptr);
      } else if (code == EN_KILLFOCUS) {
        capturing_ = false;
        KillTimer(hwnd(), kHotKeyTimer);
      }
      break;
    default: break;
  }
}

void frmSetting::ChooseColour(std::size_t i) {
  static COLORREF custom[16] = {};
  ControlValue v = model_.Value(static_cast<std::int32_t>(i));
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof(cc);
  cc.hwndOwner = hwnd();
  cc.rgbResult = ShownColour(v.number);
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorW(&cc)) return;
  v.number = static_cast<std::int32_t>(cc.rgbResult & 0xFFFFFF);
  model_.SetValue(static_cast<std::int32_t>(i), v);
  ShowValue(i);
}

void frmSetting::ChooseFontFor(std::size_t i) {
  const SettingControl& c = model_.Controls()[i];
  ControlValue v = model_.Value(static_cast<std::int32_t>(i));
  LOGFONTW font{};
  HDC screen = GetDC(nullptr);
  const double points = v.size >= c.min && v.size <= c.max ? v.size : 10;
  font.lfHeight = -MulDiv(static_cast<int>(points + 0.5), GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  font.lfWeight = v.bold ? FW_BOLD : FW_NORMAL;
  font.lfItalic = v.italic ? TRUE : FALSE;
  font.lfCharSet = DEFAULT_CHARSET;
  const std::wstring name(v.text.begin(), v.text.end());
  wcsncpy(font.lfFaceName, name.c_str(), LF_FACESIZE - 1);
  CHOOSEFONTW cf{};
  cf.lStructSize = sizeof(cf);
  cf.hwndOwner = hwnd();
  cf.lpLogFont = &font;
  cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_NOVERTFONTS | CF_LIMITSIZE | (c.fontStyle ? 0 : CF_NOSTYLESEL);
  cf.nSizeMin = c.min;
  cf.nSizeMax = c.max;
  if (!ChooseFontW(&cf)) return;
  v.text = FromWide(font.lfFaceName);
  v.size = cf.iPointSize / 10.0;
  if (c.fontStyle) {
    v.bold = font.lfWeight >= FW_BOLD;
    v.italic = font.lfItalic != 0;
  }
  model_.SetValue(static_cast<std::int32_t>(i), v);
  ShowValue(i);
}

void frmSetting::cmdOK_Click() {
  // Every control's value as it stands, the list's check boxes too.
  for (std::size_t i = 0; i < slots_.size(); ++i) ReadControl(i);
  auto& rows = model_.WhiteList();
  if (list_) {
    for (std::size_t r = 0; r < rows.size(); ++r) rows[r].checked = API::IsListItemChecked(list_, static_cast<int>(r) + 1);
  }
  std::u16string message;
  const SettingsModel::OkResult result = model_.cmdOK_Click(message);
  if (result == SettingsModel::OkResult::Saved) {
    Close();
    return;
  }
  const std::u16string title = app_.LZ(lang::kSetCaption);
  MessageBoxW(hwnd(), Wide(message), Wide(title),
              MB_OK | (result == SettingsModel::OkResult::SaveFailed ? MB_ICONERROR : MB_ICONEXCLAMATION));
  // The refused value's page comes up with its control in focus.
  if (const std::int32_t refused = model_.RefusedControl(); refused >= 0) {
    ShowPage(model_.Controls()[static_cast<std::size_t>(refused)].page);
    if (HWND w = slots_[static_cast<std::size_t>(refused)].control) {
      SetFocus(w);
      if (model_.Controls()[static_cast<std::size_t>(refused)].kind == ControlKind::Number) {
        SendMessageW(w, EM_SETSEL, 0, -1);
      }
    }
  }
}

void frmSetting::Close() {
  KillTimer(hwnd(), kHotKeyTimer);
  capturing_ = false;
  open_ = false;
}

LRESULT frmSetting::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND: OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)); return 0;
    case WM_CLOSE: Close(); return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lp);
      if (header->hwndFrom == tabs_ && header->code == TCN_SELCHANGE) {
        ShowPage(static_cast<SettingPage>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0)));
      }
      if (header->hwndFrom == list_ && header->code == LVN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(lp);
        const auto& rows = model_.WhiteList();
        const auto row = static_cast<std::size_t>(info->item.lParam);
        if ((info->item.mask & LVIF_IMAGE) && row < rows.size()) info->item.iImage = ProgramIcon(rows[row].exePath);
      }
      if (header->hwndFrom == list_ && header->code == LVN_ITEMCHANGED && details_) {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lp);
        if ((change->uNewState & LVIS_SELECTED) && change->iItem >= 0) {
          SetWindowTextW(details_, Wide(model_.Details(static_cast<std::size_t>(change->iItem))));
        }
      }
      return 0;
    }
    case WM_TIMER:
      if (wp == kHotKeyTimer && capturing_) {
        const std::int32_t i = model_.Find(u"txtHotKey");
        if (i < 0) return 0;
        ControlValue v = model_.Value(i);
        mdlPublic::GetPressedHotKey(v.hotKey.keyCode, v.hotKey.modifier, v.hotKey.isDouble);
        if (!(v == model_.Value(i))) {
          model_.SetValue(i, v);
          ShowValue(static_cast<std::size_t>(i));
        }
      }
      return 0;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      const int index = static_cast<int>(item->CtlID) - kFirstControlId;
      if (index < 0 || static_cast<std::size_t>(index) >= slots_.size()) break;
      RECT r = item->rcItem;
      DrawEdge(item->hDC, &r, (item->itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
      InflateRect(&r, -3, -3);
      HBRUSH brush = CreateSolidBrush(ShownColour(model_.Value(index).number));
      FillRect(item->hDC, &r, brush);
      DeleteObject(brush);
      FrameRect(item->hDC, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      if (item->itemState & ODS_FOCUS) {
        InflateRect(&r, 2, 2);
        DrawFocusRect(item->hDC, &r);
      }
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
      // The texts sit on the tab control's face.
      SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    default: break;
  }
  return WindowBase::OnMessage(msg, wp, lp);
}

void frmSetting::ShowModal(bool topMost) {
  if (open_) {
    SetForegroundWindow(hwnd());
    return;
  }
  if (!hwnd()) ReadSetting();
  if (!hwnd()) return;
  HWND owner = GetWindow(hwnd(), GW_OWNER);
  if (owner) EnableWindow(owner, FALSE);
  SetWindowPos(hwnd(), topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(hwnd());
  open_ = true;
  MSG msg{};
  bool quit = false;
  while (open_ && hwnd()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      quit = got == 0;
      break;
    }
    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages, as in other dialogs with tabs.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
      const int step = GetKeyState(VK_SHIFT) < 0 ? kSettingPageCount - 1 : 1;
      ShowPage(static_cast<SettingPage>((static_cast<int>(page_) + step) % kSettingPageCount));
      continue;
    }
    if (!IsDialogMessageW(hwnd(), &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  open_ = false;
  if (owner) EnableWindow(owner, TRUE);
  if (hwnd()) DestroyWindow(hwnd());
  if (owner) SetForegroundWindow(owner);
  // The program's own loop must still see a request to end.
  if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
}

std::shared_ptr<SettingsDialog> MakeWin32SettingsDialog(HINSTANCE instance, Appl& app) {
  return std::make_shared<frmSetting>(instance, app);
}

}  // namespace parlavent
