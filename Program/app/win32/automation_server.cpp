// The automation server and the plug-in host's late binding over COM. The application object's
// IDispatch is the type library's own (DispGetIDsOfNames/DispInvoke over the embedded TYPELIB), so
// scripts get the same argument checks and conversions as early-bound clients: a wrong type or a
// missing argument is an automation error returned to the client, never a fault in the program.
#include "app/win32/automation_server.h"

#include <windows.h>
#include <oleauto.h>

#include <algorithm>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/automation.h"
#include "app/link_layer.h"
#include "app/main_window_core.h"
#include "app/plugin_host.h"
#include "app/statistics.h"
#include "app/view_history.h"
#include "app/view_host.h"
#include "dictionary/dictionary.h"
#include "dictionary/result_tree.h"
#include "dictionary/stat_item.h"
#include "foundation/settings_object.h"
#include "foundation/voice.h"
#include "parlavent_automation.h"
#include "platform/desktop.h"
#include "platform/win32/win32_services.h"

namespace parlavent {

namespace {

std::u16string FromBstr(BSTR b) {
  return b ? std::u16string(reinterpret_cast<const char16_t*>(b), SysStringLen(b)) : std::u16string();
}

BSTR ToBstr(std::u16string_view s) {
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(s.data()), static_cast<UINT>(s.size()));
}

std::wstring Wide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

std::u16string_view View(BSTR b) {
  return b ? std::u16string_view(reinterpret_cast<const char16_t*>(b), SysStringLen(b)) : std::u16string_view();
}

// Text from a client as a paste or a drop brings it in: at most what the input box takes, so no
// look-up, list or box is ever handed more, whatever the client sends.
std::u16string ClientText(std::u16string_view text) {
  bool cut = false;
  return InputBoxText(text, cut);
}
std::u16string ClientText(BSTR b) { return ClientText(View(b)); }

// Text for the output box and the back-translation pane, which show whole translations: longer,
// but still short enough for the multi-line boxes to lay out at once.
constexpr std::size_t kClientOutputMax = 10000;
// Outgoing calls under way on the program's thread: a call to a client's object (a value the
// client passed that converts by calling it back) or to a plug-in. While one waits, the calls its
// callee makes back into the program run at once: holding them would wait on the wait itself.
int gOutgoing = 0;
// Each outgoing call nests the calls its callee makes back on the program's one stack, and keeps
// a thread of COM's waiting on either side: callees calling back a few hundred deep stop the
// program for every client. Deeper than this an outgoing call is refused with kTooDeep.
constexpr int kMaxOutgoing = 64;
const HRESULT kTooDeep = HRESULT_FROM_WIN32(ERROR_STACK_OVERFLOW);
struct Outgoing {
  explicit Outgoing(bool callsOut = true)
      : allowed(!callsOut || gOutgoing < kMaxOutgoing), counted(callsOut && allowed) {
    if (counted) ++gOutgoing;
  }
  ~Outgoing() {
    if (counted) --gOutgoing;
  }
  Outgoing(const Outgoing&) = delete;
  Outgoing& operator=(const Outgoing&) = delete;
  const bool allowed;
  const bool counted;
};

// Whether converting v calls its owner: an object, or a reference to one.
bool CallsOut(const VARIANT& v) {
  const VARIANT* value = v.vt == (VT_VARIANT | VT_BYREF) && v.pvarVal ? v.pvarVal : &v;
  const VARTYPE type = value->vt & VT_TYPEMASK;
  return type == VT_DISPATCH || type == VT_UNKNOWN;
}

// A client's value converted: one that is an object of the client converts by calling it.
// DISP_E_TYPEMISMATCH when it does not convert, kTooDeep when the call would nest too deep.
HRESULT ClientChange(VARIANT* out, VARIANT* in, USHORT flags, VARTYPE type) {
  const Outgoing call(CallsOut(*in));
  if (!call.allowed) return kTooDeep;
  return SUCCEEDED(VariantChangeType(out, in, flags, type)) ? S_OK : DISP_E_TYPEMISMATCH;
}

bool IsAbsent(const VARIANT& v) { return v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND; }

// A client's argument, kept as given for the plug-in.
struct VariantValue final : ClientValue {
  VariantValue() { VariantInit(&v); }
  ~VariantValue() override { VariantClear(&v); }
  VariantValue(const VariantValue&) = delete;
  VariantValue& operator=(const VariantValue&) = delete;
  VARIANT v;
};

std::u16string ClientOutput(BSTR b) {
  const std::u16string_view text = View(b);
  return std::u16string(text.substr(0, std::min(text.size(), kClientOutputMax)));
}

VARIANT_BOOL VBool(bool b) { return b ? VARIANT_TRUE : VARIANT_FALSE; }

/// Runs one operation of the application object; nothing it raises reaches the client's thread.
template <class F>
HRESULT Guard(F&& f) {
  try {
    return f();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

template <class F>
HRESULT Do(F&& f) {
  return Guard([&] {
    f();
    return S_OK;
  });
}

template <class F>
HRESULT Text(BSTR* ret, F&& f) {
  if (!ret) return E_POINTER;
  *ret = nullptr;
  return Guard([&] {
    *ret = ToBstr(f());
    return *ret ? S_OK : E_OUTOFMEMORY;
  });
}

HRESULT Flag(VARIANT_BOOL* ret, bool value) {
  if (!ret) return E_POINTER;
  *ret = VBool(value);
  return S_OK;
}

HRESULT Number(long* ret, std::int32_t value) {
  if (!ret) return E_POINTER;
  *ret = value;
  return S_OK;
}

std::wstring ProgramPath() {
  std::wstring path(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(n < path.size() ? n : 0);
  return path;
}

std::u16string GuidText(const GUID& id) {
  wchar_t text[64] = {};
  StringFromGUID2(id, text, 64);
  return std::u16string(text, text + wcslen(text));
}

class DispatchPlugIn;

ITypeLib* gTypeLib = nullptr;  // the program's own, while the server runs

// The application object served, while it is served: the objects standing for it read it here,
// and refuse every call once it is withdrawn, so none of them outlives it.
Appl* gServed = nullptr;
class DicsObject;
std::vector<DicsObject*> gDics;  // every ColDics handed out, cut off with the application object

Appl& App() { return *gServed; }


// The two descriptions of a dual interface: the dispatch one for GetTypeInfo, the vtable one
// that DispInvoke calls through. False when the type library lacks it.
bool DualInfos(const IID& iid, ITypeInfo** dispatchInfo, ITypeInfo** interfaceInfo) {
  *dispatchInfo = *interfaceInfo = nullptr;
  HREFTYPE vtable = 0;
  if (gTypeLib && SUCCEEDED(gTypeLib->GetTypeInfoOfGuid(iid, dispatchInfo)) &&
      SUCCEEDED((*dispatchInfo)->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtable)) &&
      SUCCEEDED((*dispatchInfo)->GetRefTypeInfo(vtable, interfaceInfo)))
    return true;
  if (*dispatchInfo) (*dispatchInfo)->Release();
  *dispatchInfo = nullptr;
  return false;
}

// IUnknown and IDispatch of a dual interface I whose id is iid, answered from the type library.
template <class I, const IID* iid>
class DualObject : public I {
 public:
  DualObject() { DualInfos(*iid, &dispatchInfo_, &interfaceInfo_); }
  virtual ~DualObject() {
    if (dispatchInfo_) dispatchInfo_->Release();
    if (interfaceInfo_) interfaceInfo_->Release();
  }
  DualObject(const DualObject&) = delete;
  DualObject& operator=(const DualObject&) = delete;
  bool Described() const { return interfaceInfo_ != nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == *iid) {
      *ppv = static_cast<I*>(this);
      this->AddRef();
      return S_OK;
    }
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = dispatchInfo_ ? 1 : 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0 || !dispatchInfo_) return DISP_E_BADINDEX;
    dispatchInfo_->AddRef();
    *info = dispatchInfo_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!interfaceInfo_) return E_UNEXPECTED;
    return DispGetIDsOfNames(interfaceInfo_, names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* excep, UINT* argErr) override {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!interfaceInfo_) return E_UNEXPECTED;
    return DispInvoke(static_cast<I*>(this), interfaceInfo_, id, flags, params, result, excep, argErr);
  }

 private:
  LONG refs_ = 1;
  ITypeInfo* dispatchInfo_ = nullptr;
  ITypeInfo* interfaceInfo_ = nullptr;
};

HRESULT Str(BSTR* ret, std::u16string_view s) {
  return Text(ret, [&] { return std::u16string(s); });
}

