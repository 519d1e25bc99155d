// Parlavent.exe as an automation server: registered per user by "/regserver", the running copy
// hands its one application object to every client that asks for "Parlavent.Appl", late-bound
// calls reach the main window, bad calls come back as automation errors, and "/unregserver"
// removes the registration.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/popup_menu.h"
#include "program_driver.h"
#include "settings_dialog/win32/settings_form.h"
#include "user_files.h"

namespace parlavent {
namespace {

using testing::ControlText;
using testing::kProgramKey;
using testing::kReactTimeoutMs;
using testing::kStartTimeoutMs;
using testing::PlugInCalls;
using testing::Program;
using testing::RegisterTestPlugIns;
using testing::SetRequest;
using testing::UnregisterTestPlugIns;
using testing::WaitForMainWindow;

const wchar_t* const kProgIdKey = L"Software\\Classes\\Parlavent.Appl";

std::wstring ReadDefault(HKEY root, const std::wstring& key) {
  wchar_t text[1024] = {};
  DWORD size = sizeof(text);
  if (RegGetValueW(root, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) return {};
  return text;
}

// Runs a script by Wine's script host and returns what it wrote.
std::string RunScript(const wchar_t* name) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring script = self;
  script.resize(script.find_last_of(L"\\/") + 1);
  script += name;
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(system) + L"\\cscript.exe\" //nologo \"" + script + L"\"";
  SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  if (!CreatePipe(&read, &write, &sa, 0)) return {};
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = write;
  si.hStdError = write;
  PROCESS_INFORMATION pi{};
  const BOOL started =
      CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi);
  CloseHandle(write);
  std::string output;
  if (started) {
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(read, buffer, sizeof(buffer), &n, nullptr) && n) output.append(buffer, n);
    WaitForSingleObject(pi.hProcess, kReactTimeoutMs);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  CloseHandle(read);
  return output;
}

struct Reply {
  HRESULT hr = E_FAIL;
  std::wstring text;  // the result as text, when it has one
  HRESULT scode = S_OK;  // the error the member raised, with DISP_E_EXCEPTION
};

// A late-bound call by name, as a script makes it; args in the order written.
Reply Call(IDispatch* object, const wchar_t* member, std::vector<VARIANT> args = {}) {
  Reply reply;
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR name = const_cast<LPOLESTR>(member);
  reply.hr = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(reply.hr)) return reply;
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO excep{};
  UINT argErr = 0;
  reply.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &params,
                            &result, &excep, &argErr);
  VARIANT text;
  VariantInit(&text);
  if (SUCCEEDED(reply.hr) && SUCCEEDED(VariantChangeType(&text, &result, VARIANT_ALPHABOOL, VT_BSTR)) && text.bstrVal)
    reply.text.assign(text.bstrVal, SysStringLen(text.bstrVal));
  VariantClear(&text);
  VariantClear(&result);
  reply.scode = excep.scode;
  SysFreeString(excep.bstrSource);
  SysFreeString(excep.bstrDescription);
  SysFreeString(excep.bstrHelpFile);
  for (auto& a : args) VariantClear(&a);
  return reply;
}

VARIANT Str(const wchar_t* s) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(s);
  return v;
}

VARIANT Flag(bool b) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BOOL;
  v.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

// The application object of the running copy, asked for once; null when it is not given, with
// the reason in hr.
IDispatch* ConnectTo(const CLSID& id, HRESULT* hr = nullptr) {
  IDispatch* object = nullptr;
  const HRESULT created =
      CoCreateInstance(id, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, reinterpret_cast<void**>(&object));
  if (hr) *hr = created;
  return SUCCEEDED(created) ? object : nullptr;
}

// Two texts looked up in turn while a client reads the result: every read must find one of them
// whole, never a look-up the program is still inside. The same text twice in a row is answered
// from the last result without a look-up, hence two.
const wchar_t* const kRaceTexts[] = {L"Haus Katze Hund Baum", L"Baum Hund Katze Haus"};
struct LookUpRace {
  CLSID id{};
  volatile LONG done = 0;
  volatile LONG reads = 0;
  int unfinished = 0, failed = 0;
  std::wstring sample;
};
// The reader connects while the look-ups have begun, and how many of its calls fall between two
// look-ups depends on the machine's load: the look-ups go on until it has read often enough to
// have met them, never past a bound.
constexpr LONG kEnoughReads = 10;
bool MoreLookUps(const LookUpRace& s, int done) {
  return done < 60 || (s.reads <= kEnoughReads && done < 2000);
}

