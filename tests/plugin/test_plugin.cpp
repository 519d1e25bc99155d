// test_plugin.dll: a skin and a hint plug-in as the program's plug-in host expects them, reached
// only through IDispatch. Each call is appended to HKCU\Software\ParlaventTestPlugIn "Calls" as
// "<Skin|Hint>.<member>[:<first argument>];", so a test sees what the host called, with what and
// in which order; an event also names its arguments' count and variant types. The skin's
// EventHandler takes over "CreateToolTipWindow" and "ShowToolTipWindow" only; on "CallBackInWork"
// it calls the program back from another apartment while the program works for it, and records
// "Skin.CallBackInWork:answered" or ":held".
#include <windows.h>
#include <oleauto.h>

#include <string>

namespace {

// {5C3E3B52-1A7B-4E36-9C55-2D6A43C1F001} and ...F002.
const CLSID kSkinClsid = {0x5c3e3b52, 0x1a7b, 0x4e36, {0x9c, 0x55, 0x2d, 0x6a, 0x43, 0xc1, 0xf0, 0x01}};
const CLSID kHintClsid = {0x5c3e3b52, 0x1a7b, 0x4e36, {0x9c, 0x55, 0x2d, 0x6a, 0x43, 0xc1, 0xf0, 0x02}};
const wchar_t* const kLogKey = L"Software\\ParlaventTestPlugIn";

LONG gObjects = 0;

void Record(const std::wstring& entry) {
  wchar_t text[8192] = {};
  DWORD size = sizeof(text);
  RegGetValueW(HKEY_CURRENT_USER, kLogKey, L"Calls", RRF_RT_REG_SZ, nullptr, text, &size);
  const std::wstring calls = std::wstring(text) + entry + L";";
  RegSetKeyValueW(HKEY_CURRENT_USER, kLogKey, L"Calls", REG_SZ, calls.c_str(),
                  static_cast<DWORD>((calls.size() + 1) * sizeof(wchar_t)));
}

// A call-back from a thread (and apartment) of its own: the program's application object, read
// by its GetInput. Shared by the event and the thread; the last to let go frees it.
struct CallBack {
  IStream* program = nullptr;
  DISPID member = DISPID_UNKNOWN;
  volatile LONG answered = 0;
  volatile LONG refs = 2;
};

void LetGo(CallBack* c) {
  if (InterlockedDecrement(&c->refs) == 0) delete c;
}

DWORD WINAPI CallBackThread(void* p) {
  auto* c = static_cast<CallBack*>(p);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IDispatch* program = nullptr;
  if (SUCCEEDED(CoGetInterfaceAndReleaseStream(c->program, IID_IDispatch, reinterpret_cast<void**>(&program)))) {
    DISPPARAMS none{};
    VARIANT result;
    VariantInit(&result);
    if (SUCCEEDED(program->Invoke(c->member, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                  &none, &result, nullptr, nullptr)))
      InterlockedExchange(&c->answered, 1);
    VariantClear(&result);
    program->Release();
  }
  CoUninitialize();
  LetGo(c);
  return 0;
}

// Called by the program (an outgoing call of its own): starts the call-back, then has the program
// show translations on its form, each a piece of the program's own work that runs waiting
// messages, until the call-back has its answer or 5 s have passed. The call-back reaches the
// program's queue at a time of its own, so the wait is for that; a call the program held would be
// answered only after this event returns, or after 8 s.
std::wstring CallBackInWork(IDispatch* program) {
  LPOLESTR input = const_cast<LPOLESTR>(L"GetInput");
  LPOLESTR show = const_cast<LPOLESTR>(L"ShowTrans");
  DISPID inputId = DISPID_UNKNOWN, showId = DISPID_UNKNOWN;
  if (FAILED(program->GetIDsOfNames(IID_NULL, &input, 1, LOCALE_USER_DEFAULT, &inputId)) ||
      FAILED(program->GetIDsOfNames(IID_NULL, &show, 1, LOCALE_USER_DEFAULT, &showId)))
    return L"unknown members";
  auto* c = new CallBack;
  c->member = inputId;
  if (FAILED(CoMarshalInterThreadInterfaceInStream(IID_IDispatch, program, &c->program))) {
    delete c;
    return L"not marshalled";
  }
  HANDLE thread = CreateThread(nullptr, 0, CallBackThread, c, 0, nullptr);
  if (!thread) {
    c->program->Release();
    delete c;
    return L"no thread";
  }
  CloseHandle(thread);
  VARIANT args[2];  // last argument first: ShowTrans("Hund", onForm:=True)
  args[0].vt = VT_BOOL;
  args[0].boolVal = VARIANT_TRUE;
  args[1].vt = VT_BSTR;
  args[1].bstrVal = SysAllocString(L"Hund");
  DISPPARAMS params{args, nullptr, 2, 0};
  const DWORD start = GetTickCount();
  while (!c->answered && GetTickCount() - start < 5000) {
    VARIANT result;
    VariantInit(&result);
    program->Invoke(showId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
    VariantClear(&result);
  }
  SysFreeString(args[1].bstrVal);
  const bool answered = c->answered != 0;
  LetGo(c);
  return answered ? L"answered" : L"held";
}

enum Member : DISPID { kLoaded = 1, kParlavent, kInit, kEventHandler, kSetPlugin, kUnload };

class PlugIn final : public IDispatch {
 public:
  explicit PlugIn(bool skin) : skin_(skin) { InterlockedIncrement(&gObjects); }
  ~PlugIn() {
    if (parlavent_) parlavent_->Release();
    InterlockedDecrement(&gObjects);
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IDispatch) return E_NOINTERFACE;
    *ppv = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    static const struct {
      const wchar_t* name;
      DISPID id;
      bool skinOnly;
    } kMembers[] = {{L"Loaded", kLoaded, true},     {L"Parlavent", kParlavent, false},
                    {L"Init", kInit, true},         {L"EventHandler", kEventHandler, true},
                    {L"setplugin", kSetPlugin, false}, {L"Unload", kUnload, false}};
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    for (const auto& m : kMembers)
      if ((skin_ || !m.skinOnly) && count >= 1 && lstrcmpiW(names[0], m.name) == 0) {
        ids[0] = m.id;
        return S_OK;
      }
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO*, UINT*) override {
    const std::wstring self = skin_ ? L"Skin." : L"Hint.";
    const UINT count = params ? params->cArgs : 0;
    // The first argument written is the last in the list.
    const VARIANT* first = count ? &params->rgvarg[count - 1] : nullptr;
    switch (id) {
      case kLoaded:
        Record(self + L"Loaded");
        if (result) {
          VariantInit(result);
          result->vt = VT_BOOL;
          result->boolVal = VARIANT_TRUE;
        }
        return S_OK;
      case kParlavent:
        if (!(flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) || !first || first->vt != VT_DISPATCH ||
            !first->pdispVal)
          return DISP_E_TYPEMISMATCH;
        if (parlavent_) parlavent_->Release();
        parlavent_ = first->pdispVal;
        parlavent_->AddRef();
        Record(self + L"Parlavent");
        return S_OK;
      case kInit:
        Record(self + L"Init");
        return S_OK;
      case kEventHandler: {
        if (!first || first->vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
        const std::wstring name(first->bstrVal, SysStringLen(first->bstrVal));
        std::wstring types;
        for (UINT i = 1; i < count; ++i) types += (i > 1 ? L"," : L"") + std::to_wstring(params->rgvarg[count - 1 - i].vt);
        Record(self + L"EventHandler:" + name + L"/" + std::to_wstring(count - 1) + (types.empty() ? L"" : L":" + types));
        if (name == L"CallBackInWork" && parlavent_) Record(self + L"CallBackInWork:" + CallBackInWork(parlavent_));
        if (result) {
          VariantInit(result);
          result->vt = VT_BOOL;
          result->boolVal =
              name == L"ShowToolTipWindow" || name == L"CreateToolTipWindow" ? VARIANT_TRUE : VARIANT_FALSE;
        }
        return S_OK;
      }
      case kSetPlugin:
        if (!first || first->vt != VT_DISPATCH) return DISP_E_TYPEMISMATCH;
        Record(self + L"setplugin");
        return S_OK;
      case kUnload:
        Record(self + L"Unload");
        if (parlavent_) parlavent_->Release();
        parlavent_ = nullptr;
        return S_OK;
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  LONG refs_ = 1;
  bool skin_;
  IDispatch* parlavent_ = nullptr;
};

class Factory final : public IClassFactory {
 public:
  explicit Factory(bool skin) : skin_(skin) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IClassFactory) return E_NOINTERFACE;
    *ppv = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* object = new PlugIn(skin_);
    const HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  bool skin_;
};

Factory gSkinFactory(true);
Factory gHintFactory(false);

}  // namespace

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
  if (clsid == kSkinClsid) return gSkinFactory.QueryInterface(riid, ppv);
  if (clsid == kHintClsid) return gHintFactory.QueryInterface(riid, ppv);
  *ppv = nullptr;
  return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return gObjects == 0 ? S_OK : S_FALSE; }