HRESULT Strings(VARIANT* value, const std::vector<std::u16string>& list) {
  if (!value) return E_POINTER;
  VariantInit(value);
  return Guard([&]() -> HRESULT {
    SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(list.size()));
    if (!array) return E_OUTOFMEMORY;
    for (LONG i = 0; i < static_cast<LONG>(list.size()); ++i) {
      VARIANT item;
      VariantInit(&item);
      item.vt = VT_BSTR;
      item.bstrVal = ToBstr(list[static_cast<std::size_t>(i)]);
      SafeArrayPutElement(array, &i, &item);
      VariantClear(&item);
    }
    value->vt = VT_ARRAY | VT_VARIANT;
    value->parray = array;
    return S_OK;
  });
}

// Hands out a new object of type T over its arguments, or E_UNEXPECTED when the type library
// lacks its interface.
template <class T, class I, class... A>
HRESULT Make(I** ret, A&&... args) {
  if (!ret) return E_POINTER;
  *ret = nullptr;
  return Guard([&] {
    auto* object = new T(std::forward<A>(args)...);
    if (!object->Described()) {
      object->Release();
      return E_UNEXPECTED;
    }
    *ret = object;
    return S_OK;
  });
}

// The object standing for item as a T; Nothing for no item.
template <class T, class I, class P>
HRESULT Out(I** ret, const std::shared_ptr<P>& item) {
  if (!ret) return E_POINTER;
  *ret = nullptr;
  return item ? Make<T>(ret, item) : S_OK;
}

// A collection as clients see it: the keys and items as they were when the field was read, so a
// later change in the program neither moves nor frees what the client walks.
class ItemsObject final : public DualObject<IItems, &IID_IItems> {
 public:
  using Factory = std::function<HRESULT(IDispatch**)>;
  struct Entry {
    std::u16string key;
    Factory make;
  };
  explicit ItemsObject(std::vector<Entry> entries) : entries_(std::move(entries)) {}

  HRESULT STDMETHODCALLTYPE get_Count(long* v) override {
    return Number(v, static_cast<std::int32_t>(entries_.size()));
  }
  // By 1-based position or by key (case-blind), as the system's collections are read.
  HRESULT STDMETHODCALLTYPE Item(VARIANT index, IDispatch** ret) override {
    if (!ret) return E_POINTER;
    *ret = nullptr;
    VARIANT key;
    VariantInit(&key);
    const Entry* found = nullptr;
    if (index.vt == VT_BSTR || index.vt == (VT_BSTR | VT_BYREF)) {
      if (const HRESULT hr = ClientChange(&key, &index, 0, VT_BSTR); FAILED(hr)) return hr;
      const std::u16string wanted = LCase(FromBstr(key.bstrVal));
      for (const auto& e : entries_)
        if (!e.key.empty() && LCase(e.key) == wanted) {
          found = &e;
          break;
        }
    } else {
      if (const HRESULT hr = ClientChange(&key, &index, 0, VT_I4); FAILED(hr)) return hr;
      if (key.lVal >= 1 && static_cast<std::size_t>(key.lVal) <= entries_.size())
        found = &entries_[static_cast<std::size_t>(key.lVal) - 1];
    }
    VariantClear(&key);
    if (!found) return DISP_E_BADINDEX;
    return Guard([&] { return found->make(ret); });
  }

 private:
  std::vector<Entry> entries_;
};

// An item of a collection: the object standing for item as an IDispatch.
template <class T, class I, class P>
HRESULT Handed(IDispatch** out, const std::shared_ptr<P>& item) {
  I* object = nullptr;
  const HRESULT hr = Out<T>(&object, item);
  *out = object;
  return hr;
}

// Snapshots a keyed collection of shared objects; each item is handed out as a T.
template <class T, class I, class C>
HRESULT ItemsOut(IItems** ret, const C& collection) {
  if (!ret) return E_POINTER;
  *ret = nullptr;
  return Guard([&] {
    std::vector<ItemsObject::Entry> entries;
    for (std::size_t i = 0; i < collection.Count(); ++i) {
      auto item = *collection.ItemAt(i + 1);
      std::u16string key = collection.KeyAtIndex(i);  // empty for an unkeyed item
      entries.push_back({std::move(key), [item](IDispatch** out) { return Handed<T, I>(out, item); }});
    }
    return Make<ItemsObject>(ret, std::move(entries));
  });
}

// An automation object standing for one object of the program, which it keeps alive.
template <class I, const IID* iid, class P>
class Over : public DualObject<I, iid> {
 public:
  explicit Over(std::shared_ptr<P> object) : s_(std::move(object)) {}

 protected:
  std::shared_ptr<P> s_;
};

// Read-only fields of the program object s_ that an automation object stands for.
#define TEXT_FIELD(name) \
  HRESULT STDMETHODCALLTYPE get_##name(BSTR* v) override { return Str(v, s_->name); }
#define NUMBER_FIELD(name) \
  HRESULT STDMETHODCALLTYPE get_##name(long* v) override { return Number(v, s_->name); }
#define FLAG_FIELD(name) \
  HRESULT STDMETHODCALLTYPE get_##name(VARIANT_BOOL* v) override { return Flag(v, s_->name); }

class SrcObject final : public Over<IclsDicSrc, &IID_IclsDicSrc, clsDicSrc> {
 public:
  using Over::Over;
  NUMBER_FIELD(SrcID) NUMBER_FIELD(LangID) TEXT_FIELD(Language1) TEXT_FIELD(Language2) TEXT_FIELD(Name)
  HRESULT STDMETHODCALLTYPE get_TranscrHelp(VARIANT* v) override { return Strings(v, s_->TranscrHelp); }
};

class LinkItemObject final : public Over<IclsLinkItem, &IID_IclsLinkItem, clsLinkItem> {
 public:
  using Over::Over;
  TEXT_FIELD(Caption) TEXT_FIELD(Link) TEXT_FIELD(Prefix) NUMBER_FIELD(p1) NUMBER_FIELD(p2) FLAG_FIELD(LinkCursor)
  FLAG_FIELD(ClickSound) FLAG_FIELD(Bold) FLAG_FIELD(Italic) FLAG_FIELD(Underline) NUMBER_FIELD(Bullet)
  NUMBER_FIELD(Color) TEXT_FIELD(Font) NUMBER_FIELD(Size) NUMBER_FIELD(Dir)
};

// A loaded dictionary as clients see it. It keeps the dictionary alive, so a client holding it
// across a reload of the dictionaries reads the old one, never freed memory.
class DicObject final : public DualObject<IclsDic, &IID_IclsDic> {
 public:
  explicit DicObject(std::shared_ptr<clsDic> dic) : dic_(std::move(dic)) {}

  HRESULT STDMETHODCALLTYPE get_Name(BSTR* v) override { return Str(v, dic_->Name); }
  HRESULT STDMETHODCALLTYPE get_Enabled(VARIANT_BOOL* v) override { return Flag(v, dic_->Enabled); }
  HRESULT STDMETHODCALLTYPE get_FileTitle(BSTR* v) override { return Str(v, dic_->FileTitle); }
  HRESULT STDMETHODCALLTYPE get_path(BSTR* v) override { return Str(v, dic_->path); }
  HRESULT STDMETHODCALLTYPE get_Index(long* v) override { return Number(v, dic_->Index); }
  HRESULT STDMETHODCALLTYPE get_Words(long* v) override { return Number(v, dic_->Words); }
  HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL* v) override { return Flag(v, dic_->Visible); }
  HRESULT STDMETHODCALLTYPE get_Demo(VARIANT_BOOL* v) override { return Flag(v, dic_->Demo); }
  HRESULT STDMETHODCALLTYPE get_Lang1(BSTR* v) override { return Str(v, dic_->Lang1); }
  HRESULT STDMETHODCALLTYPE get_Lang2(BSTR* v) override { return Str(v, dic_->Lang2); }
  HRESULT STDMETHODCALLTYPE get_CharSet1(BSTR* v) override { return Str(v, dic_->CharSet1); }
  HRESULT STDMETHODCALLTYPE get_CharSet2(BSTR* v) override { return Str(v, dic_->CharSet2); }
  HRESULT STDMETHODCALLTYPE get_Unicode(VARIANT_BOOL* v) override { return Flag(v, dic_->Unicode); }
  HRESULT STDMETHODCALLTYPE get_SupportDirection(VARIANT_BOOL* v) override { return Flag(v, dic_->SupportDirection); }
  HRESULT STDMETHODCALLTYPE get_SupportRech(VARIANT_BOOL* v) override { return Flag(v, dic_->SupportRech); }
  HRESULT STDMETHODCALLTYPE get_FullDicFile(BSTR* v) override { return Str(v, dic_->FullDicFile); }
  HRESULT STDMETHODCALLTYPE GetDirStr(BSTR* ret) override {
    return Text(ret, [&] { return dic_->GetDirStr(); });
  }
  HRESULT STDMETHODCALLTYPE get_Srcs(IItems** v) override {
    if (!dic_->Srcs) return Make<ItemsObject>(v, std::vector<ItemsObject::Entry>());
    return ItemsOut<SrcObject, IclsDicSrc>(v, *dic_->Srcs);
  }
  HRESULT STDMETHODCALLTYPE get_Dicx(IclsDic** v) override;
  HRESULT STDMETHODCALLTYPE get_FullDic(IclsDic** v) override;
  HRESULT STDMETHODCALLTYPE get_Layout1(long* v) override { return Number(v, dic_->Layout1); }
  HRESULT STDMETHODCALLTYPE get_Layout2(long* v) override { return Number(v, dic_->Layout2); }
  HRESULT STDMETHODCALLTYPE get_HaveTranscrHelp(VARIANT_BOOL* v) override { return Flag(v, dic_->HaveTranscrHelp); }
  HRESULT STDMETHODCALLTYPE get_Voice1(IclsVoice** v) override;
  HRESULT STDMETHODCALLTYPE get_Voice2(IclsVoice** v) override;
  HRESULT STDMETHODCALLTYPE get_Themes(IItems** v) override;
  HRESULT STDMETHODCALLTYPE Direction(long* ret) override { return Number(ret, dic_->Direction()); }
  HRESULT STDMETHODCALLTYPE GetSrc(IclsDicSrc** ret) override {
    if (!ret) return E_POINTER;
    *ret = nullptr;
    return Guard([&] { return Out<SrcObject>(ret, dic_->GetSrc()); });
  }
  HRESULT STDMETHODCALLTYPE GetTranscrHelp(VARIANT* ret) override {
    return Guard([&] { return Strings(ret, dic_->GetTranscrHelp()); });
  }
  // Only a dictionary the program offers can become the current one: never a package that cannot
  // be read, nor one that serves behind its full package.
  HRESULT STDMETHODCALLTYPE SetEnabled(VARIANT_BOOL refr) override {
    if (!gServed || !dic_->Visible || !App().ColDics.Find(dic_->path)) return E_INVALIDARG;
    return Do([&] { dic_->SetEnabled(refr != VARIANT_FALSE); });
  }

 private:
  std::shared_ptr<clsDic> dic_;
};

