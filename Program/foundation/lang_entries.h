#pragma once
// The entries of the interface-language table (lang.dat) that the program shows, by number. The
// texts live in Program/resources/lang.tsv; a test checks that every entry listed here has a text
// in every language.
#include <cstdint>

namespace parlavent::lang {

constexpr std::int32_t kLanguageNames = 0;      // the languages' names, one per column
constexpr std::int32_t kAnsiTest = 1;           // per language: a text its code page must hold
constexpr std::int32_t kTipTrans = 2;
constexpr std::int32_t kTipCopy = 3;
constexpr std::int32_t kTipPaste = 6;
constexpr std::int32_t kTipBack = 7;
constexpr std::int32_t kTipMenu = 8;
constexpr std::int32_t kMenuShow = 9;
constexpr std::int32_t kMenuHide = 10;
constexpr std::int32_t kMenuAbout = 12;
constexpr std::int32_t kMenuHelp = 13;
constexpr std::int32_t kMenuSetting = 14;
constexpr std::int32_t kMenuExit = 15;
constexpr std::int32_t kMenuCopy = 16;
constexpr std::int32_t kMenuBackTrans = 17;
constexpr std::int32_t kInfoCopied = 25;
constexpr std::int32_t kInfoNothingTranslated = 35;
constexpr std::int32_t kInputPlaceholder = 38;
constexpr std::int32_t kInfoClickToCopy = 47;
constexpr std::int32_t kNoTranslation = 50;
constexpr std::int32_t kAboutWords = 65;
constexpr std::int32_t kTipMode = 81;
constexpr std::int32_t kSite = 113;
constexpr std::int32_t kTrayTipManual = 119;
constexpr std::int32_t kTrayTipAuto = 120;
constexpr std::int32_t kMenuKeyb = 123;
constexpr std::int32_t kInfoNothingFound = 127;
constexpr std::int32_t kInfoShown = 129;
constexpr std::int32_t kInfoWords = 130;
constexpr std::int32_t kInfoDirectionFilter = 133;
constexpr std::int32_t kInfoBothDirections = 135;
constexpr std::int32_t kTipDictionary = 138;
constexpr std::int32_t kNotifyLayoutCorrected = 141;
constexpr std::int32_t kEmail = 145;
constexpr std::int32_t kNotifyWrongDirection = 150;
constexpr std::int32_t kMenuStat = 161;
constexpr std::int32_t kStatWord = 162;
constexpr std::int32_t kStatCount = 163;
constexpr std::int32_t kMenuLearn = 164;
constexpr std::int32_t kInfoSearching = 187;
constexpr std::int32_t kLinkExtTransOnForm = 193;
constexpr std::int32_t kLinkGoBack = 194;
constexpr std::int32_t kTipAbc = 199;
constexpr std::int32_t kAlphabet = 200;
constexpr std::int32_t kTipRedo = 201;
constexpr std::int32_t kLinkAllList = 202;
constexpr std::int32_t kNotifyClickHint = 210;
constexpr std::int32_t kNotifyManualMode = 211;
constexpr std::int32_t kNotifyAutoMode = 212;
constexpr std::int32_t kNotifyLayoutSwitched = 213;
constexpr std::int32_t kInfoClickToCopyWord = 221;
constexpr std::int32_t kInfoExtTransExists = 222;
constexpr std::int32_t kInfoEnterToPaste = 223;
constexpr std::int32_t kHelpStart = 240;
constexpr std::int32_t kHelpSelectionStart = 241;
constexpr std::int32_t kHelpByPoint = 242;
constexpr std::int32_t kHelpByClick = 243;
constexpr std::int32_t kHelpBySelect = 244;
constexpr std::int32_t kHelpByDblClick = 245;
constexpr std::int32_t kHelpThen = 246;
constexpr std::int32_t kHelpPress = 247;
constexpr std::int32_t kHelpHoldDown = 248;
constexpr std::int32_t kHelpOr = 252;
constexpr std::int32_t kHotKeyDouble = 254;
constexpr std::int32_t kMenuTL = 255;
constexpr std::int32_t kSpeak = 265;
constexpr std::int32_t kTipStopSpeaking = 266;
constexpr std::int32_t kMenuTransClip = 277;
constexpr std::int32_t kMenuSpeakClip = 278;
constexpr std::int32_t kTipNoVoices = 283;
constexpr std::int32_t kTipNoSpeech = 284;
constexpr std::int32_t kNoDictionary = 295;
constexpr std::int32_t kMenuStopSpeaking = 296;
constexpr std::int32_t kNotifyCannotRead = 300;
constexpr std::int32_t kNotifyAntivirus = 306;
constexpr std::int32_t kLinkExtTransPopup = 307;
constexpr std::int32_t kMenuPam = 308;
constexpr std::int32_t kInfoDicsSkipped = 331;
constexpr std::int32_t kInfoCannotSave = 332;
constexpr std::int32_t kInfoInputCut = 333;
constexpr std::int32_t kInfoFilesKept = 336;
constexpr std::int32_t kInfoFilesLeft = 337;
constexpr std::int32_t kInfoWord = 340;
constexpr std::int32_t kInfoWordsEndingIn1 = 341;
constexpr std::int32_t kInfoWordsEndingIn2To4 = 342;

/// Every entry above, for the check that each has its texts.
constexpr std::int32_t kAllEntries[] = {
    kLanguageNames, kAnsiTest, kTipTrans, kTipCopy, kTipPaste, kTipBack, kTipMenu, kMenuShow, kMenuHide,
    kMenuAbout, kMenuHelp, kMenuSetting, kMenuExit, kMenuCopy, kMenuBackTrans, kInfoCopied,
    kInfoNothingTranslated, kInputPlaceholder, kInfoClickToCopy, kNoTranslation, kAboutWords, kTipMode, kSite,
    kTrayTipManual, kTrayTipAuto, kMenuKeyb, kInfoNothingFound, kInfoShown, kInfoWords, kInfoDirectionFilter,
    kInfoBothDirections, kTipDictionary, kNotifyLayoutCorrected, kEmail, kNotifyWrongDirection, kMenuStat,
    kStatWord, kStatCount, kMenuLearn,
    kInfoSearching, kLinkExtTransOnForm, kLinkGoBack, kTipAbc, kAlphabet, kTipRedo, kLinkAllList,
    kNotifyClickHint, kNotifyManualMode, kNotifyAutoMode, kNotifyLayoutSwitched, kInfoClickToCopyWord,
    kInfoExtTransExists, kInfoEnterToPaste, kHelpStart, kHelpSelectionStart, kHelpByPoint, kHelpByClick,
    kHelpBySelect, kHelpByDblClick, kHelpThen, kHelpPress, kHelpHoldDown, kHelpOr, kHotKeyDouble, kMenuTL,
    kSpeak, kTipStopSpeaking, kMenuTransClip, kMenuSpeakClip, kTipNoVoices, kTipNoSpeech, kNoDictionary,
    kMenuStopSpeaking, kNotifyCannotRead, kNotifyAntivirus, kLinkExtTransPopup, kMenuPam,
    kInfoDicsSkipped, kInfoCannotSave, kInfoInputCut, kInfoFilesKept, kInfoFilesLeft, kInfoWord, kInfoWordsEndingIn1, kInfoWordsEndingIn2To4,
};

}  // namespace parlavent::lang
