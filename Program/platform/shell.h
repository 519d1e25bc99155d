#pragma once
// The shell, message boxes, sounds and the message pump, as the core uses them. The shell
// installs the Win32 implementations; natively quiet defaults stand in (nothing opens, a box is
// answered as if dismissed) and tests install fakes that record what was asked.
#include <memory>
#include <string>
#include <string_view>

namespace parlavent {

class Shell {
 public:
  virtual ~Shell() = default;
  /// Opens the document with its default verb in a normal window. Above 32: success; otherwise
  /// the system's error code (0 out of memory, 2 file not found, 3 path not found, 11 bad format,
  /// 31 no association, ...).
  virtual int Open(std::u16string_view file) = 0;
  /// Starts the system's "Open With" dialog for the file.
  virtual void OpenWith(std::u16string_view file) = 0;
  /// Stops any sound, then plays the named sound event asynchronously; nothing when the event
  /// has no sound.
  virtual void PlaySoundAlias(std::u16string_view name) = 0;
};

// Message box styles and answers, with the values Windows gives them.
constexpr int kMbOk = 0;
constexpr int kMbOkCancel = 1;
constexpr int kMbYesNoCancel = 3;
constexpr int kMbYesNo = 4;
constexpr int kMbIconCritical = 16;
constexpr int kMbIconQuestion = 32;
constexpr int kMbIconExclamation = 48;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  /// Shows a modal box and returns the button chosen (kIdOk, kIdYes, ...).
  virtual int Show(std::u16string_view text, std::u16string_view title, int style) = 0;
};

class MessagePump {
 public:
  virtual ~MessagePump() = default;
  /// Dispatches the messages waiting for this thread (the runtime's DoEvents).
  virtual void DoEvents() = 0;
  virtual void Sleep(int milliseconds) = 0;
};

Shell& SystemShell();
MessageBoxes& Boxes();
MessagePump& Pump();
/// Installs a service (nullptr restores the quiet default).
void SetSystemShell(std::shared_ptr<Shell> shell);
void SetBoxes(std::shared_ptr<MessageBoxes> boxes);
void SetPump(std::shared_ptr<MessagePump> pump);

}  // namespace parlavent
