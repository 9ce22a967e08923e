#include "common/base/http_client.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "common/base/http_download_session.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_server.h"

namespace {
using KwrBase::HttpDownloadSession;
using KwrBase::HttpGet;
using KwrBase::HttpPauseControl;
using KwrBase::HttpPost;
using KwrBase::HttpResponse;
using KwrBase::HttpTransfer;
using testsupport::TestServer;

using testsupport::GeneratedBody;

struct Downloaded {
  HttpResponse response;
  std::string body;
};

Downloaded Download(const std::string& url) {
  Downloaded d;
  HttpDownloadSession session;
  session.SetUrl(url);
  d.response = session.Download([&](std::string_view block) {
    d.body.append(block);
    return true;
  });
  return d;
}

class HttpClientTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    testsupport::TestServerOptions options;
    options.https = true;
    server_ = std::make_unique<TestServer>(options);
  }
  static void TearDownTestSuite() { server_.reset(); }
  void SetUp() override { server_->ClearRequests(); }
  static std::unique_ptr<TestServer> server_;
};
std::unique_ptr<TestServer> HttpClientTest::server_;

TEST_F(HttpClientTest, GetHandsOnAnErrorPageAsACompletedTransfer) {
  HttpResponse r = HttpGet(server_->BaseUrl() + "/no/such/page.json");
  EXPECT_EQ(r.error.code, 0) << r.error.message;
  EXPECT_EQ(r.error.message, "");
  EXPECT_NE(r.text.find("<h1>Not Found</h1>"), std::string::npos) << r.text;

  auto seen = server_->WaitForRequests(1);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].method, "GET");
  EXPECT_EQ(seen[0].Header("User-Agent"), std::string("curl/") + curl_version_info(CURLVERSION_NOW)->version);
  EXPECT_NE(seen[0].Header("Accept-Encoding"), "") << "compressed answers are accepted";
}

TEST_F(HttpClientTest, CompressedBodiesArriveDecodedAndAreCountedAsDecoded) {
  server_->SetRoute("/packed.bin", {{"generate", 300000}, {"gzip", true}});
  HttpResponse get = HttpGet(server_->BaseUrl() + "/packed.bin");
  EXPECT_EQ(get.error.code, 0) << get.error.message;
  EXPECT_EQ(get.text, GeneratedBody(300000));

  Downloaded d = Download(server_->BaseUrl() + "/packed.bin");
  EXPECT_EQ(d.response.error.code, 0) << d.response.error.message;
  EXPECT_EQ(d.body, GeneratedBody(300000));
  EXPECT_EQ(d.response.downloaded_bytes, 300000) << "the bytes that reach the file, not the wire";
}

TEST_F(HttpClientTest, AServedFileArrivesWholePlainAndCompressed) {
  testsupport::TempDir dir;
  std::string data = GeneratedBody(700000);
  for (char& c : data) c = static_cast<char>(c * 7 + 3);
  testsupport::WriteFile(dir / "package.bin", data);
  server_->SetRoutes({{"/package.bin", {{"file", (dir / "package.bin").string()}}},
                      {"/package.gz", {{"file", (dir / "package.bin").string()}, {"gzip", true}}}});
  for (const char* path : {"/package.bin", "/package.gz"}) {
    SCOPED_TRACE(path);
    Downloaded d = Download(server_->BaseUrl() + path);
    EXPECT_EQ(d.response.error.code, 0) << d.response.error.message;
    EXPECT_EQ(d.body.size(), data.size());
    EXPECT_TRUE(d.body == data);
  }
}

TEST_F(HttpClientTest, FiftyRedirectsAreFollowedAndTheFiftyFirstFails) {
  server_->SetRoute("/end.txt", {{"body", "arrived"}});
  for (int hops : {1, 50, 51}) {
    SCOPED_TRACE(hops);
    std::string url = server_->BaseUrl() + "/_redirect/" + std::to_string(hops) + "/end.txt";
    HttpResponse get = HttpGet(url);
    Downloaded d = Download(url);
    if (hops <= 50) {
      EXPECT_EQ(get.error.code, 0) << get.error.message;
      EXPECT_EQ(get.text, "arrived");
      EXPECT_EQ(d.response.error.code, 0) << d.response.error.message;
      EXPECT_EQ(d.body, "arrived");
    } else {
      EXPECT_EQ(get.error.code, CURLE_TOO_MANY_REDIRECTS);
      EXPECT_EQ(d.response.error.code, CURLE_TOO_MANY_REDIRECTS);
      EXPECT_NE(d.response.error.message, "");
      EXPECT_EQ(d.body, "") << "redirect pages are not handed to the write callback";
    }
  }
}