// The reading client: WordSet.InString again and again until the look-ups are done.
DWORD WINAPI ReadResults(void* p) {
  auto& s = *static_cast<LookUpRace*>(p);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (IDispatch* a = ConnectTo(s.id)) {
    while (!s.done) {
      IDispatch* set = nullptr;
      DISPID dispid = DISPID_UNKNOWN;
      LPOLESTR name = const_cast<LPOLESTR>(L"WordSet");
      VARIANT result;
      VariantInit(&result);
      DISPPARAMS none{nullptr, nullptr, 0, 0};
      if (SUCCEEDED(a->GetIDsOfNames(IID_NULL, &name, 1, 0, &dispid)) &&
          SUCCEEDED(a->Invoke(dispid, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr)) &&
          result.vt == VT_DISPATCH)
        set = result.pdispVal;
      InterlockedIncrement(&s.reads);
      const std::wstring in = set ? Call(set, L"InString").text : L"";
      if (in != kRaceTexts[0] && in != kRaceTexts[1]) {
        ++s.unfinished;
        s.sample = in + L" / " + (set ? Call(set, L"CheckDir").text : L"no result");
      }
      VariantClear(&result);
    }
    a->Release();
  } else {
    ++s.failed;
  }
  CoUninitialize();
  return 0;
}

// Runs lookUps on a thread of its own beside a reading client and checks what the reader saw.
void ExpectOnlyFinishedLookUps(LookUpRace& race, LPTHREAD_START_ROUTINE lookUps) {
  HANDLE threads[] = {CreateThread(nullptr, 0, lookUps, &race, 0, nullptr),
                      CreateThread(nullptr, 0, ReadResults, &race, 0, nullptr)};
  EXPECT_EQ(WaitForMultipleObjects(2, threads, TRUE, 10 * kStartTimeoutMs), WAIT_OBJECT_0);
  for (HANDLE t : threads) CloseHandle(t);
  EXPECT_EQ(race.failed, 0);
  EXPECT_GT(race.reads, kEnoughReads);
  EXPECT_EQ(race.unfinished, 0) << "of " << race.reads << " reads, e.g. "
                                << std::string(race.sample.begin(), race.sample.end());
}

class Automation : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, kProgramKey);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\ParlaventTestPlugIn");
    UnregisterTestPlugIns();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  }
  void TearDown() override {
    if (appl_) appl_->Release();
    // The orderly way out, as an outside program asks for it: a copy killed here would leave Wine's
    // class table an entry no later client can reach.
    if (program_ && program_->ExitCodeWithin(0) == STILL_ACTIVE) {
      SetRequest(L"NeedUnload", L"1");
      program_->ExitCodeWithin(kReactTimeoutMs);
    }
    program_.reset();
    Program unreg(L"/unregserver");
    unreg.ExitCodeWithin(kReactTimeoutMs);
    UnregisterTestPlugIns();
    CoUninitialize();
  }
  // "/regserver": Wine lets every user write the machine's classes, so it registers there.
  void RegisterServer() {
    Program reg(L"/regserver");
    ASSERT_TRUE(reg.Started());
    ASSERT_EQ(reg.ExitCodeWithin(kReactTimeoutMs), 0u) << "registration succeeds without a window";
    const std::wstring clsid = ReadDefault(HKEY_LOCAL_MACHINE, std::wstring(kProgIdKey) + L"\\CLSID");
    ASSERT_EQ(clsid.size(), 38u) << "the ProgID names a class id, for the machine";
    clsidKey_ = L"Software\\Classes\\CLSID\\" + clsid;
    const std::wstring server = ReadDefault(HKEY_LOCAL_MACHINE, clsidKey_ + L"\\LocalServer32");
    EXPECT_NE(server.find(L"Parlavent.exe\""), std::wstring::npos) << "COM can start the program: " << server;
  }
  // Starts the program and waits for its main window.
  void Start() {
    program_ = std::make_unique<Program>();
    ASSERT_TRUE(program_->Started());
    main_ = WaitForMainWindow(program_->Id(), true, kStartTimeoutMs);
    ASSERT_NE(main_, nullptr);
  }
  // The running copy's application object, asked for once, as a script asks.
  void Connect() {
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"Parlavent.Appl", &id_));
    const HRESULT hr =
        CoCreateInstance(id_, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, reinterpret_cast<void**>(&appl_));
    ASSERT_HRESULT_SUCCEEDED(hr) << "the running copy offers its application object";
    ASSERT_NE(appl_, nullptr);
  }
  // Registers, starts the program and connects to it (the test plug-ins registered first with plugIns).
  void Serve(bool plugIns = false) {
    ASSERT_NO_FATAL_FAILURE(RegisterServer());
    if (plugIns) RegisterTestPlugIns();
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(Connect());
  }
  // Serves, runs lookUps beside a client reading the results, and ends the program.
  void RaceLookUps(LPTHREAD_START_ROUTINE lookUps) {
    ASSERT_NO_FATAL_FAILURE(Serve());
    ASSERT_HRESULT_SUCCEEDED(Call(appl_, L"GetTranslate", {Str(kRaceTexts[1])}).hr);
    LookUpRace race;
    race.id = id_;
    ExpectOnlyFinishedLookUps(race, lookUps);
    Quit();
  }
  // Asks the running copy to quit and waits for its orderly end.
  void Quit() {
    if (appl_) appl_->Release();
    appl_ = nullptr;
    SetRequest(L"NeedUnload", L"1");
    EXPECT_EQ(program_->ExitCodeWithin(kReactTimeoutMs), 0u);
  }
  std::unique_ptr<Program> program_;
  std::wstring clsidKey_;
  HWND main_ = nullptr;
  CLSID id_{};
  IDispatch* appl_ = nullptr;
};

