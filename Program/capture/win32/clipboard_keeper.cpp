#include "capture/win32/clipboard_keeper.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace parlavent {
namespace {

// Another program may hold the clipboard open for a moment; after this it is left alone.
constexpr int kOpenTries = 10;
constexpr DWORD kOpenPauseMs = 15;
// All formats kept together hold at most this much: a clipboard larger still is not copied over.
constexpr SIZE_T kMaxKept = SIZE_T{512} << 20;

// Runs work on a thread of its own and waits for it at most ms, answering the messages other
// threads send this one meanwhile (a wait that answered none could deadlock with them). Whatever
// work fills must be shared with it: after a time-out work still runs and owns what it made.
bool RunWithin(DWORD ms, std::function<void()> work) {
  struct Task {
    std::function<void()> work;
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ~Task() {
      if (done) CloseHandle(done);
    }
  };
  auto task = std::make_shared<Task>();
  if (!task->done) return false;
  task->work = std::move(work);
  auto* ref = new std::shared_ptr<Task>(task);
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](void* p) -> DWORD {
        auto* t = static_cast<std::shared_ptr<Task>*>(p);
        (*t)->work();
        SetEvent((*t)->done);
        delete t;
        return 0;
      },
      ref, 0, nullptr);
  if (!thread) {
    delete ref;
    return false;
  }
  CloseHandle(thread);
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD spent = GetTickCount() - start;
    if (spent >= ms) return WaitForSingleObject(task->done, 0) == WAIT_OBJECT_0;
    const DWORD r = MsgWaitForMultipleObjects(1, &task->done, FALSE, ms - spent, QS_SENDMESSAGE);
    if (r == WAIT_OBJECT_0) return true;
    if (r != WAIT_OBJECT_0 + 1) return WaitForSingleObject(task->done, 0) == WAIT_OBJECT_0;
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace

std::u16string ClipboardTextOf(HANDLE data) {
  if (!data) return {};
  const SIZE_T bytes = GlobalSize(data);
  const auto* p = static_cast<const wchar_t*>(GlobalLock(data));
  if (!p) return {};
  const std::size_t n = wcsnlen(p, bytes / sizeof(wchar_t));
  std::u16string text(p, p + n);
  GlobalUnlock(data);
  return text;
}

bool OpenClipboardPatiently(HWND owner) {
  for (int i = 0; i < kOpenTries; ++i) {
    if (OpenClipboard(owner)) return true;
    Sleep(kOpenPauseMs);
  }
  return false;
}

bool ReadClipboardTextWithin(DWORD timeoutMs, std::u16string& text) {
  auto read = std::make_shared<std::u16string>();
  const bool done = RunWithin(timeoutMs, [read] {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboardPatiently(nullptr)) return;
    *read = ClipboardTextOf(GetClipboardData(CF_UNICODETEXT));
    CloseClipboard();
  });
  if (done) text = std::move(*read);
  return done;
}

struct ClipboardKeeper::Item {
  enum class Kind { Memory, Bitmap, EnhMetafile, MetafilePict, Palette };
  UINT format = 0;
  Kind kind = Kind::Memory;
  std::vector<char> bytes;  // a memory format's block; a metafile picture's header
  HANDLE object = nullptr;  // a copy of a GDI object, owned until it is handed to the clipboard

  Item(UINT f, Kind k) : format(f), kind(k) {}
  Item(Item&& other) noexcept
      : format(other.format), kind(other.kind), bytes(std::move(other.bytes)), object(std::exchange(other.object, nullptr)) {}
  Item& operator=(Item&&) = delete;
  ~Item() {
    if (!object) return;
    switch (kind) {
      case Kind::EnhMetafile: DeleteEnhMetaFile(static_cast<HENHMETAFILE>(object)); break;
      case Kind::MetafilePict: DeleteMetaFile(static_cast<HMETAFILE>(object)); break;
      default: DeleteObject(object); break;
    }
  }

  // The handle SetClipboardData takes; the item gives up what it owned.
  HANDLE Hand() {
    if (kind == Kind::Memory || kind == Kind::MetafilePict) {
      HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, std::max<SIZE_T>(bytes.size(), 1));
      char* p = block ? static_cast<char*>(GlobalLock(block)) : nullptr;
      if (!p) {
        if (block) GlobalFree(block);
        return nullptr;
      }
      std::copy(bytes.begin(), bytes.end(), p);
      if (kind == Kind::MetafilePict) reinterpret_cast<METAFILEPICT*>(p)->hMF = static_cast<HMETAFILE>(std::exchange(object, nullptr));
      GlobalUnlock(block);
      return block;
    }
    return std::exchange(object, nullptr);
  }
};

