#include "installer/download_progress.h"

#include <fmt/xchar.h>

#include <algorithm>
#include <climits>

#include "installer/byte_size_text.h"

namespace {

std::uint64_t NonNegative(std::int64_t v) { return v < 0 ? 0 : static_cast<std::uint64_t>(v); }

}  // namespace

DownloadProgressView FormatDownloadProgress(std::int64_t averageSpeed, std::int64_t received,
                                            std::uint64_t completedBytes, std::uint64_t totalBytes,
                                            const std::wstring& currentName) {
  DownloadProgressView view;
  view.speed = StrFormatByteSizeW(NonNegative(averageSpeed)) + L"/s";
  std::uint64_t done = completedBytes + NonNegative(received);
  std::uint64_t percent = totalBytes == 0 ? 0 : done * 100 / totalBytes;
  view.barValue = static_cast<int>(std::min<std::uint64_t>(percent, INT_MAX));
  view.size = fmt::format(L"已完成：{}/{}", StrFormatByteSizeW(done), StrFormatByteSizeW(totalBytes));
  view.percent = fmt::format(L"{}%", percent);
  if (!currentName.empty()) view.status = fmt::format(L"正在下载 {} ...", currentName);
  return view;
}