TEST_F(Automation, RegisteredRunningProgramServesOneApplicationObjectToScriptsAndUnregisters) {
  ASSERT_NO_FATAL_FAILURE(Serve());
  HWND main = main_;
  const CLSID id = id_;
  IDispatch* appl = appl_;

  const Reply translated = Call(appl, L"GetTranslate", {Str(L"Haus")});
  ASSERT_HRESULT_SUCCEEDED(translated.hr);
  EXPECT_NE(translated.text.find(L"дом"), std::wstring::npos) << translated.text;
  const Reply simple = Call(appl, L"GetSimpleTrans", {Str(L"Haus")});
  ASSERT_HRESULT_SUCCEEDED(simple.hr);
  EXPECT_NE(simple.text.find(L"дом"), std::wstring::npos) << simple.text;

  ASSERT_HRESULT_SUCCEEDED(Call(appl, L"SetInput", {Str(L"Katze"), Flag(true)}).hr);
  EXPECT_EQ(Call(appl, L"GetInput").text, L"Katze");
  EXPECT_EQ(ControlText(GetDlgItem(main, 201)), L"Katze") << "the main window's input box follows";
  ASSERT_HRESULT_SUCCEEDED(Call(appl, L"SetInput", {Str(L"Hund")}).hr) << "NoList may be left out";
  EXPECT_EQ(Call(appl, L"GetInput").text, L"Hund");

  // A script of the Windows Script Host drives the same program.
  const std::string script = RunScript(L"appl_client.js");
  std::printf("appl_client.js:\n%s", script.c_str());
  EXPECT_NE(script.find("GetTranslate(Haus) holds"), std::string::npos) << script;
  EXPECT_NE(script.find(": true"), std::string::npos) << script;
  EXPECT_NE(script.find("GetInput after SetInput(Katze): Katze"), std::string::npos) << script;
  EXPECT_NE(script.find("ColDics: "), std::string::npos) << script;
  EXPECT_NE(script.find("-ru), current: "), std::string::npos) << script;
  EXPECT_NE(script.find("GetInput after SetInput(Hund, true): Hund"), std::string::npos) << script;
  EXPECT_EQ(script.find("GetSimpleTrans(Hund): \r"), std::string::npos) << "Hund has translations: " << script;
  // The objects behind Appl's fields: languages, a dictionary's sources, the view history, settings.
  EXPECT_NE(script.find("DicLanguages: de=German/1, ru=Russian/2"), std::string::npos) << script;
  EXPECT_NE(script.find("DicLanguages(1).Dics(1): De-Ru side 1, GetDic(1): De-Ru, GetDir(9): 0"), std::string::npos)
      << script;
  EXPECT_NE(script.find("DicLanguages(\"RU\"): Russian"), std::string::npos) << "by key, case-blind: " << script;
  EXPECT_NE(script.find("DicLanguages(99): an error"), std::string::npos) << script;
  EXPECT_NE(script.find("Dic.Srcs: 2, the first: German-Russian dictionary"), std::string::npos) << script;
  EXPECT_NE(script.find("Undo after two word lists: 2 more views, newest List:Baum, UndoPos 1"), std::string::npos)
      << script;
  EXPECT_NE(script.find("Undo after Back: UndoPos 2"), std::string::npos) << script;
  EXPECT_NE(script.find("Sett: CurLang 0, AutoOn false, DicPath set true"), std::string::npos) << script;
  EXPECT_NE(script.find("Voices: "), std::string::npos) << script;
  EXPECT_NE(script.find("WordSet after GetTranslate(Katze): Katze, IsTrans true"), std::string::npos) << script;
  // The result tree, down to a translation's text.
  EXPECT_NE(script.find("WordSet.Words(1): Haus, RechSet(1).ID 1, ThemeSet(1).CommSet(1).TransSet(1): %u0434%u043E%u043C"),
            std::string::npos)
      << script;
  EXPECT_NE(script.find("stat: "), std::string::npos) << script;

  // A second client reaches the same object, not a second program.
  IDispatch* second = ConnectTo(id);
  ASSERT_NE(second, nullptr);
  IUnknown* a = nullptr;
  IUnknown* b = nullptr;
  appl->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&a));
  second->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&b));
  EXPECT_EQ(a, b);
  if (a) a->Release();
  if (b) b->Release();
  second->Release();

  // Bad calls are the client's error; the program goes on serving.
  EXPECT_FALSE(SUCCEEDED(Call(appl, L"GetTranslate").hr)) << "a missing argument";
  VARIANT wrong;
  VariantInit(&wrong);
  wrong.vt = VT_UNKNOWN;
  wrong.punkVal = nullptr;
  EXPECT_FALSE(SUCCEEDED(Call(appl, L"SetInput", {wrong}).hr)) << "an argument of the wrong type";
  EXPECT_FALSE(SUCCEEDED(Call(appl, L"NoSuchMember").hr));
  EXPECT_HRESULT_SUCCEEDED(Call(appl, L"GetSimpleTrans", {Str(std::wstring(200000, L'x').c_str())}).hr);

  // No plug-in registered: the host stays quiet and no event is taken over.
  EXPECT_HRESULT_SUCCEEDED(Call(appl, L"PlugInInit").hr);
  const Reply handled = Call(appl, L"SendEvent", {Str(L"ShowToolTipWindow"), Str(L"x")});
  EXPECT_HRESULT_SUCCEEDED(handled.hr);
  EXPECT_EQ(handled.text, L"False");
  EXPECT_EQ(program_->ExitCodeWithin(0), STILL_ACTIVE);
  Quit();

  {
    Program unreg(L"/unregserver");
    ASSERT_EQ(unreg.ExitCodeWithin(kReactTimeoutMs), 0u);
  }
  EXPECT_EQ(ReadDefault(HKEY_LOCAL_MACHINE, std::wstring(kProgIdKey) + L"\\CLSID"), L"");
  EXPECT_EQ(ReadDefault(HKEY_LOCAL_MACHINE, clsidKey_ + L"\\LocalServer32"), L"");
}