HRESULT DicOut(IclsDic** ret, const std::shared_ptr<clsDic>& dic) { return Out<DicObject>(ret, dic); }

class DicLangItemObject final : public Over<IclsDicLangItem, &IID_IclsDicLangItem, clsDicLangItem> {
 public:
  using Over::Over;
  HRESULT STDMETHODCALLTYPE get_Dic(IclsDic** v) override { return DicOut(v, s_->Dic); }
  NUMBER_FIELD(Dir)
};

class DicLangObject final : public Over<IclsDicLang, &IID_IclsDicLang, clsDicLang> {
 public:
  using Over::Over;
  TEXT_FIELD(Lang)
  HRESULT STDMETHODCALLTYPE get_Dics(IItems** v) override {
    return ItemsOut<DicLangItemObject, IclsDicLangItem>(v, s_->Dics);
  }
  HRESULT STDMETHODCALLTYPE Name(BSTR* ret) override {
    return Text(ret, [&] { return s_->Name(); });
  }
  HRESULT STDMETHODCALLTYPE GetDic(long index, IclsDic** ret) override {
    return DicOut(ret, s_->GetDic(static_cast<std::int32_t>(index)));
  }
  HRESULT STDMETHODCALLTYPE GetDir(long index, long* ret) override {
    return Number(ret, s_->GetDir(static_cast<std::int32_t>(index)));
  }
};

class UndoItemObject final : public Over<IclsUndoItem, &IID_IclsUndoItem, clsUndoItem> {
 public:
  using Over::Over;
  TEXT_FIELD(Mode) TEXT_FIELD(Data)
};

// The history is the program's own; Back and Redo replay a view in the main window as its
// toolbar buttons do.
class UndoObject final : public Over<IclsUndo, &IID_IclsUndo, clsUndo> {
 public:
  using Over::Over;
  HRESULT STDMETHODCALLTYPE get_UndoCol(IItems** v) override {
    if (!v) return E_POINTER;
    *v = nullptr;
    return Guard([&] {
      std::vector<ItemsObject::Entry> entries;
      for (const auto& item : s_->UndoCol)
        entries.push_back({std::u16string(), [item](IDispatch** out) {
                             return Handed<UndoItemObject, IclsUndoItem>(out, item);
                           }});
      return Make<ItemsObject>(v, std::move(entries));
    });
  }
  NUMBER_FIELD(UndoPos)
  HRESULT STDMETHODCALLTYPE Back() override { return Do([&] { s_->Back(); }); }
  HRESULT STDMETHODCALLTYPE Redo() override { return Do([&] { s_->Redo(); }); }
};

class VoiceObject final : public Over<IclsVoice, &IID_IclsVoice, clsVoice> {
 public:
  using Over::Over;
  TEXT_FIELD(Name) NUMBER_FIELD(Spd) NUMBER_FIELD(Vol) NUMBER_FIELD(Index) TEXT_FIELD(Lang) TEXT_FIELD(ID)
  NUMBER_FIELD(Ver) FLAG_FIELD(Default) NUMBER_FIELD(EngineIndex)
};

class ThemeObject final : public Over<IclsTheme, &IID_IclsTheme, clsTheme> {
 public:
  using Over::Over;
  NUMBER_FIELD(ID) TEXT_FIELD(Name) TEXT_FIELD(Short)
};

HRESULT DicObject::get_Dicx(IclsDic** v) { return DicOut(v, dic_->Dicx); }
HRESULT DicObject::get_FullDic(IclsDic** v) { return DicOut(v, dic_->FullDic.lock()); }
HRESULT DicObject::get_Voice1(IclsVoice** v) { return Out<VoiceObject>(v, dic_->Voice1); }
HRESULT DicObject::get_Voice2(IclsVoice** v) { return Out<VoiceObject>(v, dic_->Voice2); }
HRESULT DicObject::get_Themes(IItems** v) { return ItemsOut<ThemeObject, IclsTheme>(v, *dic_->Themes); }

// The result tree, level by level; every object keeps its part of the tree alive, so a later look-up
// (which makes a new tree) leaves what a client walks as it was.
class TranslateItemObject final : public Over<ITranslateItem, &IID_ITranslateItem, TranslateItem> {
 public:
  using Over::Over;
  TEXT_FIELD(Text) NUMBER_FIELD(Dir)
};

class CommItemObject final : public Over<IclsCommItem, &IID_IclsCommItem, clsCommItem> {
 public:
  using Over::Over;
  HRESULT STDMETHODCALLTYPE get_TransSet(IItems** v) override {
    return ItemsOut<TranslateItemObject, ITranslateItem>(v, s_->TransSet);
  }
  TEXT_FIELD(Comment)
};

class ThemeItemObject final : public Over<IThemeItem, &IID_IThemeItem, ThemeItem> {
 public:
  using Over::Over;
  HRESULT STDMETHODCALLTYPE get_CommSet(IItems** v) override {
    return ItemsOut<CommItemObject, IclsCommItem>(v, s_->CommSet);
  }
  TEXT_FIELD(Key) TEXT_FIELD(StrThemes)
};

class RechSetObject final : public Over<IclsRechSet, &IID_IclsRechSet, clsRechSet> {
 public:
  using Over::Over;
  NUMBER_FIELD(ID)
  HRESULT STDMETHODCALLTYPE get_ThemeSet(IItems** v) override {
    return ItemsOut<ThemeItemObject, IThemeItem>(v, s_->ThemeSet);
  }
};

class TranslationSetObject final : public Over<ITranslationSet, &IID_ITranslationSet, TranslationSet> {
 public:
  using Over::Over;
  TEXT_FIELD(Word)
  HRESULT STDMETHODCALLTYPE get_RechSet(IItems** v) override {
    return ItemsOut<RechSetObject, IclsRechSet>(v, s_->RechSet);
  }
  FLAG_FIELD(ShortTrans) FLAG_FIELD(UseExtTrans) FLAG_FIELD(IsTranslated) TEXT_FIELD(Transcription)
  TEXT_FIELD(TransString) TEXT_FIELD(SpeakString) NUMBER_FIELD(WordW) NUMBER_FIELD(WordH) NUMBER_FIELD(TransH)
  NUMBER_FIELD(TransW) NUMBER_FIELD(TranscrH) NUMBER_FIELD(TranscrW) NUMBER_FIELD(WordDir) NUMBER_FIELD(TransDir)
};

class StatItemObject final : public Over<IclsStatItem, &IID_IclsStatItem, clsStatItem> {
 public:
  using Over::Over;
  TEXT_FIELD(Word) NUMBER_FIELD(Mass) NUMBER_FIELD(Rmass)
};

