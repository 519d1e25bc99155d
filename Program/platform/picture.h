#pragma once
// Pictures loaded from files: the flag icons and keyboard-layer pictures of dictionary packages.
// The shell installs a loader that makes real pictures (icons, bitmaps, GIF, ...); natively the
// default recognises the formats by their first bytes, so the core's rules about unloadable
// pictures hold the same way in tests.
#include <filesystem>
#include <memory>

namespace parlavent {

enum class PictureFormat { Bitmap, Icon, Cursor, Gif, Jpeg, Metafile };

/// A loaded picture; the shell's pictures carry their system handle.
class Picture {
 public:
  virtual ~Picture() = default;
  virtual PictureFormat Format() const = 0;
};

class PictureLoader {
 public:
  virtual ~PictureLoader() = default;
  /// The picture in the file, or nullptr when the file is missing or holds no loadable picture.
  virtual std::shared_ptr<Picture> LoadPicture(const std::filesystem::path& file) = 0;
};

/// The format a picture file's leading bytes announce; false for anything else.
bool SniffPictureFormat(const unsigned char* bytes, std::size_t size, PictureFormat& format);

PictureLoader& Pictures();
/// Installs a loader (nullptr restores the default).
void SetPictureLoader(std::shared_ptr<PictureLoader> loader);

}  // namespace parlavent
