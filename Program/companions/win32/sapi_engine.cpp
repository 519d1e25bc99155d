#include "companions/win32/sapi_engine.h"

#include <windows.h>
#include <sapi.h>

#include <cstdint>
#include <vector>

namespace parlavent {
namespace {

constexpr UINT kSpeechEvent = WM_APP + 40;
constexpr wchar_t kEventWindowClass[] = L"ParlaventSpeechEvents";

// A COM interface pointer with one owner.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
  ~ComPtr() { Reset(); }
  void Reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  T** Out() {
    Reset();
    return &p_;
  }
  T* operator->() const { return p_; }
  T* get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

std::u16string FromWide(const wchar_t* s) {
  if (!s) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(s));
}

std::u16string TokenString(ISpDataKey* key, const wchar_t* name) {
  wchar_t* value = nullptr;
  if (!key || FAILED(key->GetStringValue(name, &value)) || !value) return {};
  std::u16string text = FromWide(value);
  CoTaskMemFree(value);
  return text;
}

// Events carry their own allocations, which whoever takes an event frees.
void ClearEvent(SPEVENT& e) {
  if (e.elParamType == SPET_LPARAM_IS_POINTER || e.elParamType == SPET_LPARAM_IS_STRING) {
    CoTaskMemFree(reinterpret_cast<void*>(e.lParam));
  } else if (e.elParamType == SPET_LPARAM_IS_TOKEN || e.elParamType == SPET_LPARAM_IS_OBJECT) {
    if (auto* unknown = reinterpret_cast<IUnknown*>(e.lParam)) unknown->Release();
  }
}

class Sapi5Engine final : public SpeechEngine {
 public:
  bool Start() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice,
                                reinterpret_cast<void**>(voice_.Out())))) {
      return false;
    }
    EnumerateTokens();
    events_ = MakeEventWindow();
    if (events_) {
      const ULONGLONG interest = (1ULL << SPEI_WORD_BOUNDARY) | (1ULL << SPEI_END_INPUT_STREAM);
      voice_->SetInterest(interest, interest);
      voice_->SetNotifyWindowMessage(events_, kSpeechEvent, 0, 0);
    }
    return true;
  }

  ~Sapi5Engine() override {
    if (voice_) voice_->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
    for (ISpObjectToken* t : tokens_) t->Release();
    voice_.Reset();
    if (events_) DestroyWindow(events_);
  }

  std::vector<EngineVoice> Voices() override { return voices_; }

  std::uint32_t Speak(std::size_t voice, std::u16string_view text, std::int32_t rate, std::int32_t volume) override {
    if (!voice_ || voice >= tokens_.size()) return 0;
    if (FAILED(voice_->SetVoice(tokens_[voice]))) return 0;
    voice_->SetRate(rate);
    voice_->SetVolume(static_cast<USHORT>(volume));
    const std::wstring wide(text.begin(), text.end());
    ULONG stream = 0;
    if (FAILED(voice_->Speak(wide.c_str(), SPF_ASYNC | SPF_PURGEBEFORESPEAK | SPF_IS_NOT_XML, &stream))) return 0;
    // The server counts its readings from 1; a server that names none still started one.
    return stream != 0 ? static_cast<std::uint32_t>(stream) : ++unnumbered_;
  }

  void Stop() override {
    if (voice_) voice_->Speak(nullptr, SPF_ASYNC | SPF_PURGEBEFORESPEAK, nullptr);
  }

  bool IsSpeaking() override {
    SPVOICESTATUS status{};
    if (!voice_ || FAILED(voice_->GetStatus(&status, nullptr))) return false;
    return status.dwRunningState == SPRS_IS_SPEAKING;
  }

 private:
  void EnumerateTokens() {
    ComPtr<ISpObjectTokenCategory> category;
    if (FAILED(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL, IID_ISpObjectTokenCategory,
                                reinterpret_cast<void**>(category.Out())))) {
      return;
    }
    if (FAILED(category->SetId(SPCAT_VOICES, FALSE))) return;
    // The voice the server speaks with unless told otherwise.
    std::u16string defaultId;
    ISpObjectToken* current = nullptr;
    if (SUCCEEDED(voice_->GetVoice(&current)) && current) {
      wchar_t* id = nullptr;
      if (SUCCEEDED(current->GetId(&id)) && id) {
        defaultId = FromWide(id);
        CoTaskMemFree(id);
      }
      current->Release();
    }
    ComPtr<IEnumSpObjectTokens> tokens;
    if (FAILED(category->EnumTokens(nullptr, nullptr, tokens.Out())) || !tokens) return;
    ISpObjectToken* token = nullptr;
    ULONG fetched = 0;
    while (tokens->Next(1, &token, &fetched) == S_OK && token) {
      EngineVoice v;
      v.Name = TokenString(token, nullptr);
      wchar_t* id = nullptr;
      if (SUCCEEDED(token->GetId(&id)) && id) {
        v.ID = FromWide(id);
        CoTaskMemFree(id);
        v.Default = !defaultId.empty() && v.ID == defaultId;
      }
      ComPtr<ISpDataKey> attributes;
      if (SUCCEEDED(token->OpenKey(L"Attributes", attributes.Out()))) {
        v.Lang = TokenString(attributes.get(), L"Language");
        if (v.Name.empty()) v.Name = TokenString(attributes.get(), L"Name");
      }
      // A token that names no voice is none a user could choose (Wine lists one such, which
      // cannot speak).
      if (v.Name.empty()) {
        token->Release();
      } else {
        voices_.push_back(std::move(v));
        tokens_.push_back(token);
      }
      token = nullptr;
    }
  }

  HWND MakeEventWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &Sapi5Engine::EventProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kEventWindowClass;
    RegisterClassW(&wc);
    HWND w = CreateWindowExW(0, kEventWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    if (w) SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return w;
  }

  static LRESULT CALLBACK EventProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != kSpeechEvent) return DefWindowProcW(hwnd, msg, wp, lp);
    auto* self = reinterpret_cast<Sapi5Engine*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    try {
      if (self) self->DrainEvents();
    } catch (...) {
    }
    return 0;
  }

  void DrainEvents() {
    if (!voice_) return;
    SPEVENT e{};
    ULONG fetched = 0;
    while (voice_->GetEvents(1, &e, &fetched) == S_OK && fetched == 1) {
      const auto id = static_cast<SPEVENTENUM>(e.eEventId);
      const auto start = static_cast<std::int32_t>(e.lParam);
      const auto length = static_cast<std::int32_t>(e.wParam);
      const auto stream = static_cast<std::uint32_t>(e.ulStreamNum);
      ClearEvent(e);
      if (id == SPEI_WORD_BOUNDARY && OnWord) OnWord(stream, start, length);
      if (id == SPEI_END_INPUT_STREAM && OnEnd) OnEnd(stream);
    }
  }

  ComPtr<ISpVoice> voice_;
  std::vector<ISpObjectToken*> tokens_;
  std::vector<EngineVoice> voices_;
  HWND events_ = nullptr;
  std::uint32_t unnumbered_ = 0x80000000u;
};

}  // namespace

std::shared_ptr<SpeechEngine> StartSapi5() {
  auto engine = std::make_shared<Sapi5Engine>();
  if (!engine->Start()) return nullptr;
  return engine;
}

}  // namespace parlavent