// A list of statistics words as a collection, each word as it was when the list was read.
HRESULT StatItemsOut(IItems** ret, const std::vector<std::shared_ptr<clsStatItem>>& items) {
  if (!ret) return E_POINTER;
  *ret = nullptr;
  return Guard([&] {
    std::vector<ItemsObject::Entry> entries;
    for (const auto& item : items) {
      auto copy = std::make_shared<clsStatItem>(*item);
      entries.push_back({item->Word, [copy](IDispatch** out) { return Handed<StatItemObject, IclsStatItem>(out, copy); }});
    }
    return Make<ItemsObject>(ret, std::move(entries));
  });
}

class StatObject final : public Over<IclsStat, &IID_IclsStat, clsStat> {
 public:
  using Over::Over;
  TEXT_FIELD(Folder)
  HRESULT STDMETHODCALLTYPE get_Items(IItems** v) override { return StatItemsOut(v, s_->Items()); }
  HRESULT STDMETHODCALLTYPE get_Changed(VARIANT_BOOL* v) override { return Flag(v, s_->Changed()); }
  HRESULT STDMETHODCALLTYPE MostFrequent(long n, IItems** ret) override {
    return Guard([&] { return StatItemsOut(ret, s_->MostFrequent(static_cast<std::int32_t>(n))); });
  }
  HRESULT STDMETHODCALLTYPE Last(long n, IItems** ret) override {
    return Guard([&] { return StatItemsOut(ret, s_->Last(static_cast<std::int32_t>(n))); });
  }
};

// The settings as the program holds them now; clients read, the settings window writes.
class SettingObject final : public Over<ISetting, &IID_ISetting, Setting> {
 public:
  using Over::Over;
  TEXT_FIELD(AppFolder) TEXT_FIELD(DicPath) FLAG_FIELD(AutoOn) TEXT_FIELD(site) TEXT_FIELD(Email)
  NUMBER_FIELD(ShowPctShow) NUMBER_FIELD(Gray) NUMBER_FIELD(BottomH) NUMBER_FIELD(Border) NUMBER_FIELD(DeltaW)
  NUMBER_FIELD(DeltaH) FLAG_FIELD(SilentStart) NUMBER_FIELD(MinW) NUMBER_FIELD(MinH) FLAG_FIELD(BackTransOpen)
  TEXT_FIELD(TextLink) TEXT_FIELD(InjExclude) FLAG_FIELD(Aero) FLAG_FIELD(TraceControls) FLAG_FIELD(Restore)
  FLAG_FIELD(AutoRun) FLAG_FIELD(SmartClick) FLAG_FIELD(ShowComment) FLAG_FIELD(AutoStart) FLAG_FIELD(TopMost)
  FLAG_FIELD(SysTray) NUMBER_FIELD(OldHotKey) FLAG_FIELD(HotKeyDouble) NUMBER_FIELD(HotKeyShift)
  NUMBER_FIELD(HotKeyCode) NUMBER_FIELD(TrlMode) FLAG_FIELD(TTHide) FLAG_FIELD(ShowNoTrans) FLAG_FIELD(NoDirForType)
  FLAG_FIELD(ShowTranscript) TEXT_FIELD(ExtTransString) NUMBER_FIELD(CurLang) FLAG_FIELD(TrlSound)
  FLAG_FIELD(ClickSnd) FLAG_FIELD(SysTrayKeyb) FLAG_FIELD(ShowTooltips) FLAG_FIELD(GlbAllowShort)
  FLAG_FIELD(TransByCtrl) FLAG_FIELD(TransByShift) FLAG_FIELD(TransByAlt) FLAG_FIELD(TransByPoint)
  FLAG_FIELD(TransByClick) FLAG_FIELD(TransByDblClick) FLAG_FIELD(TransBySelect) NUMBER_FIELD(TransKeyAction)
  NUMBER_FIELD(LrnTransp) NUMBER_FIELD(LrnFontSize) NUMBER_FIELD(LrnSource) TEXT_FIELD(LrnFont) NUMBER_FIELD(LrnInt)
  NUMBER_FIELD(LrnBC) NUMBER_FIELD(LrnFC) NUMBER_FIELD(LrnNL) NUMBER_FIELD(LrnNM) FLAG_FIELD(LrnBold)
  FLAG_FIELD(LrnItalic) FLAG_FIELD(LrnRandom) FLAG_FIELD(LrnDir1) FLAG_FIELD(LrnDir2) FLAG_FIELD(LrnFirst)
  FLAG_FIELD(LrnTop) FLAG_FIELD(LrnTR) FLAG_FIELD(LrnShow) FLAG_FIELD(LrnSimpleWord) FLAG_FIELD(SpkLearner)
  FLAG_FIELD(SpkTrans) FLAG_FIELD(SpkTransWord) FLAG_FIELD(SpkHideTrans) FLAG_FIELD(SpkClip) FLAG_FIELD(SpkPage)
  FLAG_FIELD(SpkSel) NUMBER_FIELD(HintBG) NUMBER_FIELD(HintBrd) NUMBER_FIELD(Buttons)
  HRESULT STDMETHODCALLTYPE get_DefTransLink(IclsLinkItem** v) override {
    return Out<LinkItemObject>(v, s_->DefTransLink);
  }
  HRESULT STDMETHODCALLTYPE get_LrnDic(IclsDic** v) override { return DicOut(v, s_->LrnDic); }
};

// The result of the last look-up; a client holding it across a later look-up reads the old one.
class WordSetObject final : public Over<IWordSet, &IID_IWordSet, WordSet> {
 public:
  using Over::Over;
  HRESULT STDMETHODCALLTYPE get_Words(IItems** v) override {
    return ItemsOut<TranslationSetObject, ITranslationSet>(v, s_->Words);
  }
  TEXT_FIELD(InString) NUMBER_FIELD(RetIndex) TEXT_FIELD(RetString) FLAG_FIELD(IsTrans) FLAG_FIELD(UseExtTrans)
  TEXT_FIELD(Translation) NUMBER_FIELD(CheckDir) FLAG_FIELD(ExtTrans) FLAG_FIELD(OnForm)
};

// ColDics: read when asked, so a client always sees the dictionaries loaded now.
// An object that reaches the application object: no call gets through once it is withdrawn.
template <class I, const IID* iid>
class ServedObject : public DualObject<I, iid> {
 public:
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* excep, UINT* argErr) override {
    if (!gServed) return CO_E_SERVER_STOPPING;
    return DualObject<I, iid>::Invoke(id, riid, lcid, flags, params, result, excep, argErr);
  }
};

class DicsObject final : public ServedObject<IDics, &IID_IDics> {
 public:
  DicsObject() { gDics.push_back(this); }
  ~DicsObject() override { gDics.erase(std::find(gDics.begin(), gDics.end(), this)); }
  HRESULT STDMETHODCALLTYPE get_Count(long* v) override {
    return Number(v, static_cast<std::int32_t>(App().ColDics.Count()));
  }
  // By 1-based position or by key (the package's path), as the system's collections are read.
  HRESULT STDMETHODCALLTYPE Item(VARIANT index, IclsDic** ret) override {
    if (!ret) return E_POINTER;
    *ret = nullptr;
    VARIANT key;
    VariantInit(&key);
    const std::shared_ptr<clsDic>* found = nullptr;
    if (index.vt == VT_BSTR || index.vt == (VT_BSTR | VT_BYREF)) {
      if (const HRESULT hr = ClientChange(&key, &index, 0, VT_BSTR); FAILED(hr)) return hr;
      found = App().ColDics.Find(FromBstr(key.bstrVal));
    } else {
      if (const HRESULT hr = ClientChange(&key, &index, 0, VT_I4); FAILED(hr)) return hr;
      if (key.lVal >= 1) found = App().ColDics.ItemAt(static_cast<std::size_t>(key.lVal));
    }
    VariantClear(&key);
    if (!found || !*found) return DISP_E_BADINDEX;
    return DicOut(ret, *found);
  }
};

