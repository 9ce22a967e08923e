// A package through the installer's download path (receive, hash, write, verify, rename) against
// the local test server, beside `curl -o` and `curl -o && md5sum` on the same file in the same
// run, and the peak memory and processor time of whole processes doing each.
//
//   bench_package_download [--benchmark_...]   1 GiB and 100 MiB packages
//   WEBINST_BENCH_SIZES=64,1024 bench_package_download   other sizes, in MiB
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <future>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/base/hash_algorithm.h"
#include "common/base/http_download_session.h"
#include "installer/install_flow_ui.h"
#include "installer/package_download.h"
#include "platform/file.h"
#include "stats/task_executor.h"
#include "tests/support/process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_server.h"

namespace {

struct Package {
  std::uint64_t size = 0;
  std::string name;
  std::string md5;
};

std::unique_ptr<testsupport::TempDir> g_dir;
std::unique_ptr<testsupport::TestServer> g_server;
std::vector<Package> g_packages;

// A window that shows nothing; the downloads' end (installation or failure) fulfils `done`.
class QuietUi : public IInstallFlowUi {
 public:
  void PostDownloadStarted() override {}
  void PostTransferEnded() override {}
  void PostTransferPaused() override {}
  void PostTransferResumed() override {}
  void PostDownloadFailed() override { done.set_value(false); }
  void PostInstallUiStart() override {}
  void PostInstallFinished(std::uint32_t) override {}
  void ReportEvent(std::int32_t) override {}
  std::promise<bool> done;
};

// One run of the download path, as the install button starts it. True when the file arrived
// verified under its final name.
bool DownloadOnce(const std::string& url, const std::string& md5, std::uint64_t size,
                  const std::filesystem::path& installPath) {
  TaskExecutor worker;
  QuietUi ui;
  CPackageDownload download(worker, ui, [&] { ui.done.set_value(true); });
  download.AcquireHashProvider();
  download.CreateTempDir(installPath);
  download.AddDownloadTask(L"package", url, md5, size);
  worker.Start();
  download.StartDownload();
  bool ok = ui.done.get_future().get();
  worker.Stop();
  return ok;
}

std::string Url(const Package& p) { return g_server->BaseUrl() + "/" + p.name; }

void RemoveDownloads() {
  std::error_code ec;
  std::filesystem::remove_all(*g_dir / "install_tmp", ec);
  std::filesystem::remove(*g_dir / "curl.out", ec);
}

void BM_InstallerDownloadPath(benchmark::State& state) {
  const Package& p = g_packages[state.range(0)];
  for (auto _ : state) {
    RemoveDownloads();
    if (!DownloadOnce(Url(p), p.md5, p.size, *g_dir / "install")) state.SkipWithError("download failed");
  }
  RemoveDownloads();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * p.size));
  state.SetLabel(std::to_string(p.size >> 20) + " MiB");
}

// For comparison: the same transfer with each block hashed on the transfer thread before it is
// written (no helper thread), into a plain file.
void BM_HashOnTransferThread(benchmark::State& state) {
  const Package& p = g_packages[state.range(0)];
  KwrBase::HashProv prov;
  prov.AcquireContext();
  for (auto _ : state) {
    RemoveDownloads();
    KwrBase::Hash hash;
    hash.Create(prov.Handle());
    platform::File file = platform::File::CreateExclusiveForWrite(*g_dir / "curl.out");
    KwrBase::HttpDownloadSession session;
    session.SetUrl(Url(p));
    auto r = session.Download([&](std::string_view block) {
      hash.HashData(reinterpret_cast<const std::uint8_t*>(block.data()), static_cast<std::uint32_t>(block.size()));
      return file.WriteAll(block.data(), block.size());
    });
    if (r.error.code != 0 || KwrBase::ToHex(hash.GetHash()) != p.md5) state.SkipWithError("download failed");
  }
  RemoveDownloads();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * p.size));
  state.SetLabel(std::to_string(p.size >> 20) + " MiB");
}

void RunShell(benchmark::State& state, const std::string& command) {
  const Package& p = g_packages[state.range(0)];
  for (auto _ : state) {
    RemoveDownloads();
    auto r = testsupport::RunProcess({"sh", "-c", command}, {{}, {}, g_dir->path().string(), std::chrono::minutes(10)});
    if (r.exitCode != 0) state.SkipWithError(("command failed: " + r.output).c_str());
    if (command.find("md5sum") != std::string::npos && r.output.substr(0, 32) != p.md5)
      state.SkipWithError("md5sum disagrees");
  }
  RemoveDownloads();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * p.size));
  state.SetLabel(std::to_string(p.size >> 20) + " MiB");
}

void BM_CurlOutput(benchmark::State& state) {
  RunShell(state, "curl -s -o curl.out '" + Url(g_packages[state.range(0)]) + "'");
}

