#include "foundation/interface_helpers.h"

#include <algorithm>
#include <cmath>

#include "foundation/api_files.h"
#include "foundation/api_system.h"
#include "foundation/host.h"
#include "foundation/lang_entries.h"
#include "foundation/lang_table.h"
#include "foundation/settings_object.h"
#include "platform/code_page.h"
#include "platform/rich_text_box.h"
#include "platform/shell.h"
#include "platform/window_effects.h"
#include "text/text.h"

namespace parlavent {
namespace {

// Files are read ahead in blocks of this many bytes, and handed out a chunk at a time.
constexpr std::int64_t kReadAhead = 64 * 1024;
constexpr int kFadeStepMs = 30;

std::u16string Utf16Le(std::string_view bytes) {
  std::u16string text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  }
  return text;
}

std::u16string SpeakToolTip(FoundationHost& host) {
  if (!host.SpeechEnabled()) return mdlPublic::GetLangStr(lang::kTipNoSpeech);
  if (host.SpeechVoiceCount() != 0) return mdlPublic::GetLangStr(lang::kSpeak) + u" (Ctrl+P)";
  return mdlPublic::GetLangStr(lang::kTipNoVoices);
}

}  // namespace

bool FileLineReader::Open(std::u16string_view path, std::u16string_view delimiter, std::int32_t chunkSize) {
  file_ = std::ifstream(API::ToFsPath(path), std::ios::binary);
  delimiter_ = std::u16string(delimiter);
  chunkSize_ = std::max<std::int64_t>(2, chunkSize);
  buffer_.clear();
  bufferStart_ = position_ = 1;
  length_ = 0;
  unicode_ = false;
  if (!file_) return false;
  file_.seekg(0, std::ios::end);
  length_ = std::max<std::int64_t>(0, static_cast<std::int64_t>(file_.tellg()));
  const std::string head = Chunk();
  unicode_ = head.size() >= 2 && static_cast<unsigned char>(head[0]) == 0xFF &&
             static_cast<unsigned char>(head[1]) == 0xFE;
  // The byte-order mark is no part of the first word.
  if (unicode_) position_ = 3;
  return true;
}

std::string FileLineReader::Chunk() {
  const std::int64_t want = std::min(chunkSize_, length_ - position_ + 1);
  if (want <= 0) return {};
  const std::int64_t offset = position_ - bufferStart_;
  if (offset < 0 || offset + want > static_cast<std::int64_t>(buffer_.size())) {
    buffer_.assign(static_cast<std::size_t>(std::max(chunkSize_, kReadAhead)), '\0');
    file_.clear();
    file_.seekg(position_ - 1);
    file_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.resize(static_cast<std::size_t>(std::max<std::streamsize>(0, file_.gcount())));
    bufferStart_ = position_;
    return buffer_.substr(0, static_cast<std::size_t>(std::min<std::int64_t>(want, buffer_.size())));
  }
  return buffer_.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(want));
}

bool FileLineReader::Next(std::u16string& text) {
  text.clear();
  const std::string bytes = file_.is_open() && position_ <= length_ ? Chunk() : std::string();
  const std::u16string decoded = unicode_ ? Utf16Le(bytes) : AnsiCodePage().Decode(bytes);
  if (decoded.empty()) {
    file_.close();
    position_ = std::max(position_, length_ + 1);
    return false;
  }
  std::size_t cut = FindNoCase(decoded, delimiter_);
  std::size_t consumed = cut == std::u16string::npos ? 0 : cut + delimiter_.size();
  if (cut == std::u16string::npos) {
    cut = decoded.find(u'\0');
    consumed = cut == std::u16string::npos ? decoded.size() : cut + 1;
  }
  text = decoded.substr(0, std::min(cut, decoded.size()));
  position_ += static_cast<std::int64_t>(consumed) * (unicode_ ? 2 : 1);
  return true;
}

