#include "foundation/hot_keys.h"

#include <cmath>

#include "foundation/api_input.h"
#include "foundation/host.h"
#include "foundation/lang_table.h"
#include "platform/clock.h"

namespace parlavent {
namespace {

bool Within(double then, double now) { return std::fabs(then - now) < HotKeyCapture::kTapLimit; }

}  // namespace

int HotKeyCapture::Track(Modifier& m, bool down, double now) {
  if (down == m.down) return 0;
  int count = 3;
  if (!down) {
    count = 0;
    const bool tap = Within(m.lastChange, now);
    if (tap) count = Within(m.lastRelease, now) ? 2 : 1;
    // Ctrl remembers every release, so a long press followed by one tap is a double Ctrl too.
    if (tap || !m.releaseOnTapOnly) m.lastRelease = now;
    // The tap after a double starts a gesture of its own: three quick taps are one hot key.
    if (count == 2) m.lastRelease = kLongAgo;
  }
  m.down = down;
  m.lastChange = now;
  return count;
}

int HotKeyCapture::Replay(Modifier& m, double now) {
  int count = 0;
  for (const API::KeyPoll::Step& step : keys_.Steps(m.code, now)) {
    const int c = Track(m, step.down, step.at);
    // A double among the steps is what this poll found; else the last thing that happened.
    if (c != 0 && count != 2) count = c;
  }
  return count;
}

int HotKeyCapture::TrackOtherKey(long key, double now) {
  // The stored flag reads -1 while a key is down, never equal to a key code: so this runs on
  // every poll while a key is held and once on its release. The last change is renewed on each
  // of those polls, which makes every release of an ordinary key a tap.
  if (key == 0 && !otherDown_) return 0;
  int count = 0;
  if (key == 0) {
    if (Within(otherLastChange_, now)) {
      count = Within(otherLastTapRelease_, now) ? 2 : 1;
      otherLastTapRelease_ = count == 2 ? kLongAgo : now;
    }
  } else {
    lastKey_ = key;
  }
  otherDown_ = key != 0;
  otherLastChange_ = now;
  return count;
}

bool HotKeyCapture::Poll(double now, long& keyCode, long& modifier, bool& isDouble) {
  // The keys are read as the system has them now (not as this thread's messages last saw them): the
  // hot key is pressed while another program has the keyboard.
  const int other = TrackOtherKey(keys_.AnyDown(API::kVkMenu, API::kVkShift, API::kVkControl), now);
  // Each change of a modifier since the last poll counts at its own time: two taps between two
  // polls (a poll held up by a capture) are a double, however long the poll waited.
  const int ctrl = Replay(ctrl_, now);
  const int alt = Replay(alt_, now);
  const int shift = Replay(shift_, now);

  long code = 0;
  long mod = 0;
  bool dbl = false;
  if (ctrl == 2 || alt == 2 || shift == 2) {
    code = ctrl == 2 ? ctrl_.code : alt == 2 ? alt_.code : shift_.code;
    dbl = true;
  } else if (other != 0) {
    dbl = other == 2;
    code = lastKey_;
    mod = shift_.down ? shift_.code : ctrl_.down ? ctrl_.code : alt_.down ? alt_.code : 0;
  }
  if ((mod == 0 && !dbl) || mdlPublic::KeyName(code).empty()) return false;
  keyCode = code;
  modifier = mod;
  isDouble = dbl;
  return true;
}

namespace mdlPublic {

void GetPressedHotKey(long& keyCode, long& modifier, bool& isDouble) {
  auto& capture = ProcessValues().gHotKeyCapture;
  if (!capture) capture = std::make_shared<HotKeyCapture>();
  capture->Poll(SystemClock().Timer(), keyCode, modifier, isDouble);
}

std::u16string KeyName(long vk) {
  switch (vk) {
    case 8: return u"BackSpace";
    case 9: return u"Tab";
    case 12: return u"Clear";
    case 13: return u"Enter";
    case 16: return u"Shift";
    case 17: return u"Ctrl";
    case 18: return u"Alt";
    case 19: return u"Pause";
    case 20: return u"Caps Lock";
    case 27: return u"Esc";
    case 32: return u"Space";
    case 33: return u"Page Up";
    case 34: return u"Page Down";
    case 35: return u"End";
    case 36: return u"Home";
    case 37: return u"Left";
    case 38: return u"Up";
    case 39: return u"Right";
    case 40: return u"Down";
    case 41: return u"Select";
    case 42: return u"Print";
    case 43: return u"Execute";
    case 44: return u"PrntScrn";
    case 45: return u"Insert";
    case 46: return u"Delete";
    case 47: return u"Help";
    case 106: return u"*";
    case 107: return u"+";
    case 108: return u"Enter";
    case 109: return u"-";
    case 110: return u".";
    case 111: return u"/";
    default: break;
  }
  if ((vk >= 48 && vk <= 57) || (vk >= 65 && vk <= 90)) return std::u16string(1, static_cast<char16_t>(vk));
  if (vk >= 96 && vk <= 105) return std::u16string(1, static_cast<char16_t>(u'0' + (vk - 96)));
  if (vk >= 112 && vk <= 127) return u"F" + NumberText(vk - 111);
  return {};
}

}  // namespace mdlPublic
}  // namespace parlavent

// ---- Texts --------------------------------------------------------------------------------------

namespace parlavent::mdlPublic {

std::u16string GetHotKeyText(long keyCode, long modifier, bool isDouble) {
  if (keyCode == 0) return {};
  std::u16string text;
  if (modifier != 0) text = KeyName(modifier) + u" + ";
  if (isDouble) text += GetLangStr(254) + u" ";
  return text + KeyName(keyCode);
}

std::u16string GetHotKeysHelp(bool ctrl, bool shift, bool alt, bool exampleShown, long keyAction, bool byPoint,
                              bool byClick, bool byDblClick, bool bySelect) {
  const std::u16string key = ctrl ? u"Ctrl" : alt ? u"Alt" : shift ? u"Shift" : u"";
  const std::u16string start = GetLangStr(240) + u"\r\n";
  const std::u16string mouse = byPoint ? GetLangStr(242) : byClick ? GetLangStr(243) : u"";
  const std::u16string gap = u"\r\n\r\n" + GetLangStr(241) + u"\r\n";
  std::u16string tail;
  if (byDblClick) tail = GetLangStr(245) + (bySelect ? GetLangStr(252) : u"");
  if (bySelect) tail += GetLangStr(244);
  const std::u16string block1 = GetLangStr(248) + u" " + key + GetLangStr(246);
  const std::u16string block2 = GetLangStr(247) + u" " + key + GetLangStr(246);
  const std::u16string block3 = GetLangStr(246) + GetLangStr(248) + u" " + key;
  // The second half explains the selection gestures; without them the text ends early.
  const bool more = byDblClick || bySelect;

  if (exampleShown) return start + mouse + (more ? gap + tail : u"");
  switch (keyAction) {
    case 1: return start + block1 + mouse + (more ? gap + block1 + tail : u"");
    case 2: return start + block2 + mouse + (more ? gap : u"");
    case 3: return start + mouse + block3 + (more ? gap + tail + block3 : u"");
    default: return start + (more ? gap : u"");
  }
}

}  // namespace parlavent::mdlPublic
