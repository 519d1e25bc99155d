#pragma once
// The shell's pictures: OLE pictures (IPicture) loaded from files, as the system's LoadPicture does.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <memory>

#include "platform/picture.h"

namespace parlavent {

class Win32Picture final : public Picture {
 public:
  Win32Picture(IPicture* picture, PictureFormat format) : picture_(picture), format_(format) {}
  ~Win32Picture() override { picture_->Release(); }
  Win32Picture(const Win32Picture&) = delete;
  Win32Picture& operator=(const Win32Picture&) = delete;

  PictureFormat Format() const override { return format_; }
  /// The picture's HBITMAP, HICON or metafile handle (owned by the picture).
  OLE_HANDLE Handle() const;
  /// PICTYPE_BITMAP, PICTYPE_ICON, ...
  short Type() const;

 private:
  IPicture* picture_;
  PictureFormat format_;
};

std::shared_ptr<PictureLoader> MakeWin32PictureLoader();

}  // namespace parlavent
