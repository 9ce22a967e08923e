// Download throughput of the HTTP client layer against the local test server, beside the curl
// command line on the same file in the same run (the server is the same for both, so the
// difference is the client's).
#include <benchmark/benchmark.h>

#include <memory>

#include "common/base/http_download_session.h"
#include "tests/support/process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_server.h"

namespace {

constexpr std::size_t kSize = 64u << 20;
std::unique_ptr<testsupport::TempDir> g_dir;
std::unique_ptr<testsupport::TestServer> g_server;

std::string Url() { return g_server->BaseUrl() + "/package.bin"; }

void BM_HttpDownloadSession(benchmark::State& state) {
  for (auto _ : state) {
    KwrBase::HttpDownloadSession session;
    session.SetUrl(Url());
    std::size_t seen = 0;
    auto r = session.Download([&](std::string_view block) {
      seen += block.size();
      return true;
    });
    if (r.error.code != 0 || seen != kSize) state.SkipWithError(r.error.message.c_str());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSize));
}
BENCHMARK(BM_HttpDownloadSession)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CurlCommand(benchmark::State& state) {
  for (auto _ : state) {
    auto r = testsupport::RunProcess({"curl", "-s", "-o", "/dev/null", Url()});
    if (r.exitCode != 0) state.SkipWithError("curl failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSize));
}
BENCHMARK(BM_CurlCommand)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  g_dir = std::make_unique<testsupport::TempDir>();
  std::string data(kSize, '\0');
  for (std::size_t i = 0; i < kSize; ++i) data[i] = static_cast<char>(i * 131 % 251);
  testsupport::WriteFile(*g_dir / "package.bin", data);
  testsupport::TestServerOptions options;
  options.root = g_dir->path();
  g_server = std::make_unique<testsupport::TestServer>(options);

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  g_server.reset();
  g_dir.reset();
  return 0;
}