// The one application object every client gets.
class ApplObject final : public ServedObject<IAppl, &IID_IAppl> {
 public:
  ApplObject() = default;
  // Fields
  HRESULT STDMETHODCALLTYPE get_PlugIn(IDispatch** value) override;
  HRESULT STDMETHODCALLTYPE get_Hint(IDispatch** value) override;
  HRESULT STDMETHODCALLTYPE get_ByteFileN(long* v) override { return Number(v, App().ByteFileN); }
  HRESULT STDMETHODCALLTYPE get_ByteFileLen(long* v) override { return Number(v, App().ByteFileLen); }
  HRESULT STDMETHODCALLTYPE get_Languages(VARIANT* value) override {
    if (!value) return E_POINTER;
    VariantInit(value);
    return Guard([&]() -> HRESULT {
      SAFEARRAY* list = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(App().Languages.size()));
      if (!list) return E_OUTOFMEMORY;
      for (LONG i = 0; i < static_cast<LONG>(App().Languages.size()); ++i) {
        VARIANT item;
        VariantInit(&item);
        item.vt = VT_BSTR;
        item.bstrVal = ToBstr(App().Languages[static_cast<std::size_t>(i)]);
        SafeArrayPutElement(list, &i, &item);
        VariantClear(&item);
      }
      value->vt = VT_ARRAY | VT_VARIANT;
      value->parray = list;
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_Dic(IclsDic** v) override { return DicOut(v, App().Dic); }
  HRESULT STDMETHODCALLTYPE get_ColDics(IDics** v) override {
    if (!v) return E_POINTER;
    *v = nullptr;
    return Guard([&] {
      *v = new DicsObject();
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_Sett(ISetting** v) override { return Out<SettingObject>(v, App().Sett); }
  HRESULT STDMETHODCALLTYPE get_WordSet(IWordSet** v) override { return Out<WordSetObject>(v, App().WordSet); }
  HRESULT STDMETHODCALLTYPE get_Undo(IclsUndo** v) override {
    if (!v) return E_POINTER;
    *v = nullptr;
    return Guard([&] {
      App().History();
      return Make<UndoObject>(v, App().Undo);
    });
  }
  HRESULT STDMETHODCALLTYPE get_Voices(IItems** v) override {
    return ItemsOut<VoiceObject, IclsVoice>(v, App().Voices);
  }
  HRESULT STDMETHODCALLTYPE get_DicLanguages(IItems** v) override {
    return ItemsOut<DicLangObject, IclsDicLang>(v, App().DicLanguages);
  }
  HRESULT STDMETHODCALLTYPE get_DefVoice(IclsVoice** v) override { return Out<VoiceObject>(v, App().DefVoice); }
  HRESULT STDMETHODCALLTYPE get_OutPutMode(long* v) override { return Number(v, App().OutPutMode); }
  HRESULT STDMETHODCALLTYPE put_OutPutMode(long v) override {
    App().OutPutMode = v;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_SAPIEnabled(VARIANT_BOOL* v) override { return Flag(v, App().SAPIEnabled); }
  HRESULT STDMETHODCALLTYPE get_SAPIVoices(long* v) override { return Number(v, App().SAPIVoices); }
  HRESULT STDMETHODCALLTYPE get_SAPIWork(VARIANT_BOOL* v) override { return Flag(v, App().SAPIWork); }
  HRESULT STDMETHODCALLTYPE get_IsTextInClip(VARIANT_BOOL* v) override { return Flag(v, App().IsTextInClip); }
  HRESULT STDMETHODCALLTYPE get_IsWindowsNT(VARIANT_BOOL* v) override { return Flag(v, App().IsWindowsNT); }
  HRESULT STDMETHODCALLTYPE get_stat(IclsStat** v) override {
    if (!v) return E_POINTER;
    *v = nullptr;
    return Guard([&] {
      App().Stat();  // made on first use
      return Out<StatObject>(v, App().stat);
    });
  }

  // Look-ups
  HRESULT STDMETHODCALLTYPE LZ(long n, BSTR* ret) override {
    return Text(ret, [&] { return App().LZ(static_cast<std::int32_t>(n)); });
  }
  HRESULT STDMETHODCALLTYPE GetTranslate(BSTR text, BSTR* ret) override {
    return Text(ret, [&] {
      std::u16string rettext;
      App().GetTranslate(ClientText(text), rettext);
      return rettext;
    });
  }
  HRESULT STDMETHODCALLTYPE GetSimpleTrans(BSTR text, BSTR* ret) override {
    return Text(ret, [&] { return App().GetSimpleTrans(ClientText(text)); });
  }
  HRESULT STDMETHODCALLTYPE Translate(BSTR word, VARIANT_BOOL exact, BSTR* ret) override {
    return Text(ret, [&] { return App().Translate(ClientText(word), exact != VARIANT_FALSE); });
  }
  HRESULT STDMETHODCALLTYPE GetTranscript(BSTR word, BSTR* ret) override {
    return Text(ret, [&] { return App().GetTranscript(ClientText(word)); });
  }
  HRESULT STDMETHODCALLTYPE GetTextLang(BSTR text, BSTR* ret) override {
    return Text(ret, [&] { return App().GetTextLang(ClientText(text)); });
  }

  // The main window
  HRESULT STDMETHODCALLTYPE Info(VARIANT text, VARIANT_BOOL autoHide) override {
    VARIANT s;
    VariantInit(&s);
    if (const HRESULT hr = ClientChange(&s, &text, 0, VT_BSTR); FAILED(hr)) return hr;
    const HRESULT hr = Do([&] { App().Info(ClientText(s.bstrVal), autoHide != VARIANT_FALSE); });
    VariantClear(&s);
    return hr;
  }
  HRESULT STDMETHODCALLTYPE InfoClear() override { return Do([&] { App().InfoClear(); }); }
  HRESULT STDMETHODCALLTYPE ClearBuffer() override { return Do([&] { App().ClearBuffer(); }); }
  HRESULT STDMETHODCALLTYPE SetInput(BSTR text, VARIANT_BOOL noList) override {
    return Do([&] { App().SetInput(ClientText(text), noList != VARIANT_FALSE); });
  }
  HRESULT STDMETHODCALLTYPE GetInput(BSTR* ret) override {
    return Text(ret, [&] { return App().GetInput(); });
  }
  HRESULT STDMETHODCALLTYPE SetOutPut(BSTR text, long mode, VARIANT_BOOL focus) override {
    return Do([&] { App().SetOutPut(ClientOutput(text), static_cast<std::int32_t>(mode), focus != VARIANT_FALSE); });
  }
  HRESULT STDMETHODCALLTYPE ShowModeMessage() override { return Do([&] { App().ShowModeMessage(); }); }
  HRESULT STDMETHODCALLTYPE OpenBackTrans() override { return Do([&] { App().OpenBackTrans(); }); }
  HRESULT STDMETHODCALLTYPE CloseBackTrans() override { return Do([&] { App().CloseBackTrans(); }); }
  HRESULT STDMETHODCALLTYPE ShowBackTrans(BSTR txt, VARIANT_BOOL caption) override {
    return Do([&] { App().ShowBackTrans(ClientOutput(txt), caption != VARIANT_FALSE); });
  }
  HRESULT STDMETHODCALLTYPE ClearBackTrans() override { return Do([&] { App().ClearBackTrans(); }); }
  HRESULT STDMETHODCALLTYPE ShowMe(VARIANT_BOOL focus) override {
    return Do([&] { App().ShowMe(focus != VARIANT_FALSE); });
  }
  HRESULT STDMETHODCALLTYPE HideMe() override { return Do([&] { App().HideMe(); }); }
  HRESULT STDMETHODCALLTYPE SetAutoMode(VARIANT_BOOL enable, VARIANT_BOOL showTT) override {
    return Do([&] { App().SetAutoMode(enable != VARIANT_FALSE, showTT != VARIANT_FALSE); });
  }
  HRESULT STDMETHODCALLTYPE ShowList(BSTR text) override { return Do([&] { App().ShowList(ClientText(text)); }); }
  HRESULT STDMETHODCALLTYPE ShowAllList(BSTR text) override {
    return Do([&] { App().ShowAllList(ClientText(text)); });
  }
  HRESULT STDMETHODCALLTYPE ShowABC(VARIANT lit) override {
    VARIANT s;
    VariantInit(&s);
    const bool absent = lit.vt == VT_ERROR && lit.scode == DISP_E_PARAMNOTFOUND;
    if (const HRESULT hr = absent ? S_OK : ClientChange(&s, &lit, 0, VT_BSTR); FAILED(hr)) return hr;
    const HRESULT hr = Do([&] { App().ShowABC(absent ? std::u16string() : ClientText(s.bstrVal)); });
    VariantClear(&s);
    return hr;
  }
  HRESULT STDMETHODCALLTYPE GetClipboard(BSTR* ret) override {
    return Text(ret, [&] { return App().GetClipboard(); });
  }
  HRESULT STDMETHODCALLTYPE CopyText(BSTR text, VARIANT_BOOL show) override {
    return Do([&] { App().CopyText(FromBstr(text), show != VARIANT_FALSE); });
  }

  HRESULT STDMETHODCALLTYPE CopyTrans() override { return Do([&] { App().CopyTrans(); }); }
  HRESULT STDMETHODCALLTYPE ShowTrans(BSTR text, VARIANT_BOOL onForm) override {
    return Do([&] {
      ShowTransArgs args;
      args.OnForm = onForm != VARIANT_FALSE;
      App().ShowTrans(ClientText(text), args);
    });
  }
  HRESULT STDMETHODCALLTYPE ShowAbout() override { return Do([&] { App().ShowAbout(); }); }
  HRESULT STDMETHODCALLTYPE ShowHelp(BSTR topic) override { return Do([&] { App().ShowHelp(ClientText(topic)); }); }
  HRESULT STDMETHODCALLTYPE GetWordTrans(BSTR word, VARIANT_BOOL random, VARIANT* ret) override {
    return Guard([&] { return Strings(ret, App().GetWordTrans(ClientText(word), nullptr, random != VARIANT_FALSE)); });
  }
  HRESULT STDMETHODCALLTYPE WordExist(BSTR word, VARIANT_BOOL* ret) override {
    if (!ret) return E_POINTER;
    *ret = VARIANT_FALSE;
    return Guard([&] {
      const std::shared_ptr<clsDic> dic = App().Dic;
      *ret = VBool(dic && App().WordExist(ClientText(word), *dic));
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE ShowLit(BSTR lit) override { return Do([&] { App().ShowLit(ClientText(lit)); }); }
  HRESULT STDMETHODCALLTYPE GetHash(BSTR text, double* ret) override {
    if (!ret) return E_POINTER;
    *ret = 0;
    return Guard([&] {
      *ret = App().GetHash(ClientText(text));
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE getWordX(BSTR w, double* ret) override {
    if (!ret) return E_POINTER;
    *ret = 0;
    return Guard([&] {
      *ret = App().getWordX(ClientText(w));
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE CheckDirection(BSTR t, VARIANT_BOOL* ret) override {
    if (!ret) return E_POINTER;
    *ret = VARIANT_FALSE;
    return Guard([&] {
      *ret = VBool(App().CheckDirection(ClientText(t)));
      return S_OK;
    });
  }

  // Speech, the on-screen keyboard, learning cards and statistics
  HRESULT STDMETHODCALLTYPE SpeakText(BSTR t) override {
    return Do([&] { App().SpeakText(ClientOutput(t), App().Dic); });
  }
  HRESULT STDMETHODCALLTYPE StopSpeak() override { return Do([&] { App().StopSpeak(); }); }
  HRESULT STDMETHODCALLTYPE SpeakSrc(BSTR text, long dir) override {
    return Do([&] { App().SpeakSrc(ClientOutput(text), static_cast<std::int32_t>(dir)); });
  }
  HRESULT STDMETHODCALLTYPE IsSpeaking(VARIANT_BOOL* ret) override {
    if (!ret) return E_POINTER;
    *ret = VARIANT_FALSE;
    return Guard([&] {
      *ret = VBool(App().IsSpeaking());
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE ShowKeyb(VARIANT_BOOL dock) override {
    return Do([&] { App().ShowKeyb(dock != VARIANT_FALSE); });
  }
  HRESULT STDMETHODCALLTYPE HideKeyb() override { return Do([&] { App().HideKeyb(); }); }
  HRESULT STDMETHODCALLTYPE StartLearn() override { return Do([&] { App().StartLearn(); }); }
  HRESULT STDMETHODCALLTYPE ShowStat(VARIANT_BOOL mostFrequently) override {
    return Do([&] { App().ShowStat(mostFrequently != VARIANT_FALSE); });
  }

  // The plug-in host
  HRESULT STDMETHODCALLTYPE SendEvent(BSTR name, VARIANT a1, VARIANT a2, VARIANT a3, VARIANT a4, VARIANT a5,
                                      VARIANT a6, VARIANT a7, VARIANT a8, VARIANT_BOOL* handled) override {
    if (!handled) return E_POINTER;
    *handled = VARIANT_FALSE;
    return Guard([&] {
      // Every argument reaches the plug-in as the client gave it; only the ones the client left
      // out at the end are not passed on.
      std::vector<EventArg> args;
      for (VARIANT* a : {&a1, &a2, &a3, &a4, &a5, &a6, &a7, &a8}) {
        auto value = std::make_shared<VariantValue>();
        if (FAILED(VariantCopy(&value->v, a))) return E_OUTOFMEMORY;
        args.emplace_back(std::shared_ptr<const ClientValue>(std::move(value)));
      }
      while (!args.empty() && IsAbsent(static_cast<const VariantValue&>(*std::get<3>(args.back())).v)) args.pop_back();
      *handled = VBool(App().SendEvent(FromBstr(name), args));
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE PlugInInit() override { return Do([&] { App().PlugInInit(); }); }
  HRESULT STDMETHODCALLTYPE PlugInUnload() override { return Do([&] { App().PlugInUnload(); }); }
};

// IUnknown of an object I (whose id is iid) that lives as long as the process.
template <class I, const IID* iid>
class Lasting : public I {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != *iid) return E_NOINTERFACE;
    *ppv = static_cast<I*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

class ApplFactory final : public Lasting<IClassFactory, &IID_IClassFactory> {
 public:
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

ApplObject* gObject = nullptr;
ApplFactory gFactory;
DWORD gCookie = 0;

HRESULT ApplFactory::CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  if (!gObject) return CO_E_SERVER_STOPPING;
  return gObject->QueryInterface(riid, ppv);
}

// A plug-in reached only through IDispatch: every member is looked up by name on each call, and
// any failure (no such member, a raised error, a wrong result type) reads as a failed call.
// An event argument as the plug-in gets it: a client's value unchanged, the program's own as text or
// a number (a whole number beyond 32 bits as a double), an absent one as a missing argument.
void ToVariant(const EventArg& arg, VARIANT& out) {
  if (const auto* text = std::get_if<std::u16string>(&arg)) {
    out.vt = VT_BSTR;
    out.bstrVal = ToBstr(*text);
  } else if (const auto* n = std::get_if<std::int64_t>(&arg)) {
    if (*n >= INT32_MIN && *n <= INT32_MAX) {
      out.vt = VT_I4;
      out.lVal = static_cast<LONG>(*n);
    } else {
      out.vt = VT_R8;
      out.dblVal = static_cast<double>(*n);
    }
  } else if (const auto* given = std::get_if<std::shared_ptr<const ClientValue>>(&arg);
             given && *given && dynamic_cast<const VariantValue*>(given->get())) {
    VariantCopy(&out, const_cast<VARIANT*>(&static_cast<const VariantValue&>(**given).v));
  } else {
    out.vt = VT_ERROR;
    out.scode = DISP_E_PARAMNOTFOUND;
  }
}

class DispatchPlugIn final : public PlugInObject {
 public:
  explicit DispatchPlugIn(IDispatch* object) : object_(object) {}
  ~DispatchPlugIn() override { object_->Release(); }
  DispatchPlugIn(const DispatchPlugIn&) = delete;
  DispatchPlugIn& operator=(const DispatchPlugIn&) = delete;

  IDispatch* Object() const { return object_; }

  std::optional<bool> Loaded() override {
    return ResultFlag(L"Loaded", DISPATCH_PROPERTYGET | DISPATCH_METHOD, nullptr, 0);
  }
  void SetParlavent(Appl*) override {
    if (!gObject) return;
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_DISPATCH;
    arg.pdispVal = static_cast<IDispatch*>(gObject);
    if (!Call(L"Parlavent", DISPATCH_PROPERTYPUTREF, &arg, 1, nullptr))
      Call(L"Parlavent", DISPATCH_PROPERTYPUT, &arg, 1, nullptr);
  }
  void Init() override { Call(L"Init", DISPATCH_METHOD, nullptr, 0, nullptr); }
  std::optional<bool> EventHandler(std::u16string_view name, const std::vector<EventArg>& args) override {
    const std::size_t count = 1 + std::min<std::size_t>(args.size(), 8);
    // DISPPARAMS holds the arguments last first.
    std::vector<VARIANT> list(count);
    for (auto& v : list) VariantInit(&v);
    list[count - 1].vt = VT_BSTR;
    list[count - 1].bstrVal = ToBstr(name);
    for (std::size_t i = 1; i < count; ++i) ToVariant(args[i - 1], list[count - 1 - i]);
    const auto result = ResultFlag(L"EventHandler", DISPATCH_METHOD, list.data(), static_cast<UINT>(count));
    for (auto& v : list) VariantClear(&v);
    return result;
  }
  void setplugin(PlugInObject* skin) override {
    auto* other = dynamic_cast<DispatchPlugIn*>(skin);
    if (!other) return;
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_DISPATCH;
    arg.pdispVal = other->Object();
    Call(L"setplugin", DISPATCH_METHOD, &arg, 1, nullptr);
  }
  void Unload() override { Call(L"Unload", DISPATCH_METHOD, nullptr, 0, nullptr); }

 private:
  bool Call(const wchar_t* member, WORD flags, VARIANT* args, UINT count, VARIANT* result) {
    const Outgoing call;
    if (!call.allowed) return false;
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR name = const_cast<LPOLESTR>(member);
    if (FAILED(object_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id))) return false;
    DISPID put = DISPID_PROPERTYPUT;
    const bool isPut = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    DISPPARAMS params{args, isPut ? &put : nullptr, count, isPut ? 1u : 0u};
    EXCEPINFO excep{};
    UINT argErr = 0;
    const HRESULT hr = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &excep, &argErr);
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrHelpFile);
    return SUCCEEDED(hr);
  }
  std::optional<bool> ResultFlag(const wchar_t* member, WORD flags, VARIANT* args, UINT count) {
    VARIANT result;
    VariantInit(&result);
    if (!Call(member, flags, args, count, &result)) return std::nullopt;
    VARIANT b;
    VariantInit(&b);
    std::optional<bool> value;
    if (SUCCEEDED(ClientChange(&b, &result, 0, VT_BOOL))) value = b.boolVal != VARIANT_FALSE;
    VariantClear(&result);
    return value;
  }

  IDispatch* object_;
};

HRESULT ApplObject::get_PlugIn(IDispatch** value) {
  if (!value) return E_POINTER;
  auto* plugIn = dynamic_cast<DispatchPlugIn*>(App().PlugIn.get());
  *value = plugIn ? plugIn->Object() : nullptr;
  if (*value) (*value)->AddRef();
  return S_OK;
}

HRESULT ApplObject::get_Hint(IDispatch** value) {
  if (!value) return E_POINTER;
  auto* hint = dynamic_cast<DispatchPlugIn*>(App().Hint.get());
  *value = hint ? hint->Object() : nullptr;
  if (*value) (*value)->AddRef();
  return S_OK;
}

ITypeLib* LoadOwnTypeLib() {
  ITypeLib* lib = nullptr;
  const std::wstring path = ProgramPath();
  if (path.empty() || FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &lib))) return nullptr;
  return lib;
}

// Writes the entries below root; false at the first value that cannot be written.
bool WriteEntries(HKEY root, const std::vector<RegistryEntry>& entries) {
  for (const auto& e : entries) {
    const std::wstring key = Wide(e.key), name = Wide(e.valueName), value = Wide(e.value);
    if (RegSetKeyValueW(root, key.c_str(), name.empty() ? nullptr : name.c_str(), REG_SZ, value.c_str(),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
      return false;
  }
  return true;
}

bool DeleteKeys(HKEY root) {
  bool ok = true;
  for (const auto& key : AutomationRegistryKeys(GuidText(CLSID_Appl))) {
    const LSTATUS rc = RegDeleteTreeW(root, Wide(key).c_str());
    ok &= rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
  }
  return ok;
}

using TypeLibRegistrar = HRESULT(WINAPI*)(ITypeLib*, OLECHAR*, OLECHAR*);
using TypeLibRemover = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);

template <class F>
F OleAutFunction(const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"oleaut32.dll"), name)));
}

#ifdef _WIN64
constexpr SYSKIND kSysKind = SYS_WIN64;
#else
constexpr SYSKIND kSysKind = SYS_WIN32;
#endif

// Tells whoever started "/regserver" or "/unregserver" what was done: on its standard output when
// it gave one, else on its console.
void Say(std::u16string_view line) {
  std::wstring text = Wide(line) + L"\r\n";
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (!out || out == INVALID_HANDLE_VALUE) {
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (!out || out == INVALID_HANDLE_VALUE) return;
  }
  DWORD written = 0;
  if (WriteConsoleW(out, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr)) return;
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
  WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// For the machine when this user may write there (every client on the system finds it, Wine's
// look-up included), else for this user alone (Windows lays the user's classes over the machine's).
bool Register() {
  const std::wstring path = ProgramPath();
  if (path.empty()) return false;
  ITypeLib* lib = LoadOwnTypeLib();
  if (!lib) return false;
  const auto entries = AutomationRegistryEntries(std::u16string(path.begin(), path.end()), GuidText(CLSID_Appl),
                                                 GuidText(LIBID_Parlavent));
  // The type library lets early-bound clients marshal the dual interface itself.
  bool machine = WriteEntries(HKEY_LOCAL_MACHINE, entries) &&
                 SUCCEEDED(RegisterTypeLib(lib, const_cast<wchar_t*>(path.c_str()), nullptr));
  bool ok = machine;
  if (!machine) {
    DeleteKeys(HKEY_LOCAL_MACHINE);  // whatever part of it was written
    const auto forUser = OleAutFunction<TypeLibRegistrar>("RegisterTypeLibForUser");
    ok = WriteEntries(HKEY_CURRENT_USER, entries) && forUser &&
         SUCCEEDED(forUser(lib, const_cast<wchar_t*>(path.c_str()), nullptr));
  }
  lib->Release();
  if (!ok) {
    Say(u"Parlavent.Appl could not be registered.");
  } else if (machine) {
    Say(u"Parlavent.Appl registered for all users (HKEY_LOCAL_MACHINE\\Software\\Classes).");
  } else {
    Say(u"Parlavent.Appl registered for the current user (HKEY_CURRENT_USER\\Software\\Classes).");
  }
  return ok;
}

// Removes the registration wherever "/regserver" may have written it.
bool Unregister() {
  bool ok = DeleteKeys(HKEY_LOCAL_MACHINE);
  ok &= DeleteKeys(HKEY_CURRENT_USER);
  // Each removal only while the system still finds the library: Wine answers a removal of a library
  // that is not there with an error.
  const auto registered = [] {
    BSTR path = nullptr;
    const bool found = SUCCEEDED(QueryPathOfRegTypeLib(LIBID_Parlavent, 1, 0, LOCALE_NEUTRAL, &path));
    SysFreeString(path);
    return found;
  };
  const auto accepted = [](HRESULT hr) { return SUCCEEDED(hr) || hr == TYPE_E_REGISTRYACCESS; };
  if (registered()) ok &= accepted(UnRegisterTypeLib(LIBID_Parlavent, 1, 0, LOCALE_NEUTRAL, kSysKind));
  const auto forUser = OleAutFunction<TypeLibRemover>("UnRegisterTypeLibForUser");
  if (forUser && registered()) ok &= accepted(forUser(LIBID_Parlavent, 1, 0, LOCALE_NEUTRAL, kSysKind));
  Say(ok ? u"Parlavent.Appl unregistered." : u"Parlavent.Appl could not be unregistered completely.");
  return ok;
}

// Incoming calls reach the program as messages to COM's window of this thread. They wait until
// start-up is over, and after that only while the program runs messages from inside its own work
// (RunWaitingMessages: a look-up, a list fill, a replay, a save), whatever message, timer or key
// started that work, so a call never sees it half done; and even then not while the program
// itself waits on an outgoing call, whose callee may call back. Menus, dialogs and message boxes
// wait for the user, not in the middle of work: calls run while they are open. A call held longer
// than kHoldLimitMs runs anyway (a menu or dialog opened from inside the work is the one way to
// keep the work open that long); one held that long in start-up (a message box of start-up waits
// for the user) is turned away instead, so no client waits more than 10 s for its answer.
constexpr DWORD kHoldLimitMs = 8000;
constexpr UINT kReleaseTickMs = 100;
HHOOK gCallHook = nullptr;
HWND gComWindow = nullptr;
struct HeldCall {
  MSG msg;
  DWORD since;
};
std::vector<HeldCall> gHeld;
UINT_PTR gReleaseTimer = 0;

bool IsComWindow(HWND w) {
  if (!w) return false;
  if (w == gComWindow) return true;
  static constexpr wchar_t kComClass[] = L"OleMainThreadWndClass";
  wchar_t name[64] = {};
  if (GetClassNameW(w, name, 64) <= 0 || wcsncmp(name, kComClass, wcslen(kComClass)) != 0) return false;
  if (GetWindowThreadProcessId(w, nullptr) != GetCurrentThreadId()) return false;
  gComWindow = w;
  return true;
}

bool gUp = false;  // start-up is over: the main loop has asked for its first message

bool Holding() { return !gUp || (InsideOwnWork() && gOutgoing == 0); }

// While set, COM turns every incoming call away (RPC_E_CALL_REJECTED to the client) before it
// reaches an object of the program.
bool gRefusing = false;

// Answers COM's questions about incoming calls as COM does without a filter, except that it
// refuses them while gRefusing is set.
class CallFilter final : public Lasting<IMessageFilter, &IID_IMessageFilter> {
 public:
  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
    return gRefusing ? SERVERCALL_REJECTED : SERVERCALL_ISHANDLED;
  }
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return static_cast<DWORD>(-1); }
  DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override { return PENDINGMSG_WAITDEFPROCESS; }
};
CallFilter gFilter;

// Runs the held calls that may run now, oldest first: all of them once the work is done, else
// those held past the limit; in start-up those are turned away, so a call never sees the program
// half started.
void ReleaseHeld(bool all) {
  const DWORD now = GetTickCount();
  while (!gHeld.empty() && (all || now - gHeld.front().since >= kHoldLimitMs)) {
    const MSG msg = gHeld.front().msg;
    gHeld.erase(gHeld.begin());
    gRefusing = !gUp;
    DispatchMessageW(&msg);  // may pump and hold others: the list is read anew each time
    gRefusing = false;
  }
  if (gHeld.empty() && gReleaseTimer) {
    KillTimer(nullptr, gReleaseTimer);
    gReleaseTimer = 0;
  }
}

void CALLBACK OnReleaseTick(HWND, UINT, UINT_PTR, DWORD) { ReleaseHeld(!Holding()); }

LRESULT CALLBACK HoldCalls(int code, WPARAM removal, LPARAM data) {
  if (code == HC_ACTION && removal == PM_REMOVE && Holding()) {
    MSG* msg = reinterpret_cast<MSG*>(data);
    if (msg->message >= WM_USER && IsComWindow(msg->hwnd)) {
      try {
        gHeld.push_back({*msg, GetTickCount()});
        msg->message = WM_NULL;
        // The tick runs them from whatever loop comes next: a menu, a dialog, the main loop.
        if (!gReleaseTimer) gReleaseTimer = SetTimer(nullptr, 0, kReleaseTickMs, OnReleaseTick);
      } catch (...) {
      }
    }
  }
  return CallNextHookEx(nullptr, code, removal, data);
}

// Wine's table of running class objects keeps the entry of a server that was killed, ahead of any
// later one, and hands it to every client, which then cannot reach it: one killed copy would cut
// off every later one. The running server notes itself in a volatile key (gone when the system's
// session ends, as the table is) before it offers its class object, so no entry of it is ever
// without its note; a start that finds the note of a copy no longer running restarts the service
// keeping the table, which forgets the dead entry. Windows forgets it itself.
constexpr wchar_t kServerNoteKey[] = L"Software\\Parlavent\\Automation";
constexpr wchar_t kServerNoteValue[] = L"Server";
// One copy serves in a session: the one holding this mutex (copies in other folders run side by
// side, each its own single instance). A copy that was killed leaves it abandoned, to the next.
constexpr wchar_t kServingMutex[] = L"Local\\Parlavent.Automation";
HANDLE gServing = nullptr;

// The process id and start time of this copy, which tell it from a later process of the same id.
std::wstring ServerNote(HANDLE process, DWORD id) {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return {};
  return std::to_wstring(id) + L":" +
         std::to_wstring((static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime);
}

// The note as it stands; empty when there is none.
std::wstring NotedServer() {
  wchar_t text[64] = {};
  DWORD size = sizeof(text);
  if (RegGetValueW(HKEY_CURRENT_USER, kServerNoteKey, kServerNoteValue, RRF_RT_REG_SZ, nullptr, text, &size) !=
      ERROR_SUCCESS)
    return {};
  return text;
}

bool NotedServerIsGone() {
  const std::wstring text = NotedServer();
  if (text.empty()) return false;
  const DWORD id = static_cast<DWORD>(wcstoul(text.c_str(), nullptr, 10));
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, id);
  if (!process) return true;
  const bool gone = WaitForSingleObject(process, 0) == WAIT_OBJECT_0 || ServerNote(process, id) != text;
  CloseHandle(process);
  return gone;
}

// Writes this copy's note, or removes it when it names this copy: the note of another copy stays.
void NoteServer(bool serving) {
  if (!serving) {
    if (NotedServer() == ServerNote(GetCurrentProcess(), GetCurrentProcessId()))
      RegDeleteKeyValueW(HKEY_CURRENT_USER, kServerNoteKey, kServerNoteValue);
    return;
  }
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kServerNoteKey, 0, nullptr, REG_OPTION_VOLATILE, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  const std::wstring note = ServerNote(GetCurrentProcess(), GetCurrentProcessId());
  RegSetValueExW(key, kServerNoteValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(note.c_str()),
                 static_cast<DWORD>((note.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

// Takes the right to serve in this session; false while another copy holds it.
bool TakeServing() {
  gServing = CreateMutexW(nullptr, FALSE, kServingMutex);
  const DWORD owned = gServing ? WaitForSingleObject(gServing, 0) : WAIT_FAILED;
  if (owned == WAIT_OBJECT_0 || owned == WAIT_ABANDONED) return true;
  if (gServing) CloseHandle(gServing);
  gServing = nullptr;
  return false;
}

// Leaves the right to serve, and this copy's note, to the next copy.
void GiveUpServing() {
  if (!gServing) return;
  NoteServer(false);
  ReleaseMutex(gServing);
  CloseHandle(gServing);
  gServing = nullptr;
}

bool WaitForServiceState(SC_HANDLE service, DWORD state) {
  SERVICE_STATUS status{};
  for (int i = 0; i < 100; ++i) {
    if (!QueryServiceStatus(service, &status)) return false;
    if (status.dwCurrentState == state) return true;
    Sleep(50);
  }
  return false;
}

void RestartClassTable() {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (!manager) return;
  if (SC_HANDLE service = OpenServiceW(manager, L"RpcSs", SERVICE_STOP | SERVICE_START | SERVICE_QUERY_STATUS)) {
    SERVICE_STATUS status{};
    if (ControlService(service, SERVICE_CONTROL_STOP, &status) && WaitForServiceState(service, SERVICE_STOPPED) &&
        StartServiceW(service, 0, nullptr))
      WaitForServiceState(service, SERVICE_RUNNING);
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
}

}  // namespace

bool HandleAutomationSwitch(std::u16string_view commandLine, int& exitCode) {
  const AutomationSwitch sw = ParseAutomationSwitch(commandLine);
  if (sw != AutomationSwitch::RegServer && sw != AutomationSwitch::UnregServer) return false;
  const bool ok = Guard([&] {
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const bool done = sw == AutomationSwitch::RegServer ? Register() : Unregister();
    if (SUCCEEDED(init)) CoUninitialize();
    return done ? S_OK : E_FAIL;
  }) == S_OK;
  exitCode = ok ? 0 : 1;
  return true;
}

void StartAutomationServer(Appl& app) {
  // Only the copy that runs on serves; a second copy ends in start-up without leaving a trace.
  if (gObject || TheDesktop().OtherInstanceRunning()) return;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  // A copy from another folder while one serves offers nothing: the clients keep the copy they
  // reach, and its note stays.
  if (!TakeServing()) return;
  // Offered whatever the registry says now, from the first moment: a "/regserver" run while the
  // program is up finds it serving, and clients find it by the class id the registration names.
  gTypeLib = LoadOwnTypeLib();
  if (gTypeLib) gObject = new (std::nothrow) ApplObject();
  if (gObject && !gObject->Described()) {
    gObject->Release();
    gObject = nullptr;
  }
  if (!gObject) {
    GiveUpServing();
    return;
  }
  gServed = &app;
  gCallHook = SetWindowsHookExW(WH_GETMESSAGE, HoldCalls, nullptr, GetCurrentThreadId());
  CoRegisterMessageFilter(&gFilter, nullptr);
  if (UnderWine() && NotedServerIsGone()) RestartClassTable();
  NoteServer(true);
  if (FAILED(CoRegisterClassObject(CLSID_Appl, &gFactory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &gCookie))) {
    gCookie = 0;
    NoteServer(false);
  }
}

void StopAutomationServer() {
  if (gCookie) CoRevokeClassObject(gCookie);
  gCookie = 0;
  GiveUpServing();
  if (gCallHook) {
    UnhookWindowsHookEx(gCallHook);
    CoRegisterMessageFilter(nullptr, nullptr);
  }
  gCallHook = nullptr;
  if (gReleaseTimer) KillTimer(nullptr, gReleaseTimer);
  gReleaseTimer = 0;
  gHeld.clear();  // their clients are cut off below
  gServed = nullptr;
  if (!gObject) return;
  for (DicsObject* dics : std::vector<DicsObject*>(gDics)) CoDisconnectObject(static_cast<IDics*>(dics), 0);
  CoDisconnectObject(static_cast<IAppl*>(gObject), 0);
  ApplObject* object = gObject;
  gObject = nullptr;
  object->Release();
}

bool NextTopLevelMessage(MSG& msg) {
  gUp = true;
  // The calls held while the program was busy come first, in the order they came.
  ReleaseHeld(true);
  return GetMessageW(&msg, nullptr, 0, 0) > 0;
}

std::shared_ptr<PlugInObject> CreateDispatchPlugIn(std::u16string_view progId) {
  CLSID id{};
  if (FAILED(CLSIDFromProgID(Wide(progId).c_str(), &id))) return nullptr;
  IDispatch* object = nullptr;
  const Outgoing call;  // an out-of-process plug-in may call the program while it starts
  if (!call.allowed) return nullptr;
  if (FAILED(CoCreateInstance(id, nullptr, CLSCTX_ALL, IID_IDispatch, reinterpret_cast<void**>(&object))) || !object)
    return nullptr;
  try {
    return std::make_shared<DispatchPlugIn>(object);
  } catch (...) {
    object->Release();
    return nullptr;
  }
}

}  // namespace parlavent