namespace mdlPublic {

void CreateToolbar(Toolbar& toolbar) {
  toolbar.UseMainImageList();
  AddToolbarButton(toolbar, u"Trans", GetLangStr(lang::kTipTrans), ToolbarStyle::Normal);
  AddToolbarButton(toolbar, u"Speak", SpeakToolTip(Host()), ToolbarStyle::Check);
  AddToolbarButton(toolbar, u"Back", GetLangStr(lang::kTipBack), ToolbarStyle::Normal);
  AddToolbarButton(toolbar, u"Redo", GetLangStr(lang::kTipRedo), ToolbarStyle::Normal);
  AddToolbarButton(toolbar, u"Paste", GetLangStr(lang::kTipPaste), ToolbarStyle::Normal);
  AddToolbarButton(toolbar, u"Copy", GetLangStr(lang::kTipCopy), ToolbarStyle::Normal);
  AddToolbarButton(toolbar, u"Mode", u"", ToolbarStyle::Check);
  AddToolbarButton(toolbar, u"Menu", GetLangStr(lang::kTipMenu), ToolbarStyle::Normal);
}

std::int32_t AddToolbarButton(Toolbar& toolbar, std::u16string_view key, std::u16string_view toolTip,
                              ToolbarStyle style) {
  return toolbar.AddButton(key, toolTip, style);
}

void ApplyToolbarMask(Toolbar& toolbar) {
  const Setting* sett = Host().Settings();
  const auto mask = static_cast<std::uint32_t>(sett ? sett->Buttons : -1);
  for (std::int32_t i = 1; i <= toolbar.ButtonCount(); ++i) {
    toolbar.SetButtonVisible(i, i < 32 && (mask & (1u << i)) != 0);
  }
}

void GetToolbarWidth(Toolbar& toolbar) {
  std::int32_t width = 0;
  for (std::int32_t i = 1; i <= toolbar.ButtonCount(); ++i) {
    if (toolbar.ButtonVisible(i)) width += toolbar.ButtonWidth(i);
  }
  toolbar.SetWidth(width);
}

void SetHandCursor() {
  // A null cursor would make the pointer vanish: without the hand the pointer stays as it is.
  if (ProcessValues().gHandCursor) Effects().SetCursor(ProcessValues().gHandCursor);
}

void PlayClickSound() {
  const Setting* sett = Host().Settings();
  if (sett && sett->ClickSnd) API::PlaySoundAlias(u"Navigating");
}

void FadeWindow(WindowHandle window, std::int32_t fromLevel, std::int32_t toLevel, std::int32_t steps,
                const std::int32_t& token) {
  if (steps <= 0) return;
  const std::int32_t start = token;
  const double step = static_cast<double>(toLevel - fromLevel) / steps;
  for (std::int32_t i = 1; i <= steps && token == start; ++i) {
    // Halves go to the even neighbour, as the runtime rounds.
    const double level = std::clamp(std::nearbyint(i * step + fromLevel), 0.0, 255.0);
    Effects().SetTransparency(window, static_cast<std::int32_t>(level));
    Effects().Repaint(window);
    Pump().DoEvents();
    Pump().Sleep(kFadeStepMs);
  }
}

std::vector<Rect> RoundedRegion(long w, long h) {
  return {{2, 0, w - 2, 1}, {1, 1, w - 1, 2}, {0, 2, w, h - 2}, {1, h - 2, w - 1, h - 1}, {2, h - 1, w - 2, h}};
}

void SetFormRegion(WindowHandle window) {
  long w = 0, h = 0;
  if (!Effects().WindowSize(window, w, h)) return;
  Effects().SetRegion(window, RoundedRegion(w, h));
}

bool ReadFileLine(std::u16string& text, std::int64_t& position, std::int64_t& length, std::u16string_view fileName,
                  bool unicode, std::u16string_view delimiter, std::int32_t chunkSize) {
  auto& reader = ProcessValues().gLineReader;
  if (!fileName.empty()) {
    reader = std::make_shared<FileLineReader>();
    reader->Open(fileName, delimiter, chunkSize);
    return false;
  }
  if (!reader) {
    text.clear();
    return false;
  }
  const bool more = reader->Next(text);
  position = reader->Position();
  length = reader->Length();
  return more;
}

std::int32_t GetLineBounds(std::u16string_view text, std::int32_t& position, std::u16string_view delimiter,
                           std::int32_t& lineStart, std::int32_t& lineEnd) {
  if (position == 0) position = 1;
  const auto len = static_cast<std::int32_t>(text.size());
  const auto dl = static_cast<std::int32_t>(delimiter.size());
  const std::int32_t p = std::clamp(position, 0, len);
  std::int32_t start = 1;
  // The last delimiter that ends at or before the position.
  if (dl > 0 && p >= dl) {
    for (std::int32_t i = p - dl; i >= 0; --i) {
      if (EqualsNoCase(text.substr(static_cast<std::size_t>(i), static_cast<std::size_t>(dl)), delimiter)) {
        start = i + 1 + dl;
        break;
      }
    }
  }
  std::int32_t end = len;
  const std::size_t next = FindNoCase(text, delimiter, static_cast<std::size_t>(p));
  if (next != std::u16string_view::npos) end = static_cast<std::int32_t>(next);
  lineStart = start - 1;
  lineEnd = std::max(end, lineStart);
  return lineEnd - lineStart;
}

void SelectCurrentLine(RichTextBox& box) {
  const std::u16string text = box.Text();
  std::int32_t position = box.SelStart();
  std::int32_t lineStart = 0, lineEnd = 0;
  GetLineBounds(text, position, u"\r\n", lineStart, lineEnd);
  box.SetSelStart(lineStart);
  box.SetSelLength(lineEnd - lineStart);
  FoundationHost& host = Host();
  if (const Setting* sett = host.Settings(); sett && sett->BackTransOpen) {
    const auto selected = std::u16string_view(text).substr(std::min<std::size_t>(lineStart, text.size()),
                                                           static_cast<std::size_t>(lineEnd - lineStart));
    host.StartBackTransTimer(selected);
  }
}

void FlushPendingCopy() {
  FoundationHost& host = Host();
  std::u16string& pending = host.State().gPendingCopy;
  if (pending.empty()) return;
  host.CopyText(pending, true);
  pending.clear();
}

}  // namespace mdlPublic
}  // namespace parlavent
