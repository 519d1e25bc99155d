#pragma once
// The system's process-wide flags and values. They keep their names, but live in one object owned
// by the application object, so that every test starts from a fresh one.
//
// Each subsystem keeps its values in its own section below.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dictionary/engine_state.h"
#include "foundation/host.h"
#include "foundation/keyed_collection.h"

namespace parlavent {

class clsDic;
class clsLayer;
class clsPrefix;
class Setting;

// The dictionary engine's values come first, from EngineState, then foundation's.
struct ProcessState : EngineState, FoundationState {
  // ---- Application core ----------------------------------------------------------------------
  bool gUserTyped = false;
  bool gUndoReplay = false;
  std::int32_t gDicButtonCount = 0;
  std::int32_t gTwipsPerPixelX = 15;
  std::int32_t gTwipsPerPixelY = 15;
  std::int32_t gPrimaryButton = 1;
  std::int32_t gSecondaryButton = 2;
  float gDoubleClickTime = 0.5f;           // seconds

  // ---- Application core: start-up, single instance, shut-down, visibility, tray --------------
  std::vector<std::intptr_t> gLayouts;     // handles of the loaded keyboard layouts
  bool gOutpostFound = false;              // text capture must not inject
  bool gAvpFound = false;                  // Launch warns with notification 12
  bool gFirstShowFocus = false;            // the first ShowMe focuses the input box
  std::uintptr_t gReturnWindow = 0;        // outside window remembered by the capture poll
  // Notification IDs shown once this run ("k" & ID), and the last balloon shown.
  KeyedCollection<std::int32_t> gShownNotifications;
  double gLastNotifyID = 0;
  bool gLastNotifyClickable = false;
  bool gProgressCancel = false;            // the progress window's Cancel was pressed
  std::shared_ptr<class clsProccess> gProccess;  // process watcher, made on first use

  // ---- Application core: view history, word lists and alphabet -------------------------------
  std::u16string gListArg;                 // the argument of the list last shown
  std::u16string gListKind;                // "List", "AllList" or "abc"
  bool gEscUsed = false;                   // a phrase search is running
  std::int16_t gSpeakTarget = 0;           // what speech acts on; 3 = the alphabet list

  // ---- Application core: the main window's controls, toolbars, menus, timers -----------------
  bool gSpeakingWordSet = false;           // speech reads the last result
  bool gNoHighlight = false;
  bool gLastOnForm = false;                // speech was started from the main window
  std::int16_t gSpeakOffset = 0;
  std::int16_t gPendingSpeakTarget = 0;
  bool gLrnPaused = false;
  std::int32_t gDockMode = 0;              // keyboard docking: 0 off, 1 below left, 2 below right
  long gLastCursorX = 0, gLastCursorY = 0; // where the last popup was shown

  // ---- Application core: main-window services, result output, link dispatch, menus, help -----
  std::shared_ptr<class clsLinkItem> gCurLink;  // the link of the last LinkHandler call
  std::int32_t gLinkHoverPointX = 0;       // pointer position at the last rest on a link (pixels)
  std::int32_t gLinkHoverPointY = 0;
  std::uintptr_t gLastForeground = 0;      // last outside foreground window (capture poll)
  bool gNoLrnSpeak = false;                // the learning cards keep quiet (settings dialog open)
  std::shared_ptr<class PlugInObject> gPlugIn;
  std::shared_ptr<class PlugInObject> gHint;

  // ---- Neighbours ----------------------------------------------------------------------------
  // Keyboard layers by language code and layout-switch prefixes by text, filled by InitDics.
  KeyedCollection<std::shared_ptr<clsLayer>> gLayers;
  KeyedCollection<std::shared_ptr<clsPrefix>> gPrefixes;
  std::shared_ptr<struct CaptureMemory> gCaptureMemory;  // the capture side's caches, made on first use
};

}  // namespace parlavent