VARIANT Int(long n) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = n;
  return v;
}

VARIANT Missing() {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_ERROR;
  v.scode = DISP_E_PARAMNOTFOUND;
  return v;
}

// Waits until pred holds, asking again every so often; false after the time.
template <class P>
bool Eventually(P pred, DWORD timeoutMs = kReactTimeoutMs) {
  const DWORD start = GetTickCount();
  while (!pred()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(100);
  }
  return true;
}

TEST_F(Automation, RegisteredPlugInIsCreatedCalledByNameAndUnloadedAtShutDown) {
  ASSERT_NO_FATAL_FAILURE(Serve(true));
  IDispatch* appl = appl_;

  EXPECT_EQ(Call(appl, L"SendEvent", {Str(L"ShowToolTipWindow")}).text, L"False") << "nothing loaded yet";
  ASSERT_HRESULT_SUCCEEDED(Call(appl, L"PlugInInit").hr);
  // A client's arguments reach the plug-in as given: a text, a number, one left out, a flag.
  EXPECT_EQ(Call(appl, L"SendEvent", {Str(L"ShowToolTipWindow"), Str(L"a"), Int(7), Missing(), Flag(true)}).text,
            L"True");
  EXPECT_EQ(Call(appl, L"SendEvent", {Str(L"HideToolTipWindow")}).text, L"False");
  // The popup of a look-up: the skin makes and shows it, and learns the markup, the place and the window.
  ASSERT_HRESULT_SUCCEEDED(Call(appl, L"ShowTrans", {Str(L"Hund"), Flag(false)}).hr);
  EXPECT_TRUE(Eventually([] { return PlugInCalls().find(L"EventHandler:ShowToolTipWindow/4:8,3,3,3;") != std::wstring::npos; }))
      << PlugInCalls();
  // A second start unloads the first plug-ins; an unload, then the popup is the program's own again.
  ASSERT_HRESULT_SUCCEEDED(Call(appl, L"PlugInInit").hr);
  ASSERT_HRESULT_SUCCEEDED(Call(appl, L"PlugInUnload").hr);
  ASSERT_HRESULT_SUCCEEDED(Call(appl, L"ShowTrans", {Str(L"Hund"), Flag(false)}).hr);
  EXPECT_NE(testing::WaitForWindow(program_->Id(), L"ParlaventPopup"), nullptr) << "the popup shows after the unload";
  Quit();
  const std::wstring calls = PlugInCalls();
  EXPECT_EQ(calls.substr(0, calls.find(L"Skin.EventHandler:CreateToolTipWindow")),
            L"Skin.Loaded;Skin.Parlavent;Hint.setplugin;Hint.Parlavent;Skin.Init;"
            L"Skin.Loaded;Skin.EventHandler:ShowToolTipWindow/4:8,3,10,11;"
            L"Skin.Loaded;Skin.EventHandler:HideToolTipWindow/0;"
            L"Skin.Loaded;");
  EXPECT_NE(calls.find(L"Skin.Unload;Hint.Unload;Skin.Loaded;Skin.Parlavent;Hint.setplugin;Hint.Parlavent;Skin.Init;"
                       L"Skin.Unload;Hint.Unload;"),
            std::wstring::npos)
      << calls;
}

