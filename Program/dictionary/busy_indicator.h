#pragma once
// The busy indicator a look-up drives while it works. The look-up declares what it needs of it;
// the application installs its window (Appl.frmBusy), and a look-up without one shows nothing.

namespace parlavent {

/// The busy indicator that follows the pointer while a look-up runs.
class BusyIndicator {
 public:
  virtual ~BusyIndicator() = default;
  virtual void Start() = 0;
  virtual void stopme() = 0;
  virtual void Unload() = 0;
};

}  // namespace parlavent
