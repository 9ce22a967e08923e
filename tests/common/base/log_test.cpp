#include "common/base/log.h"

#include <gtest/gtest.h>

namespace {
using KwrBase::Log::Severity;

std::tm At(int y, int mo, int d, int h, int mi, int s) {
  std::tm tm{};
  tm.tm_year = y - 1900;
  tm.tm_mon = mo - 1;
  tm.tm_mday = d;
  tm.tm_hour = h;
  tm.tm_min = mi;
  tm.tm_sec = s;
  return tm;
}

TEST(LogLine, HasTheFixedShape) {
  EXPECT_EQ(KwrBase::Log::FormatLine(Severity::warning, At(2024, 5, 7, 9, 41, 3), 215, 1234, "wWinMain", 29,
                                     "App instance exist"),
            "2024-05-07 09:41:03.215 WARN  [1234] [wWinMain@29] App instance exist\r\n");
}

TEST(LogLine, PadsEverySeverityToFiveAndTurnsEachLineFeedIntoCrLf) {
  struct Case {
    Severity s;
    const char* text;
  } cases[] = {{Severity::none, "NONE "},   {Severity::fatal, "FATAL"}, {Severity::error, "ERROR"},
               {Severity::warning, "WARN "}, {Severity::info, "INFO "},  {Severity::debug, "DEBUG"},
               {Severity::verbose, "VERB "}};
  for (const auto& c : cases) {
    std::string line = KwrBase::Log::FormatLine(c.s, At(2026, 12, 1, 0, 0, 0), 7, 1, "f", 1, "m");
    EXPECT_EQ(line.substr(24, 6), std::string(c.text) + " ") << line;
    EXPECT_EQ(line.substr(19, 4), ".007");
  }
  EXPECT_EQ(KwrBase::Log::FormatLine(Severity::error, At(2026, 1, 2, 3, 4, 5), 0, 9, "f", 3, "a\nb\n"),
            "2026-01-02 03:04:05.000 ERROR [9] [f@3] a\r\nb\r\n\r\n");
}

TEST(LogLine, IsUtf8WithEachIllFormedSequenceReplaced) {
  // As a JSON parser's error text quotes a configuration body in some other encoding.
  struct Case {
    const char* message;
    const char* written;
  } cases[] = {
      {"parse error: '\xD6\xD0\xCE\xC4'", "parse error: '\uFFFD\uFFFD\uFFFD\uFFFD'"},  // GBK bytes
      {"ok \xE4\xB8\xAD \xF0\x9F\x98\x80", "ok \u4E2D \U0001F600"},                   // well-formed stays
      {"cut \xE4\xB8", "cut \uFFFD"},                       // truncated at the end
      {"cut \xE4\xB8x", "cut \uFFFDx"},                     // truncated before an ASCII byte
      {"overlong \xC0\xAF", "overlong \uFFFD\uFFFD"},
      {"surrogate \xED\xA0\x80", "surrogate \uFFFD\uFFFD\uFFFD"},
      {"stray \x80\xBF", "stray \uFFFD\uFFFD"},
      {"above \xF4\x90\x80\x80", "above \uFFFD\uFFFD\uFFFD\uFFFD"},
  };
  const std::string head = "2026-01-02 03:04:05.000 ERROR [9] [f@3] ";
  for (const auto& c : cases) {
    EXPECT_EQ(KwrBase::Log::FormatLine(Severity::error, At(2026, 1, 2, 3, 4, 5), 0, 9, "f", 3, c.message),
              head + c.written + "\r\n")
        << c.message;
  }
}

TEST(LogRoutine, IsTheQualifiedNameWithoutReturnTypeOrParameters) {
  struct Case {
    const char* signature;
    const char* routine;
  } cases[] = {
      {"int wWinMain()", "wWinMain"},
      {"bool CWebInstWnd::RequestConfig()", "CWebInstWnd::RequestConfig"},
      {"plogext::CLifeSpanLog::CLifeSpanLog()", "plogext::CLifeSpanLog::CLifeSpanLog"},
      {"plogext::CLifeSpanLog::~CLifeSpanLog()", "plogext::CLifeSpanLog::~CLifeSpanLog"},
      {"std::vector<std::pair<int, int> > A::B::get(int) const &", "A::B::get"},
      {"CWebInstWnd::StartDownload(DownloadTask&)::<lambda(char*, size_t)>",
       "CWebInstWnd::StartDownload::<lambda>"},
      {"void f(T) [with T = int]", "f"},
  };
  for (const auto& c : cases) EXPECT_EQ(KwrBase::Log::RoutineName(c.signature), c.routine) << c.signature;
}

}  // namespace
