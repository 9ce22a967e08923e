#pragma once
// What the download page shows at each refresh of the progress timer, computed from the counters
// the transfer publishes. Pure: the window puts the texts into its labels.
//
//   DownloadProgressView v = FormatDownloadProgress(speed, received, completedBytes, totalBytes, name);
//   lblSpeed->SetText(v.speed); progress->SetValue(v.barValue); lblSize->SetText(v.size);
//   lblPercent->SetText(v.percent); if (v.status) lblStat->SetText(*v.status);
#include <cstdint>
#include <optional>
#include <string>

struct DownloadProgressView {
  std::wstring speed;                   // "lbl_dl_speed": the byte size of the speed and "/s"
  int barValue = 0;                     // "prog_download": the percentage
  std::wstring size;                    // "lbl_dl_size": "已完成：{}/{}" (done, total)
  std::wstring percent;                 // "lbl_dl_precent": "{}%"
  std::optional<std::wstring> status;   // "lbl_dl_stat": "正在下载 {} ..."; none before the first download
};

// done = completedBytes + received; percent = done * 100 / totalBytes, truncated and not limited
// to 100 (a file larger than announced passes it). A total of 0 shows 0 % and an empty bar.
DownloadProgressView FormatDownloadProgress(std::int64_t averageSpeed, std::int64_t received,
                                            std::uint64_t completedBytes, std::uint64_t totalBytes,
                                            const std::wstring& currentName);
