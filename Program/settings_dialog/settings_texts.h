#pragma once
// The entries of lang.dat that the settings dialog shows (the texts are in
// Program/resources/lang.tsv, 400-519). The dialog's caption is entry 400; its help button uses
// the menu's "Help" (entry 13).
#include <cstdint>

namespace parlavent::lang {

constexpr std::int32_t kSetCaption = 400;
constexpr std::int32_t kSetPageFirst = 401;  // General .. Programs: 401 .. 406
constexpr std::int32_t kSetCancel = 407;
constexpr std::int32_t kSetOK = 408;
constexpr std::int32_t kSetAutoStart = 410;
constexpr std::int32_t kSetLanguage = 411;
constexpr std::int32_t kSetTopMost = 412;
constexpr std::int32_t kSetSysTray = 413;
constexpr std::int32_t kSetSysTrayKeyb = 414;
constexpr std::int32_t kSetRestore = 415;
constexpr std::int32_t kSetShowTooltips = 416;
constexpr std::int32_t kSetClickSnd = 417;
constexpr std::int32_t kSetTrlMode = 418;        // options 419 .. 421
constexpr std::int32_t kSetTrlSound = 422;
constexpr std::int32_t kSetHotKey = 430;
constexpr std::int32_t kSetKeyAction = 432;      // options 433 .. 435
constexpr std::int32_t kSetGestureKey = 436;
constexpr std::int32_t kSetByPoint = 437;
constexpr std::int32_t kSetByClick = 438;
constexpr std::int32_t kSetByDblClick = 439;
constexpr std::int32_t kSetBySelect = 440;
constexpr std::int32_t kSetTTHide = 441;
constexpr std::int32_t kSetShowNoTrans = 442;
constexpr std::int32_t kSetAero = 443;
constexpr std::int32_t kSetAllowShort = 445;
constexpr std::int32_t kSetShowTranscript = 446;
constexpr std::int32_t kSetNoDirForType = 447;
constexpr std::int32_t kSetFont = 450;
constexpr std::int32_t kSetHintBG = 451;
constexpr std::int32_t kSetHintBrd = 452;
constexpr std::int32_t kSetButtons = 453;
constexpr std::int32_t kSetDefVoice = 460;
constexpr std::int32_t kSetVoice = 461;
constexpr std::int32_t kSetVoiceSpeed = 462;
constexpr std::int32_t kSetVoiceVolume = 463;
constexpr std::int32_t kSetLangVoice = 464;
constexpr std::int32_t kSetNoVoices = 465;
constexpr std::int32_t kSetSpkClip = 466;
constexpr std::int32_t kSetSpkTrans = 467;
constexpr std::int32_t kSetSpkTransWord = 468;
constexpr std::int32_t kSetSpkHideTrans = 469;
constexpr std::int32_t kSetSpkPage = 470;
constexpr std::int32_t kSetSpkSel = 471;
constexpr std::int32_t kSetSpkLearner = 472;
constexpr std::int32_t kSetLrnSource = 480;      // options 481 .. 484
constexpr std::int32_t kSetLrnNL = 485;
constexpr std::int32_t kSetLrnNM = 486;
constexpr std::int32_t kSetLrnInt = 487;
constexpr std::int32_t kSetLrnTransp = 488;
constexpr std::int32_t kSetLrnFont = 489;
constexpr std::int32_t kSetLrnBC = 490;
constexpr std::int32_t kSetLrnFC = 491;
constexpr std::int32_t kSetLrnRandom = 492;
constexpr std::int32_t kSetLrnDir1 = 493;
constexpr std::int32_t kSetLrnDir2 = 494;
constexpr std::int32_t kSetLrnFirst = 495;
constexpr std::int32_t kSetLrnTop = 496;
constexpr std::int32_t kSetLrnTR = 497;
constexpr std::int32_t kSetLrnSimpleWord = 498;
constexpr std::int32_t kSetWhiteList = 500;
constexpr std::int32_t kSetBadNumber = 510;
constexpr std::int32_t kSetBadFontSize = 511;
constexpr std::int32_t kSetBadHotKey = 512;
constexpr std::int32_t kSetSaveFailed = 513;

}  // namespace parlavent::lang