// A plug-in's event calls the program back from another apartment while the program, inside that
// event, does work of its own that runs waiting messages: the call-back is answered during the
// work; held until the work ends, the plug-in waiting on it would never see it answered.
TEST_F(Automation, APlugInsCallBackDuringTheProgramsWorkForItIsAnsweredAtOnce) {
  ASSERT_NO_FATAL_FAILURE(Serve(true));
  ASSERT_HRESULT_SUCCEEDED(Call(appl_, L"SetInput", {Str(L"Katze"), Flag(true)}).hr);
  ASSERT_HRESULT_SUCCEEDED(Call(appl_, L"PlugInInit").hr);
  ASSERT_HRESULT_SUCCEEDED(Call(appl_, L"SendEvent", {Str(L"CallBackInWork")}).hr);
  EXPECT_NE(PlugInCalls().find(L"Skin.CallBackInWork:answered;"), std::wstring::npos) << PlugInCalls();
  Quit();
}

// Two clients at once: one looks the texts up again and again while the other reads the result.
TEST_F(Automation, ClientsCallingAtOnceSeeOnlyFinishedLookUps) {
  RaceLookUps([](void* p) -> DWORD {
    auto& s = *static_cast<LookUpRace*>(p);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (IDispatch* a = ConnectTo(s.id)) {
      for (int i = 0; MoreLookUps(s, i); ++i)
        if (FAILED(Call(a, L"GetTranslate", {Str(kRaceTexts[i % 2])}).hr)) ++s.failed;
      a->Release();
    } else {
      ++s.failed;
    }
    InterlockedExchange(&s.done, 1);
    CoUninitialize();
    return 0;
  });
}

// The look-ups come from text runs another program sends (a message sent, not posted, to the
// program's hidden window): a client's read in the middle still waits for the look-up to end.
TEST_F(Automation, ClientCallsDuringALookUpOfASentTextRunSeeOnlyTheFinishedLookUp) {
  RaceLookUps([](void* p) -> DWORD {
    auto& s = *static_cast<LookUpRace*>(p);
    HWND hook = FindWindowW(L"ParlaventClipHook", L"parlavent_hook_window");
    HWND sender = CreateWindowW(L"STATIC", L"sender", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    for (int i = 0; MoreLookUps(s, i) && hook && sender; ++i) {
      const std::wstring run = kRaceTexts[i % 2];
      COPYDATASTRUCT data{1, static_cast<DWORD>(run.size() * sizeof(wchar_t)), const_cast<wchar_t*>(run.data())};
      DWORD_PTR shown = 0;
      if (!SendMessageTimeoutW(hook, WM_COPYDATA, reinterpret_cast<WPARAM>(sender), reinterpret_cast<LPARAM>(&data),
                               SMTO_NORMAL, kReactTimeoutMs, &shown) ||
          shown != 1)
        ++s.failed;
    }
    if (!hook || !sender) ++s.failed;
    if (sender) DestroyWindow(sender);
    InterlockedExchange(&s.done, 1);
    return 0;
  });
}

// A client's object as an argument: the program reads its value by calling it, and the object's
// default property (Value) calls the program back while the first call is still open.
class CallingBackObject : public IDispatch {
 public:
  explicit CallingBackObject(IDispatch* appl) : appl_(appl) {}
  virtual ~CallingBackObject() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IDispatch) return E_NOINTERFACE;
    *ppv = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  // Lives on the client's stack, longer than the program holds it.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    if (n) *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                   UINT*) override {
    if (id != DISPID_VALUE) return DISP_E_MEMBERNOTFOUND;
    std::wstring value;
    const HRESULT hr = Value(value);
    if (FAILED(hr)) return hr;
    if (result) {
      VariantInit(result);
      result->vt = VT_BSTR;
      result->bstrVal = SysAllocString(value.c_str());
    }
    return S_OK;
  }
  // The object itself as an argument.
  VARIANT Argument() {
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_DISPATCH;
    arg.pdispVal = this;
    return arg;
  }

 protected:
  virtual HRESULT Value(std::wstring& value) = 0;
  IDispatch* appl_;
};