TEST_F(HttpClientTest, ASelfSignedHostIsAcceptedForDownloadsOnly) {
  server_->SetRoute("/tls.bin", {{"generate", 5000}});
  std::string url = server_->HttpsBaseUrl() + "/tls.bin";

  Downloaded d = Download(url);
  EXPECT_EQ(d.response.error.code, 0) << d.response.error.message;
  EXPECT_EQ(d.body, GeneratedBody(5000));

  HttpResponse get = HttpGet(url);
  EXPECT_EQ(get.error.code, CURLE_PEER_FAILED_VERIFICATION) << get.error.message;
  EXPECT_FALSE(HttpPost(url, "application/json;", "{}"));
}

TEST_F(HttpClientTest, PostSendsBodyAndContentTypeOnAConnectionOfItsOwn) {
  server_->SetRoute("/api/clientevent", {{"status", 500}, {"body", "refused"}});
  std::string body = std::string("{\"a\":18}") + '\0' + "tail";
  EXPECT_TRUE(HttpPost(server_->BaseUrl() + "/api/clientevent", "application/json;", body))
      << "a completed transfer is a success whatever the status";
  EXPECT_TRUE(HttpPost(server_->BaseUrl() + "/api/clientevent", "", "second"));

  auto seen = server_->WaitForRequests(2);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].method, "POST");
  EXPECT_EQ(seen[0].body, body);
  EXPECT_EQ(seen[0].Header("Content-Type"), "application/json;");
  EXPECT_EQ(seen[1].body, "second");
  EXPECT_EQ(seen[1].Header("Content-Type"), "") << "no content type given, none sent";
  EXPECT_NE(seen[0].connection, seen[1].connection);
}

TEST_F(HttpClientTest, PostEndsWhenItsCallerStopsWaiting) {
  server_->SetRoute("/api/slow", {{"delay_ms", 3600 * 1000}});
  int asked = 0;
  EXPECT_FALSE(HttpPost(server_->BaseUrl() + "/api/slow", "application/json;", "{}", [&] { return ++asked < 3; }));
  EXPECT_EQ(asked, 3);
  server_->SetRoute("/api/quick", {{"delay_ms", 1500}});
  EXPECT_TRUE(HttpPost(server_->BaseUrl() + "/api/quick", "application/json;", "{}", [] { return true; }))
      << "a caller that keeps waiting gets the answer";
}

TEST(HttpClientUnreachable, EveryKindReportsATransportFailure) {
  std::string url = "http://127.0.0.1:" + std::to_string(testsupport::UnusedLocalPort()) + "/x";
  HttpResponse get = HttpGet(url);
  EXPECT_EQ(get.error.code, CURLE_COULDNT_CONNECT);
  EXPECT_NE(get.error.message, "");
  EXPECT_FALSE(HttpPost(url, "application/json;", "{}"));
  Downloaded d = Download(url);
  EXPECT_EQ(d.response.error.code, CURLE_COULDNT_CONNECT);
  EXPECT_NE(d.response.error.message, "");
}

TEST_F(HttpClientTest, TheWriteCallbackAbortsWithAWriteError) {
  server_->SetRoute("/big.bin", {{"generate", 4 << 20}});
  HttpDownloadSession session;
  session.SetUrl(server_->BaseUrl() + "/big.bin");
  int blocks = 0;
  std::size_t firstBlock = 0;
  HttpResponse r = session.Download([&](std::string_view block) {
    if (++blocks == 1) firstBlock = block.size();
    return false;
  });
  EXPECT_EQ(r.error.code, CURLE_WRITE_ERROR);
  EXPECT_NE(r.error.message, "");
  EXPECT_EQ(blocks, 1);
  EXPECT_EQ(r.downloaded_bytes, static_cast<std::int64_t>(firstBlock));
}

