#include "installer/package_stream.h"

#include "common/base/log.h"

bool CPackageStream::Open(const std::filesystem::path& path, const KwrBase::HashProv& provider) {
  file_ = platform::File::CreateExclusiveForWrite(path);
  if (!file_.IsOpen()) return false;
  hasher_.Start(provider);
  return true;
}

bool CPackageStream::Write(std::string_view block) {
  hasher_.Feed(block.data(), block.size());
  if (!file_.WriteAll(block.data(), block.size())) {
    LOG_ERROR << "write file failed, err:" << file_.Error();
    return false;
  }
  return true;
}