namespace {

using Item = ClipboardKeeper::Item;
using Kind = Item::Kind;

HANDLE CopyPalette(HPALETTE palette) {
  const UINT count = GetPaletteEntries(palette, 0, 0, nullptr);
  if (count == 0 || count > 65536) return nullptr;
  std::vector<char> block(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
  auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
  log->palVersion = 0x300;
  log->palNumEntries = static_cast<WORD>(std::min<UINT>(count, 0xFFFF));
  GetPaletteEntries(palette, 0, log->palNumEntries, log->palPalEntry);
  return CreatePalette(log);
}

// The kind a format's data is kept as; false for data that cannot be copied.
bool KindOf(UINT format, HANDLE data, Kind& kind) {
  switch (format) {
    case CF_BITMAP: case CF_DSPBITMAP: kind = Kind::Bitmap; return true;
    case CF_ENHMETAFILE: case CF_DSPENHMETAFILE: kind = Kind::EnhMetafile; return true;
    case CF_METAFILEPICT: case CF_DSPMETAFILEPICT: kind = Kind::MetafilePict; return true;
    case CF_PALETTE: kind = Kind::Palette; return true;
    case CF_OWNERDISPLAY: return false;  // drawn by its owner, no data
    default: break;
  }
  // Private formats are handles only their owner understands.
  if (format >= CF_PRIVATEFIRST && format <= CF_PRIVATELAST) return false;
  if (format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST) {
    const DWORD type = GetObjectType(data);
    if (type == OBJ_BITMAP) kind = Kind::Bitmap;
    else if (type == OBJ_PAL) kind = Kind::Palette;
    else return false;
    return true;
  }
  kind = Kind::Memory;
  return true;
}

// Copies one format's data into item; false when it cannot be copied.
bool Copy(HANDLE data, Item& item, SIZE_T& total) {
  switch (item.kind) {
    case Kind::Memory: {
      const SIZE_T size = GlobalSize(data);
      if (size == 0 || size > kMaxKept - total) return false;
      const char* p = static_cast<const char*>(GlobalLock(data));
      if (!p) return false;
      item.bytes.assign(p, p + size);
      GlobalUnlock(data);
      total += size;
      return true;
    }
    case Kind::Bitmap: item.object = CopyImage(data, IMAGE_BITMAP, 0, 0, 0); break;
    case Kind::EnhMetafile: item.object = CopyEnhMetaFileW(static_cast<HENHMETAFILE>(data), nullptr); break;
    case Kind::Palette: item.object = CopyPalette(static_cast<HPALETTE>(data)); break;
    case Kind::MetafilePict: {
      if (GlobalSize(data) < sizeof(METAFILEPICT)) return false;
      const auto* pict = static_cast<const METAFILEPICT*>(GlobalLock(data));
      if (!pict) return false;
      const METAFILEPICT header = *pict;
      GlobalUnlock(data);
      item.object = CopyMetaFileW(header.hMF, nullptr);
      item.bytes.assign(reinterpret_cast<const char*>(&header), reinterpret_cast<const char*>(&header + 1));
      break;
    }
  }
  return item.object != nullptr;
}

}  // namespace

ClipboardKeeper::ClipboardKeeper() = default;
ClipboardKeeper::~ClipboardKeeper() = default;

bool ClipboardKeeper::Holding() const { return holding_; }

void ClipboardKeeper::Forget() {
  items_.clear();
  holding_ = false;
}

bool ClipboardKeeper::Keep(DWORD timeoutMs) {
  Forget();
  struct Kept {
    std::vector<Item> items;
    bool whole = false;
  };
  auto kept = std::make_shared<Kept>();
  const bool done = RunWithin(timeoutMs, [kept] {
    if (!OpenClipboardPatiently(nullptr)) return;
    SIZE_T total = 0;
    bool whole = true;
    for (UINT f = EnumClipboardFormats(0); f != 0 && whole; f = EnumClipboardFormats(f)) {
      // Reading a format its owner renders on request asks the owner for it.
      HANDLE data = GetClipboardData(f);
      // Data no program can read is no loss.
      if (!data) continue;
      Kind kind = Kind::Memory;
      if (!KindOf(f, data, kind)) {
        whole = false;
        break;
      }
      Item item(f, kind);
      whole = Copy(data, item, total);
      if (whole) kept->items.push_back(std::move(item));
    }
    CloseClipboard();
    kept->whole = whole;
  });
  if (!done || !kept->whole) return false;
  items_ = std::move(kept->items);
  holding_ = true;
  return true;
}

bool ClipboardKeeper::PutBack(HWND owner) {
  if (!holding_) return true;
  if (!OpenClipboardPatiently(owner)) return false;
  EmptyClipboard();
  for (Item& item : items_) {
    HANDLE h = item.Hand();
    if (!h || SetClipboardData(item.format, h)) continue;
    // Not taken: the handle is still ours.
    if (item.kind == Kind::Memory) {
      GlobalFree(h);
    } else {
      if (item.kind == Kind::MetafilePict) {
        if (auto* pict = static_cast<METAFILEPICT*>(GlobalLock(h))) {
          DeleteMetaFile(pict->hMF);
          GlobalUnlock(h);
        }
        GlobalFree(h);
      } else {
        item.object = h;  // the item frees it
      }
    }
  }
  CloseClipboard();
  Forget();
  return true;
}

}  // namespace parlavent
