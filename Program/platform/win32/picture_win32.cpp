#include "platform/win32/picture_win32.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace parlavent {
namespace {

// A stream over a copy of the file's bytes; the HGLOBAL is freed with the stream.
IStream* StreamOver(const std::vector<unsigned char>& bytes) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!memory) return nullptr;
  void* data = GlobalLock(memory);
  if (!data) {
    GlobalFree(memory);
    return nullptr;
  }
  memcpy(data, bytes.data(), bytes.size());
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (CreateStreamOnHGlobal(memory, TRUE, &stream) != S_OK) {
    GlobalFree(memory);
    return nullptr;
  }
  return stream;
}

class Win32PictureLoader final : public PictureLoader {
 public:
  std::shared_ptr<Picture> LoadPicture(const std::filesystem::path& file) override {
    std::ifstream in(file, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
    PictureFormat format{};
    // The header check keeps OLE from guessing at files that cannot be pictures at all.
    if (!SniffPictureFormat(bytes.data(), bytes.size(), format)) return nullptr;
    IStream* stream = StreamOver(bytes);
    if (!stream) return nullptr;
    IPicture* picture = nullptr;
    const HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                                      reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(hr) || !picture) return nullptr;
    return std::make_shared<Win32Picture>(picture, format);
  }
};

}  // namespace

OLE_HANDLE Win32Picture::Handle() const {
  OLE_HANDLE handle = 0;
  picture_->get_Handle(&handle);
  return handle;
}

short Win32Picture::Type() const {
  short type = PICTYPE_UNINITIALIZED;
  picture_->get_Type(&type);
  return type;
}

std::shared_ptr<PictureLoader> MakeWin32PictureLoader() { return std::make_shared<Win32PictureLoader>(); }

}  // namespace parlavent
