#include "installer/package_stream.h"

#include "common/base/log.h"

bool CPackageStream::Open(const std::filesystem::path& path, const KwrBase::HashProv& provider) {
  file_ = platform::File::CreateExclusiveForWrite(path);
  if (!file_.IsOpen()) return false;
  hash_.Create(provider.Handle());
  return true;
}

bool CPackageStream::Write(std::string_view block) {
  hash_.HashData(reinterpret_cast<const std::uint8_t*>(block.data()), static_cast<std::uint32_t>(block.size()));
  if (!file_.WriteAll(block.data(), block.size())) {
    LOG_ERROR << "write file failed, err:" << file_.Error();
    return false;
  }
  return true;
}