// Its value is the program's input box, read back through the program.
class AskingObject final : public CallingBackObject {
 public:
  using CallingBackObject::CallingBackObject;

 private:
  HRESULT Value(std::wstring& value) override {
    const Reply input = Call(appl_, L"GetInput");
    value = L"asked: " + input.text;
    return input.hr;
  }
};

// Runs call on a client thread of its own against the running copy; E_PENDING when it has not
// returned within ms. A call held by the program waits at most its longest hold (8 s), so a
// shorter deadline tells a call answered at once from one held.
HRESULT CallWithin(const CLSID& id, DWORD ms, HRESULT (*call)(IDispatch* appl)) {
  struct Shared {
    CLSID id{};
    HRESULT (*call)(IDispatch*) = nullptr;
    HRESULT hr = E_PENDING;
  } shared;
  shared.id = id;
  shared.call = call;
  HANDLE client = CreateThread(
      nullptr, 0,
      [](void* p) -> DWORD {
        auto& s = *static_cast<Shared*>(p);
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        HRESULT connected = E_FAIL;
        if (IDispatch* a = ConnectTo(s.id, &connected)) {
          const HRESULT hr = s.call(a);
          a->Release();
          s.hr = hr;
        } else {
          s.hr = FAILED(connected) ? connected : E_FAIL;
        }
        CoUninitialize();
        return 0;
      },
      &shared, 0, nullptr);
  if (!client) return E_FAIL;
  const bool returned = WaitForSingleObject(client, ms) == WAIT_OBJECT_0;
  WaitForSingleObject(client, kReactTimeoutMs);  // shared lives until the client is done
  CloseHandle(client);
  return returned ? shared.hr : E_PENDING;
}

TEST_F(Automation, AClientObjectThatCallsBackIsServedWhileTheProgramReadsIt) {
  ASSERT_NO_FATAL_FAILURE(Serve());
  ASSERT_HRESULT_SUCCEEDED(Call(appl_, L"SetInput", {Str(L"Katze"), Flag(true)}).hr);
  const HRESULT hr = CallWithin(id_, 8000, [](IDispatch* appl) {
    AskingObject asking(appl);
    return Call(appl, L"Info", {asking.Argument()}).hr;
  });
  EXPECT_HRESULT_SUCCEEDED(hr) << "Info returns while its argument calls back";
  EXPECT_EQ(ControlText(GetDlgItem(main_, 204)), L"asked: Katze") << "the info line shows the object's value";
  Quit();
}

// What the objects calling back nested saw.
struct Nesting {
  CLSID id{};
  int deepest = 0;
  HRESULT refusal = S_OK;     // the error of the program's first refused call
  HRESULT other = E_PENDING;  // a second client's call made while the first waits that deep
} gNesting;

// Hands itself to the program's Info again each time the program reads it, up to kDeepest levels:
// the calls nest as deep as the program lets them.
class NestingObject final : public CallingBackObject {
 public:
  static constexpr int kDeepest = 300;
  using CallingBackObject::CallingBackObject;

 private:
  HRESULT Value(std::wstring& value) override {
    const int depth = ++depth_;
    gNesting.deepest = std::max(gNesting.deepest, depth);
    const Reply inner = depth < kDeepest ? Call(appl_, L"Info", {Argument()}) : Reply{S_OK, {}, S_OK};
    if (FAILED(inner.hr) && gNesting.refusal == S_OK) {
      gNesting.refusal = inner.hr == DISP_E_EXCEPTION ? inner.scode : inner.hr;
      gNesting.other = CallWithin(gNesting.id, 8000, [](IDispatch* appl) {
        return Call(appl, L"SetInput", {Str(L"Hund"), Flag(true)}).hr;
      });
    }
    --depth_;
    value = L"depth " + std::to_wstring(depth);
    return inner.hr;
  }
  int depth_ = 0;
};

// Objects that call back 300 deep: the program refuses to nest its calls that deep with an error,
// and serves another client meanwhile.
TEST_F(Automation, CallsBackNestedTooDeepFailAndAnotherClientIsServedMeanwhile) {
  ASSERT_NO_FATAL_FAILURE(Serve());
  gNesting = Nesting{};
  gNesting.id = id_;
  const HRESULT hr = CallWithin(id_, kReactTimeoutMs, [](IDispatch* appl) {
    NestingObject nesting(appl);
    return Call(appl, L"Info", {nesting.Argument()}).hr;
  });
  EXPECT_NE(hr, E_PENDING) << "the first client has its answer";
  EXPECT_FALSE(SUCCEEDED(hr));
  EXPECT_LT(gNesting.deepest, NestingObject::kDeepest);
  EXPECT_EQ(gNesting.refusal, HRESULT_FROM_WIN32(ERROR_STACK_OVERFLOW)) << "nested too deep, said so";
  EXPECT_HRESULT_SUCCEEDED(gNesting.other) << "another client is served meanwhile";
  EXPECT_EQ(Call(appl_, L"GetInput").text, L"Hund");
  Quit();
}

