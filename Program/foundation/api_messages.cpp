#include "foundation/api_messages.h"

#include <chrono>
#include <cmath>

#include "foundation/api_input.h"
#include "platform/shell.h"
#include "platform/system_info.h"
#include "text/text.h"

namespace parlavent::API {
namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point& TimingStart() {
  static Clock::time_point start = Clock::now();
  return start;
}

std::u16string TitleOrProgram(std::u16string_view title) {
  return title.empty() ? System().Title() : std::u16string(title);
}

}  // namespace

bool ShowErrorMessage(const ErrObject* err, std::u16string_view message, bool critical, int extraButtons, int* answer,
                      std::u16string_view title) {
  if (err && err->Number == 0) return false;
  const std::u16string caption = TitleOrProgram(title) + u" - Error";
  const int style = extraButtons + (critical ? kMbIconCritical : kMbIconExclamation);
  std::u16string text(message);
  if (err) {
    text += u"\r\r" + err->Description + u"\r\rModule: " + err->Source + u"\rError " + NumberText(err->Number);
  }
  const int chosen = Boxes().Show(text, caption, style);
  if (answer) *answer = chosen;
  return true;
}

bool ConfirmYesNo(std::u16string_view prompt, std::u16string_view title, bool skipWithShift) {
  if (skipWithShift && IsShiftDown()) return true;
  return Boxes().Show(prompt, TitleOrProgram(title), kMbYesNo + kMbIconQuestion) == kIdYes;
}

void WaitSeconds(double seconds, const bool* cancel) {
  const Clock::time_point start = Clock::now();
  const auto elapsed = [start] { return std::chrono::duration<double>(Clock::now() - start).count(); };
  while (elapsed() <= seconds && !(cancel && *cancel)) {
    Pump().Sleep(10);
    Pump().DoEvents();
  }
}

void StartTiming() { TimingStart() = Clock::now(); }

double GetElapsed(double count, double* rate) {
  const Clock::time_point now = Clock::now();
  const double seconds = std::round(std::chrono::duration<double>(now - TimingStart()).count() * 1e6) / 1e6;
  if (rate) *rate = seconds > 0 ? std::round(count / seconds * 1e6) / 1e6 : 0;
  TimingStart() = now;
  return seconds;
}

}  // namespace parlavent::API
