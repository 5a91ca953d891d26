#include "platform/win32/icon_files.h"

#include <cstdint>
#include <optional>
#include <span>

#include "platform/icon_file.h"
#include "platform/win32/handles.h"

namespace win32 {
namespace {

// The icon format version CreateIconFromResourceEx expects of a resource's bytes.
constexpr DWORD kIconFormat = 0x00030000;
constexpr int kLargestId = 0xFFFF;

// A file opened to be read at checked offsets; other processes may still read, write or delete
// it, so its length is taken once and every read is checked to have given every byte.
class FileSource : public platform::ByteSource {
 public:
  explicit FileSource(const std::wstring& path)
      : file_(::CreateFileW(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_RANDOM_ACCESS, nullptr)) {
    LARGE_INTEGER size{};
    if (file_ && ::GetFileSizeEx(file_.get(), &size)) {
      size_ = static_cast<std::uint64_t>(size.QuadPart);
    }
  }

  std::uint64_t Size() const override { return size_; }

  bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
    if (!file_ || out.size() > MAXDWORD) return false;
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    return ::ReadFile(file_.get(), out.data(), static_cast<DWORD>(out.size()), &read, &at) &&
           read == out.size();
  }

 private:
  UniqueFileHandle file_;
  std::uint64_t size_ = 0;
};

// The system's own choice of picture for the size. The directory is the reader's private copy,
// holding exactly the entries its header counts.
std::optional<std::uint16_t> ChooseBySystem(std::span<const std::uint8_t> directory, int size) {
  const int id = ::LookupIconIdFromDirectoryEx(const_cast<PBYTE>(directory.data()), TRUE, size,
                                               size, LR_DEFAULTCOLOR);
  if (id <= 0 || id > kLargestId) return std::nullopt;
  return static_cast<std::uint16_t>(id);
}

HICON MakeIcon(std::optional<platform::IconImage> image, int size) {
  if (!image) return nullptr;
  const std::span<std::uint8_t> bytes = image->Bytes();
  return ::CreateIconFromResourceEx(bytes.data(), static_cast<DWORD>(bytes.size()), TRUE,
                                    kIconFormat, size, size, LR_DEFAULTCOLOR);
}

}  // namespace

HICON ReadProgramIconFile(const std::wstring& path, int index, int size) {
  FileSource file(path);
  return MakeIcon(platform::ReadProgramIcon(file, index, size, ChooseBySystem), size);
}

HICON ReadIcoIconFile(const std::wstring& path, int size) {
  FileSource file(path);
  return MakeIcon(platform::ReadIcoFile(file, size, ChooseBySystem), size);
}

}  // namespace win32