// A message box of start-up waits for the user, and the calls with it: a client that asks for
// the application object meanwhile has its answer within 10 s, a refusal while the box stays; once
// the box is closed the program serves.
TEST_F(Automation, AClientDuringAStartUpMessageBoxIsAnsweredOrRefusedWithinTenSeconds) {
  ASSERT_NO_FATAL_FAILURE(RegisterServer());
  ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"Parlavent.Appl", &id_));
  const testing::KeptUserFiles kept;
  // A first start saves the program list, here a folder it cannot write: start-up says so in a box.
  struct ListFolder {
    std::wstring path = testing::UserFolder() + L"\\WhiteList.inf";
    ListFolder() {
      CreateDirectoryW(testing::UserFolder().c_str(), nullptr);
      DeleteFileW(path.c_str());
      CreateDirectoryW(path.c_str(), nullptr);
    }
    ~ListFolder() { RemoveDirectoryW(path.c_str()); }
  } folder;
  program_ = std::make_unique<Program>();
  ASSERT_TRUE(program_->Started());
  HWND box = testing::WaitForWindow(program_->Id(), L"#32770", kStartTimeoutMs);
  ASSERT_NE(box, nullptr) << "start-up tells that WhiteList.inf cannot be saved";

  const HRESULT hr = CallWithin(id_, 10000, [](IDispatch* appl) { return Call(appl, L"SetInput", {Str(L"Baum")}).hr; });
  EXPECT_NE(hr, E_PENDING) << "the client has its answer within 10 s";
  EXPECT_EQ(hr, RPC_E_CALL_REJECTED) << "refused while start-up waits for the user";

  PostMessageW(box, WM_COMMAND, IDOK, 0);
  main_ = WaitForMainWindow(program_->Id(), true, kStartTimeoutMs);
  ASSERT_NE(main_, nullptr);
  ASSERT_NO_FATAL_FAILURE(Connect());
  EXPECT_HRESULT_SUCCEEDED(Call(appl_, L"SetInput", {Str(L"Katze")}).hr);
  EXPECT_EQ(ControlText(GetDlgItem(main_, 201)), L"Katze");
  Quit();
}

// A modal dialog waits for the user: a client's call runs while it is open.
TEST_F(Automation, ClientCallsRunWhileTheSettingsDialogIsOpen) {
  ASSERT_NO_FATAL_FAILURE(Serve());
  PostMessageW(main_, WM_COMMAND, frmMain::kMenuBase + static_cast<UINT>(MenuItem::Setting), 0);
  HWND dialog = testing::WaitForWindow(program_->Id(), frmSetting::kClassName);
  ASSERT_NE(dialog, nullptr);
  EXPECT_HRESULT_SUCCEEDED(
      CallWithin(id_, 8000, [](IDispatch* appl) { return Call(appl, L"SetInput", {Str(L"Baum"), Flag(true)}).hr; }));
  EXPECT_EQ(ControlText(GetDlgItem(main_, 201)), L"Baum");
  PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
  EXPECT_TRUE(testing::WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
  Quit();
}

// Registered only after the program started, the program serves the first client that asks; a
// copy killed while it served leaves nothing in the way of the next one.
TEST_F(Automation, ServesAtOnceWhenRegisteredWhileRunningAndAgainAfterAKilledCopy) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_NO_FATAL_FAILURE(RegisterServer());
  ASSERT_NO_FATAL_FAILURE(Connect());
  EXPECT_HRESULT_SUCCEEDED(Call(appl_, L"SetInput", {Str(L"Hund")}).hr);
  appl_->Release();
  appl_ = nullptr;

  TerminateProcess(program_->Handle(), 1);
  ASSERT_EQ(program_->ExitCodeWithin(kReactTimeoutMs), 1u);
  program_.reset();
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_NO_FATAL_FAILURE(Connect());
  EXPECT_HRESULT_SUCCEEDED(Call(appl_, L"SetInput", {Str(L"Katze")}).hr);
  EXPECT_EQ(ControlText(GetDlgItem(main_, 201)), L"Katze") << "the new copy answers";
  Quit();
}