TEST_F(HttpClientTest, AnExceptionFromACallbackEndsTheTransferAndReachesTheCaller) {
  // The installer's write callback hashes and writes; either may throw. The exception must not
  // unwind through libcurl: the transfer ends cleanly and the caller gets it back.
  // Large enough that the progress callback runs before the end: libcurl reads up to 100
  // receive blocks (512 KiB each) between two calls.
  server_->SetRoute("/throw.bin", {{"generate", 64 << 20}});
  for (bool fromProgress : {false, true}) {
    SCOPED_TRACE(fromProgress ? "progress callback" : "write callback");
    HttpDownloadSession session;
    session.SetUrl(server_->BaseUrl() + "/throw.bin");
    int blocks = 0;
    session.SetProgressCallback([&](HttpTransfer&, std::int64_t, std::int64_t, std::int64_t, std::int64_t) {
      if (fromProgress && blocks > 0) throw std::runtime_error("progress failed");
      return true;
    });
    try {
      session.Download([&](std::string_view) {
        ++blocks;
        if (!fromProgress) throw std::runtime_error("write failed");
        return true;
      });
      ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), fromProgress ? "progress failed" : "write failed");
    }
    if (!fromProgress) {
      EXPECT_EQ(blocks, 1) << "nothing more after the throw";
    }
    EXPECT_LT(session.GetTransfer()->BytesReceived(), 64 << 20);
  }
  // The server was left in a sound state: the next transfer runs as usual.
  EXPECT_EQ(Download(server_->BaseUrl() + "/throw.bin").body.size(), 64u << 20);
}

TEST_F(HttpClientTest, ACutConnectionIsATransportFailureWithThePartialCount) {
  server_->SetRoute("/cut.bin", {{"generate", 100000}, {"cut_after", 30000}});
  Downloaded d = Download(server_->BaseUrl() + "/cut.bin");
  EXPECT_EQ(d.response.error.code, CURLE_PARTIAL_FILE);
  EXPECT_EQ(d.response.downloaded_bytes, 30000);
  EXPECT_EQ(d.body, GeneratedBody(30000));
}

// Runs one download on its own thread (the installer's worker) while the test thread plays the
// UI thread: it asks for pause and resume, reads the published counters and closes.
class Transfer {
 public:
  Transfer(const std::string& url) {
    session_.SetUrl(url);
    shared_ = session_.GetTransfer();
    session_.SetProgressCallback([this](HttpTransfer& t, std::int64_t, std::int64_t, std::int64_t, std::int64_t) {
      inApply_ = true;  // blocks that Continue itself delivers are not "while paused"
      HttpPauseControl::Applied applied = control_.Apply(t);
      inApply_ = false;
      std::lock_guard lock(mutex_);
      if (applied == HttpPauseControl::Applied::paused) paused_ = true;
      if (applied == HttpPauseControl::Applied::resumed) paused_ = false;
      if (applied != HttpPauseControl::Applied::none) applied_.push_back(applied);
      if (paused_) ++progressCallsWhilePaused_;
      changed_.notify_all();
      return !closing_.load();
    });
    thread_ = std::thread([this] {
      response_ = session_.Download([this](std::string_view block) {
        std::lock_guard lock(mutex_);
        if (paused_ && !inApply_) ++blocksWhilePaused_;
        body_.append(block);
        changed_.notify_all();
        return true;
      });
    });
  }
  ~Transfer() {
    closing_ = true;
    if (thread_.joinable()) thread_.join();
  }

  template <class Pred>
  bool WaitFor(Pred pred) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(30), [&] { return pred(); });
  }
  HttpResponse Finish() {
    thread_.join();
    return response_;
  }

  HttpDownloadSession session_;
  std::shared_ptr<HttpTransfer> shared_;
  HttpPauseControl control_;
  std::atomic<bool> closing_{false};
  std::mutex mutex_;
  std::condition_variable changed_;
  bool paused_ = false;
  bool inApply_ = false;  // transfer thread only
  int progressCallsWhilePaused_ = 0;
  int blocksWhilePaused_ = 0;
  std::vector<HttpPauseControl::Applied> applied_;
  std::string body_;
  HttpResponse response_;
  std::thread thread_;
};