void BM_CurlOutputThenMd5sum(benchmark::State& state) {
  RunShell(state, "curl -s -o curl.out '" + Url(g_packages[state.range(0)]) + "' && md5sum curl.out");
}

// Fills `size` bytes of incompressible data into `path` and returns their MD5 text.
std::string WritePackage(const std::filesystem::path& path, std::uint64_t size) {
  KwrBase::HashProv prov;
  prov.AcquireContext();
  KwrBase::Hash hash;
  hash.Create(prov.Handle());
  std::ofstream out(path, std::ios::binary);
  std::vector<std::uint64_t> block(1 << 17);  // 1 MiB
  std::uint64_t x = 0x9E3779B97F4A7C15ull;
  for (std::uint64_t left = size; left > 0;) {
    for (auto& v : block) {
      x ^= x << 13, x ^= x >> 7, x ^= x << 17;
      v = x;
    }
    auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(left, block.size() * 8));
    out.write(reinterpret_cast<const char*>(block.data()), n);
    hash.HashData(reinterpret_cast<const std::uint8_t*>(block.data()), n);
    left -= n;
  }
  return KwrBase::ToHex(hash.GetHash());
}

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; }

// Child mode: one download in a fresh process; prints its peak resident memory (KiB) and the
// processor time it used (user and system, every thread).
int MeasureProcess(char** argv) {
  std::uint64_t size = std::strtoull(argv[4], nullptr, 10);
  bool ok = DownloadOnce(argv[2], argv[3], size, argv[5]);
  struct rusage usage {};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%ld KiB, %.2f s user + %.2f s system\n", ok ? usage.ru_maxrss : -1L, Seconds(usage.ru_utime),
              Seconds(usage.ru_stime));
  return ok ? 0 : 1;
}

// Processor time of a shell command and everything it starts, as "user + system" seconds.
std::string ChildrenCpu(const std::string& command) {
  struct rusage before {}, after {};
  getrusage(RUSAGE_CHILDREN, &before);
  auto r = testsupport::RunProcess({"sh", "-c", command}, {{}, {}, g_dir->path().string(), std::chrono::minutes(10)});
  getrusage(RUSAGE_CHILDREN, &after);
  if (r.exitCode != 0) return "failed";
  char text[96];
  std::snprintf(text, sizeof text, "%.2f s user + %.2f s system", Seconds(after.ru_utime) - Seconds(before.ru_utime),
                Seconds(after.ru_stime) - Seconds(before.ru_stime));
  return text;
}

std::vector<std::uint64_t> Sizes() {
  std::vector<std::uint64_t> sizes;
  const char* env = std::getenv("WEBINST_BENCH_SIZES");
  std::stringstream in(env ? env : "1024,100");
  for (std::string mib; std::getline(in, mib, ',');) sizes.push_back(std::stoull(mib) << 20);
  return sizes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 6 && std::strcmp(argv[1], "--measure-child") == 0) return MeasureProcess(argv);

  g_dir = std::make_unique<testsupport::TempDir>();
  for (std::uint64_t size : Sizes()) {
    Package p{size, "package_" + std::to_string(size >> 20) + "m.bin", ""};
    p.md5 = WritePackage(*g_dir / p.name, size);
    g_packages.push_back(p);
  }
  testsupport::TestServerOptions options;
  options.root = g_dir->path();
  g_server = std::make_unique<testsupport::TestServer>(options);

  for (auto* b : {benchmark::RegisterBenchmark("BM_InstallerDownloadPath", BM_InstallerDownloadPath),
                  benchmark::RegisterBenchmark("BM_HashOnTransferThread", BM_HashOnTransferThread),
                  benchmark::RegisterBenchmark("BM_CurlOutput", BM_CurlOutput),
                  benchmark::RegisterBenchmark("BM_CurlOutputThenMd5sum", BM_CurlOutputThenMd5sum)}) {
    b->DenseRange(0, static_cast<int>(g_packages.size()) - 1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  // Memory and processor time of whole processes: the download path in a fresh process of its
  // own, and the curl + md5sum pipeline, on each package.
  char self[4096] = {};
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  for (const Package& p : g_packages) {
    if (n <= 0) break;
    auto r = testsupport::RunProcess({self, "--measure-child", Url(p), p.md5, std::to_string(p.size),
                                      (*g_dir / "install").string()},
                                     {{}, {}, "", std::chrono::minutes(10)});
    RemoveDownloads();
    std::printf("%llu MiB, installer download path: peak RSS %s", static_cast<unsigned long long>(p.size >> 20),
                r.exitCode == 0 ? r.output.c_str() : "failed\n");
    std::string cpu = ChildrenCpu("curl -s -o curl.out '" + Url(p) + "' && md5sum curl.out >/dev/null");
    RemoveDownloads();
    std::printf("%llu MiB, curl -o && md5sum: %s\n", static_cast<unsigned long long>(p.size >> 20), cpu.c_str());
  }
  g_server.reset();
  g_dir.reset();
  return 0;
}
