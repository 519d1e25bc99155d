#pragma once
// The dictionary engine's process-wide values. The process state (app/process_state.h) is made of
// them, so the names the rest of the program uses (G().gUnicode, app.State.gCurDic, ...) read the
// same values; the engine's own classes (dictionary/package_files.h, dictionary/searches.h) are
// given this part alone.
#include <cstdint>
#include <memory>

namespace parlavent {

class clsDic;

struct EngineState {
  std::shared_ptr<clsDic> gCurDic;  // the current dictionary, also Appl.Dic
  bool gNotRepeatTrans = false;     // the look-up was not asked again for the extended translation
  std::int32_t gTextDir = 0;        // the side a refused look-up asked for
  bool gListAbort = false;          // a new look-up stops the running word-list search
  bool gFillAbort = false;          // ... and the filling of the word list
  bool gUnicode = false;            // the Unicode flag: key form and text decoding of the package read last
};

}  // namespace parlavent