TEST_F(HttpClientTest, PauseStopsTheBodyAndResumeDeliversAllOfItInOrder) {
  // About six seconds of body in small pieces.
  server_->SetRoute("/slow.bin", {{"generate", 300 * 1024}, {"chunk", 1024}, {"chunk_delay_ms", 20}});
  Transfer t(server_->BaseUrl() + "/slow.bin");
  ASSERT_TRUE(t.WaitFor([&] { return t.body_.size() >= 20 * 1024; }));

  EXPECT_FALSE(t.shared_->Pause()) << "pausing from another thread than the transfer's does nothing";
  t.control_.RequestPause();
  t.control_.RequestPause();  // twice before the next call: one pause
  ASSERT_TRUE(t.WaitFor([&] { return t.progressCallsWhilePaused_ >= 3; }))
      << "the progress callback keeps running while paused";
  std::int64_t published = t.shared_->BytesReceived();
  {
    std::lock_guard lock(t.mutex_);
    EXPECT_EQ(published, static_cast<std::int64_t>(t.body_.size())) << "the UI thread's reading is current";
    EXPECT_LT(t.body_.size(), 300u * 1024) << "paused before the end";
  }
  t.control_.RequestResume();
  HttpResponse r = t.Finish();
  EXPECT_EQ(r.error.code, 0) << r.error.message;
  EXPECT_EQ(t.blocksWhilePaused_, 0);
  EXPECT_EQ(t.applied_, (std::vector{HttpPauseControl::Applied::paused, HttpPauseControl::Applied::resumed}));
  EXPECT_EQ(t.body_, GeneratedBody(300 * 1024));
  EXPECT_EQ(r.downloaded_bytes, 300 * 1024);
  EXPECT_EQ(t.shared_->BytesReceived(), 300 * 1024);
  EXPECT_GT(t.shared_->AverageSpeed(), 0);
}

TEST_F(HttpClientTest, PauseAndResumeAskedTogetherEndPausedAndClosingAbortsThePausedTransfer) {
  server_->SetRoute("/slow2.bin", {{"generate", 300 * 1024}, {"chunk", 1024}, {"chunk_delay_ms", 20}});
  Transfer t(server_->BaseUrl() + "/slow2.bin");
  ASSERT_TRUE(t.WaitFor([&] { return t.body_.size() >= 10 * 1024; }));
  t.control_.RequestPause();
  t.control_.RequestResume();
  ASSERT_TRUE(t.WaitFor([&] { return t.progressCallsWhilePaused_ >= 2; }));
  t.closing_ = true;  // the window closes while the transfer is paused
  HttpResponse r = t.Finish();
  EXPECT_EQ(t.applied_, (std::vector{HttpPauseControl::Applied::resumed, HttpPauseControl::Applied::paused}));
  EXPECT_EQ(r.error.code, CURLE_ABORTED_BY_CALLBACK);
  EXPECT_EQ(t.blocksWhilePaused_, 0);
  EXPECT_LT(t.body_.size(), 300u * 1024);
}

TEST_F(HttpClientTest, AStalledBodyEndsThroughTheProgressCallback) {
  // The server sends 1000 bytes of 100000 and then nothing: no block ever reaches the write
  // callback again, so only the progress callback can end the transfer.
  server_->SetRoute("/stall.bin", {{"generate", 100000}, {"stall_after", 1000}});
  Transfer t(server_->BaseUrl() + "/stall.bin");
  ASSERT_TRUE(t.WaitFor([&] { return t.body_.size() >= 1000; }));
  EXPECT_EQ(t.shared_->BytesReceived(), 1000);
  t.closing_ = true;
  HttpResponse r = t.Finish();
  EXPECT_EQ(r.error.code, CURLE_ABORTED_BY_CALLBACK);
  EXPECT_NE(r.error.message, "");
  EXPECT_EQ(r.downloaded_bytes, 1000);
}

}  // namespace
