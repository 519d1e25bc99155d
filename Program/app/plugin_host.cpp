// The plug-in host, the clipboard watch and the developer's timing test and export.
#include "app/plugin_host.h"

#include <fstream>
#include <utility>

#include "app/application.h"
#include "app/main_form.h"
#include "app/neighbour_services.h"
#include "dictionary/dictionary.h"
#include "dictionary/sections.h"
#include "foundation/api_messages.h"
#include "platform/code_page.h"
#include "text/text.h"

namespace parlavent {

namespace mdlPublic {

bool IsPlugInLoaded() {
  if (!HasAppl()) return false;
  // Held for the call: the plug-in may have itself unloaded from inside it.
  const std::shared_ptr<PlugInObject> plugIn = gAppl().PlugIn;
  if (!plugIn) return false;
  try {
    return plugIn->Loaded().value_or(false);
  } catch (...) {
    return false;
  }
}

}  // namespace mdlPublic

bool Appl::SendEvent(std::u16string_view Name, const std::vector<EventArg>& Args) {
  if (!mdlPublic::IsPlugInLoaded()) return false;
  const std::shared_ptr<PlugInObject> plugIn = PlugIn;
  if (!plugIn) return false;
  try {
    return plugIn->EventHandler(Name, Args).value_or(false);
  } catch (...) {
    return false;
  }
}

void Appl::PlugInInit() {
  if (!CreatePlugIn) return;
  // A second start replaces the plug-ins: the first ones are told to unload, and no hint
  // companion of theirs stays behind.
  PlugInUnload();
  try {
    PlugIn = CreatePlugIn(u"ParlaventPlugIn.Skin");
    State.gPlugIn = PlugIn;
    if (!mdlPublic::IsPlugInLoaded()) return;
    PlugIn->SetParlavent(this);
    Hint = CreatePlugIn(u"ParlaventPlugIn.Hint");
    if (Hint) {
      Hint->setplugin(PlugIn.get());
      Hint->SetParlavent(this);
    }
    State.gHint = Hint;
    PlugIn->Init();
  } catch (...) {
  }
}

void Appl::PlugInUnload() {
  if (!PlugIn) return;
  // Released before they are told, so that an event sent from inside Unload finds no plug-in.
  const std::shared_ptr<PlugInObject> plugIn = std::exchange(PlugIn, nullptr);
  const std::shared_ptr<PlugInObject> hint = std::exchange(Hint, nullptr);
  State.gHint.reset();
  State.gPlugIn.reset();
  try {
    plugIn->Unload();
  } catch (...) {
  }
  try {
    if (hint) hint->Unload();
  } catch (...) {
  }
}

void Appl::ClipboardEventsChanged() {
  constexpr std::uint32_t kCfText = 1;
  try {
    IsTextInClip = CaptureSide().ClipboardHasFormat(frmMain ? frmMain->hWnd() : 0, kCfText);
    if (IsTextInClip) SpeechSide().ArmAutoSpeak(1);
  } catch (...) {
  }
}

void Appl::Test() {
  getWordX(u"tesa");
  std::vector<std::uint8_t> bytes(8000000);
  API::StartTiming();
  long long largest = 0;
  for (long long i = 1; i <= 200000; ++i) {
    long long sum = 0;
    for (long long j = 1; j <= 30; ++j) sum += bytes[static_cast<std::size_t>((i * j) % 8000000)] + i;
    if (sum > largest) largest = sum;
  }
  API::GetElapsed(1);
  static volatile long long sink;
  sink = largest;
}

bool ExportRetDic(Appl& app, const std::filesystem::path& file) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out || !app.Dic) return static_cast<bool>(out);
  const clsDic& dic = *app.Dic;
  for (std::int32_t id = 1; id <= dic.Words; ++id) {
    const WordRec w = app.ReadWordRec(id, dic);
    if (w.Text.find_first_of(u"- ") != std::u16string::npos) continue;
    std::vector<TransLink> links;
    app.GetTransLinks(w, dic, links);
    std::vector<TransRec> recs;
    for (const auto& link : links) app.AddTransRec(recs, w, link, dic);
    std::u16string line = w.Text + u"\t";
    for (std::size_t i = 0; i < recs.size(); ++i) line += (i ? u"; " : u"") + recs[i].Trans.Text;
    out << AnsiCodePage().Encode(line) << "\r\n";
  }
  return static_cast<bool>(out);
}

}  // namespace parlavent