// The hidden start at logon with the start-up option off ends in start-up, after it offered its
// class object. It withdraws it as an orderly end does: a note of a server that is gone would have
// the next start under Wine restart the service keeping the class table, cutting off every other
// server of the session.
TEST_F(Automation, AHiddenStartThatEndsInStartUpWithdrawsItsServer) {
  {
    const testing::KeptUserFiles kept;
    CreateDirectoryW(testing::UserFolder().c_str(), nullptr);
    std::ofstream(std::filesystem::path(testing::UserFolder() + L"\\Parlavent.ini"), std::ios::binary)
        << "[Main]\r\nAutoStart=0\r\n";
    Program hidden(L"/h");
    ASSERT_TRUE(hidden.Started());
    ASSERT_EQ(hidden.ExitCodeWithin(kReactTimeoutMs), 0u) << "the hidden start ends";
  }
  wchar_t note[64] = {};
  DWORD size = sizeof(note);
  EXPECT_NE(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Parlavent\\Automation", L"Server", RRF_RT_REG_SZ, nullptr,
                         note, &size),
            ERROR_SUCCESS)
      << "left noted as serving: " << std::string(note, note + wcslen(note));
}

// A million characters through each member that shows text: the program takes what a paste would
// and answers at once, and its window goes on answering.
TEST_F(Automation, MillionCharacterTextsReturnAtOnce) {
  ASSERT_NO_FATAL_FAILURE(Serve());
  HWND main = main_;
  IDispatch* appl = appl_;
  std::wstring huge;
  for (int i = 0; huge.size() < 1000000; ++i) huge += (i % 7 ? L"Haus " : L"Hund\r\n");
  huge.resize(1000000);
  const struct {
    const wchar_t* member;
    std::vector<VARIANT> args;
  } calls[] = {{L"SetInput", {Str(huge.c_str())}},
               {L"SetOutPut", {Str(huge.c_str()), Int(1)}},
               {L"Info", {Str(huge.c_str())}},
               {L"ShowList", {Str(huge.c_str())}},
               {L"ShowABC", {Str(huge.c_str())}}};
  for (const auto& c : calls) {
    const DWORD start = GetTickCount();
    EXPECT_HRESULT_SUCCEEDED(Call(appl, c.member, c.args).hr) << c.member;
    EXPECT_LT(GetTickCount() - start, 20000u) << c.member << " keeps the program busy";
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer)) << c.member;
  }
  EXPECT_LE(Call(appl, L"GetInput").text.size(), 1000u);
  Quit();
}

TEST(AutomationTypeLibrary, ProgramCarriesTheTypeLibraryOfItsApplicationObject) {
  ITypeLib* lib = nullptr;
  ASSERT_HRESULT_SUCCEEDED(LoadTypeLibEx(testing::ProgramPath().c_str(), REGKIND_NONE, &lib));
  ITypeInfo* info = nullptr;
  USHORT found = 1;
  MEMBERID member = 0;
  wchar_t name[] = L"IAppl";
  ASSERT_HRESULT_SUCCEEDED(lib->FindName(name, 0, &info, &member, &found));
  ASSERT_EQ(found, 1);
  TYPEATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attr));
  EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FDUAL) << "scripts and early-bound clients alike";
  info->ReleaseTypeAttr(attr);
  for (const wchar_t* op : {L"GetTranslate", L"GetSimpleTrans", L"SetInput", L"GetInput", L"SetOutPut",
                            L"OpenBackTrans", L"PlugInInit", L"SendEvent", L"ShowTrans", L"SpeakText", L"ShowAbout",
                            L"GetWordTrans", L"WordExist", L"stat"}) {
    LPOLESTR n = const_cast<LPOLESTR>(op);
    MEMBERID mid = 0;
    EXPECT_HRESULT_SUCCEEDED(info->GetIDsOfNames(&n, 1, &mid)) << op;
  }
  info->Release();
  for (const wchar_t* type : {L"IclsDicLang", L"IclsDicLangItem", L"IclsDicSrc", L"IclsLinkItem", L"IclsUndo",
                              L"IclsVoice", L"ISetting", L"IItems", L"IWordSet", L"IclsMass", L"ITranslationSet",
                              L"IclsRechSet", L"IThemeItem", L"IclsCommItem", L"ITranslateItem", L"IclsStat",
                              L"IclsStatItem", L"IclsTheme"}) {
    ITypeInfo* other = nullptr;
    USHORT n = 1;
    MEMBERID id = 0;
    std::wstring typeName = type;
    EXPECT_HRESULT_SUCCEEDED(lib->FindName(typeName.data(), 0, &other, &id, &n)) << type;
    EXPECT_EQ(n, 1) << type;
    if (n == 1 && other) other->Release();
  }
  lib->Release();
}

}  // namespace
}  // namespace parlavent
