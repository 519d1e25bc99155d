#pragma once
// The API module's standard message boxes, the wait with the message pump and the diagnostic
// timing pair.
#include <string>
#include <string_view>

namespace parlavent::API {

/// What the program knows of an error: its number, the system's description and where it arose.
struct ErrObject {
  long Number = 0;
  std::u16string Description;
  std::u16string Source;
};

/// Shows message (with err: and the error's description, module and number) in a box titled
/// title (the program title when empty) & " - Error", critical or exclamation icon, plus
/// extraButtons. An err with number 0 shows nothing. answer receives the button; true when a box
/// was shown.
bool ShowErrorMessage(const ErrObject* err, std::u16string_view message, bool critical = false,
                      int extraButtons = 0, int* answer = nullptr, std::u16string_view title = {});

/// A Yes/No question; true for Yes. With skipWithShift and Shift held: true without asking.
bool ConfirmYesNo(std::u16string_view prompt, std::u16string_view title = {}, bool skipWithShift = false);

/// Waits, pumping messages every 10 ms, until more than seconds have passed or *cancel is true.
void WaitSeconds(double seconds, const bool* cancel = nullptr);

/// Diagnostic timing: StartTiming takes the time; GetElapsed gives the seconds since then (rounded
/// to 6 decimals; with count, count / seconds in rate) and starts the next lap.
void StartTiming();
double GetElapsed(double count = 0, double* rate = nullptr);

}  // namespace parlavent::API
