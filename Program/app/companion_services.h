#pragma once
// What speech, the on-screen keyboard, layout switching, the learning cards and the statistics ask
// of the platform: the speech server, their windows, their tray icons and the keyboard layouts.
// The shell installs its Win32 side on Appl.Companion (companions/win32/); tests install a fake.
// The application holds it and docks the keyboard window by it (DockBelow, companions/keyboard.cpp).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/keyboard_layers.h"
#include "platform/geometry.h"

namespace parlavent {

class clsStatItem;

/// One voice as the speech server lists it.
struct EngineVoice {
  std::u16string Name;
  std::u16string Lang;   // the voice's language as the server states it ("409" for US English)
  std::u16string ID;     // the server's identifier of the voice
  bool Default = false;  // the server's own default voice
};

/// A speech server: its voices, and one text read aloud at a time without waiting for it.
class SpeechEngine {
 public:
  virtual ~SpeechEngine() = default;
  virtual std::vector<EngineVoice> Voices() = 0;
  /// Starts reading text with the voice at position voice of Voices(); rate -10 .. 10, volume
  /// 0 .. 100. The number of the reading, which its events carry; 0 when the server refused
  /// (speech stays silent).
  virtual std::uint32_t Speak(std::size_t voice, std::u16string_view text, std::int32_t rate,
                              std::int32_t volume) = 0;
  virtual void Stop() = 0;
  virtual bool IsSpeaking() = 0;
  /// Each word as it is spoken: the reading's number, the word's start and length in its text.
  /// A reading stopped by the next one may still report after the next has begun.
  std::function<void(std::uint32_t stream, std::int32_t start, std::int32_t length)> OnWord;
  /// The reading has come to its end, or failed on the way.
  std::function<void(std::uint32_t stream)> OnEnd;
};

/// frmStat: the statistics window.
class StatWindow {
 public:
  virtual ~StatWindow() = default;
  /// Shows the words in the order given, each with its count, and brings the window up.
  virtual void ShowList(const std::vector<std::shared_ptr<clsStatItem>>& items) = 0;
  /// A double-click on a word (installed by Appl.ShowStat).
  std::function<void(std::u16string_view word)> OnChoose;
};

/// frmKeyb: the on-screen keyboard with its language labels (KeyboardForm).
class KeyboardWindow : public KeyboardForm {
 public:
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual bool Visible() = 0;
  virtual WindowHandle Handle() = 0;
  /// The layer shown (1-based in gLayers), 0 for none.
  virtual std::int32_t CurrentLayer() = 0;
  /// A key clicked: the character it types (installed by Appl.ShowKeyb).
  std::function<void(char16_t ch)> OnKey;
};

/// Docks the keyboard window (now at k) right below main and as wide as it (its height follows
/// its keys): mode 1 aligned with main's left edge, 2 with its right edge.
void DockBelow(WindowHandle keyb, const Rect& main, const Rect& k, std::int32_t mode);

/// What one learning card shows.
struct LearnCard {
  std::u16string Word;
  std::u16string Transcription;   // empty: none shown
  std::u16string Translation;
  std::u16string FontName;
  std::int32_t FontSize = 10;
  bool Bold = false, Italic = false, TopMost = true;
  std::int32_t BackColor = 0, ForeColor = 0xFFFFFF;   // blue-green-red
  std::int32_t Transparency = 0;                      // percent
};

/// frmLearn: the learning-card window.
class LearnWindow {
 public:
  virtual ~LearnWindow() = default;
  virtual void ShowCard(const LearnCard& card) = 0;
  virtual void Close() = 0;
  virtual bool Visible() = 0;
  /// The user closed the window (installed by Appl.StartLearn).
  std::function<void()> OnClosed;
  /// The pointer rests on the card (pauses the cards) or has left it.
  std::function<void(bool)> OnHover;
};

/// The companions' side of the platform.
class CompanionServices {
 public:
  virtual ~CompanionServices() = default;
  /// Starts the speech server; nullptr when there is none.
  virtual std::shared_ptr<SpeechEngine> StartSpeech() = 0;
  /// The windows, each made on first use (nullptr when it cannot be made).
  virtual StatWindow* Stat() = 0;
  virtual KeyboardWindow* Keyb() = 0;
  virtual LearnWindow* Learn() = 0;
  /// A tray icon of the main window (kSpkTrayIcon, kKeybTrayIcon) added with its tip, or removed;
  /// false when there is no main window to carry it.
  virtual bool TrayIcon(std::uint32_t id, bool show, std::u16string_view tip) = 0;
  /// The keyboard layout of the window with the focus (0 when unknown).
  virtual std::intptr_t ForegroundLayout() = 0;
  /// Switches the input box's thread to layout.
  virtual void ActivateLayout(std::intptr_t layout) = 0;
  /// The sound that tells the user the layout was switched.
  virtual void PlaySwitchSound() = 0;
};

}  // namespace parlavent
