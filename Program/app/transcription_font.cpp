// The transcription font: registered with the system at every start, before any result is drawn.
#include "app/application.h"
#include "foundation/api_files.h"
#include "foundation/api_system.h"
#include "platform/desktop.h"
#include "platform/system_info.h"

namespace parlavent {
namespace {

constexpr std::u16string_view kFontFile = u"vovedorirada.ttf";
constexpr std::u16string_view kFontsKey = u"software\\microsoft\\windows\\currentversion\\fonts";
constexpr std::u16string_view kFontMaker = u"Parlavent";

// The installation puts the file in the system's font folder. A program folder that was only
// copied (as the build assembles it) has the file beside the program instead: that copy is made
// usable for this session, but never registered, since the folder may move.
void InstallFontFile(std::u16string_view fileName) {
  const std::u16string fonts = API::JoinPath(TheDesktop().WindowsFolder(), u"Fonts");
  const std::u16string installed = API::JoinPath(fonts, fileName);
  if (API::FileExists(installed)) {
    TheDesktop().AddFontFile(installed);
    const std::u16string label = std::u16string(kFontMaker) + u" Font " + std::u16string(fileName) + u" (TrueType)";
    API::RegWriteString(kHkeyLocalMachine, kFontsKey, label, fileName, false);
  } else {
    const std::u16string beside = API::JoinPath(System().ProgramFolder(), fileName);
    if (!API::FileExists(beside)) return;
    TheDesktop().AddFontFile(beside);
  }
  TheDesktop().BroadcastFontChange();
}

}  // namespace

void Appl::InstallFonts() {
  InstallFontFile(kFontFile);
  API::GetFontList(0);
}

}  // namespace parlavent
