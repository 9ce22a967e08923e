#include "installer/config_record.h"

#include <gtest/gtest.h>

#include <functional>
#include <nlohmann/json.hpp>

namespace {
using nlohmann::json;

// A complete document as the configuration server sends it.
const char* const kDocument = R"({
  "installer": {"display": "Vellumo 图片管家", "md5": "0123456789ABCDEFabcdef0123456789",
                "size": 73400320, "url": "http://dl.example/pkg/Vellumo_setup.exe", "note": "ignored"},
  "starup": {"main": "bin\\Vellumo.exe", "args": "--from-installer 安装"},
  "external": [
    {"display": "滤镜包", "target_path": "./data", "type": 2, "size": 1000, "raw_size": 3000,
     "resource": [{"md5": "aa", "url": "http://dl.example/a.zip"}, {"md5": "bb", "url": "http://dl.example/b.zip"}]},
    {"display": "Fonts", "target_path": "fonts", "type": 1, "size": 20, "raw_size": 40, "resource": []}
  ]
})";

TEST(ConfigDocument, ACompleteDocumentFillsEveryField) {
  ConfigParseResult r = ParseConfigDocument(kDocument);
  ASSERT_TRUE(r.record) << r.error;
  const ConfigRecord& c = *r.record;
  EXPECT_EQ(c.installer.display, L"Vellumo 图片管家");
  EXPECT_EQ(c.installer.md5, "0123456789ABCDEFabcdef0123456789");
  EXPECT_EQ(c.installer.size, 73400320u);
  EXPECT_EQ(c.installer.url, "http://dl.example/pkg/Vellumo_setup.exe");
  EXPECT_EQ(c.starup.main, L"bin\\Vellumo.exe");
  EXPECT_EQ(c.starup.args, std::optional<std::wstring>(L"--from-installer 安装"));
  ASSERT_EQ(c.external.size(), 2u);
  EXPECT_EQ(c.external[0].display, L"滤镜包");
  EXPECT_EQ(c.external[0].target_path, L"./data");
  EXPECT_EQ(c.external[0].type, 2u);
  EXPECT_EQ(c.external[0].size, 1000u);
  EXPECT_EQ(c.external[0].raw_size, 3000u);
  ASSERT_EQ(c.external[0].resource.size(), 2u);
  EXPECT_EQ(c.external[0].resource[0].md5, "aa");
  EXPECT_EQ(c.external[0].resource[1].url, "http://dl.example/b.zip");
  EXPECT_EQ(c.external[1].display, L"Fonts");
  EXPECT_TRUE(c.external[1].resource.empty());
}

TEST(ConfigDocument, EachChangeIsAcceptedOrRejectedWithTheLibrarysMessage) {
  struct Case {
    const char* name;
    std::function<void(json&)> change;
    const char* error;  // nullptr: accepted
    std::function<void(const ConfigRecord&)> check;
  };
  const Case cases[] = {
      {"no args", [](json& d) { d["starup"].erase("args"); }, nullptr,
       [](const ConfigRecord& c) { EXPECT_FALSE(c.starup.args.has_value()); }},
      {"empty args", [](json& d) { d["starup"]["args"] = ""; }, nullptr,
       [](const ConfigRecord& c) { EXPECT_EQ(c.starup.args, std::optional<std::wstring>(L"")); }},
      {"null args", [](json& d) { d["starup"]["args"] = nullptr; },
       "[json.exception.type_error.302] type must be string, but is null", {}},
      {"type true", [](json& d) { d["external"][0]["type"] = true; }, nullptr,
       [](const ConfigRecord& c) { EXPECT_EQ(c.external[0].type, 1u); }},
      {"type at the 32-bit limit", [](json& d) { d["external"][0]["type"] = 4294967295u; }, nullptr,
       [](const ConfigRecord& c) { EXPECT_EQ(c.external[0].type, 4294967295u); }},
      {"type past the 32-bit limit", [](json& d) { d["external"][0]["type"] = 4294967296u; },
       "[json.exception.out_of_range.406] number out of range for 'type': 4294967296", {}},
      {"size in quotes", [](json& d) { d["installer"]["size"] = "12"; },
       "[json.exception.type_error.302] type must be number, but is string", {}},
      {"size 12.9", [](json& d) { d["installer"]["size"] = 12.9; }, nullptr,
       [](const ConfigRecord& c) { EXPECT_EQ(c.installer.size, 12u); }},
      {"size true", [](json& d) { d["installer"]["size"] = true; },
       "[json.exception.type_error.302] type must be number, but is boolean", {}},
      {"size -1", [](json& d) { d["installer"]["size"] = -1; },
       "[json.exception.out_of_range.406] number out of range for 'size': -1", {}},
      {"size -1.5", [](json& d) { d["external"][1]["size"] = -1.5; },
       "[json.exception.out_of_range.406] number out of range for 'size': -1.5", {}},
      {"raw_size 2^64 as floating", [](json& d) { d["external"][0]["raw_size"] = 18446744073709551616.0; },
       "[json.exception.out_of_range.406] number out of range for 'raw_size'", {}},
      {"largest size", [](json& d) { d["installer"]["size"] = 18446744073709551615u; }, nullptr,
       [](const ConfigRecord& c) { EXPECT_EQ(c.installer.size, 18446744073709551615u); }},
      {"empty external", [](json& d) { d["external"] = json::array(); }, nullptr,
       [](const ConfigRecord& c) { EXPECT_TRUE(c.external.empty()); }},
      {"null external", [](json& d) { d["external"] = nullptr; },
       "[json.exception.type_error.302] type must be array, but is null", {}},
      {"external as an object", [](json& d) { d["external"] = json::object(); },
       "[json.exception.type_error.302] type must be array, but is object", {}},
      {"null resource", [](json& d) { d["external"][1]["resource"] = nullptr; },
       "[json.exception.type_error.302] type must be array, but is null", {}},
      {"no starup", [](json& d) { d.erase("starup"); }, "[json.exception.out_of_range.403] key 'starup' not found", {}},
      {"resource without url", [](json& d) { d["external"][0]["resource"][1].erase("url"); },
       "[json.exception.out_of_range.403] key 'url' not found", {}},
      {"display a number", [](json& d) { d["installer"]["display"] = 5; },
       "[json.exception.type_error.302] type must be string, but is number", {}},
      {"installer a string", [](json& d) { d["installer"] = "x"; },
       "[json.exception.type_error.304] cannot use at() with string", {}},
      {"external item not an object", [](json& d) { d["external"][0] = 1; },
       "[json.exception.type_error.304] cannot use at() with number", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    json doc = json::parse(kDocument);
    c.change(doc);
    ConfigParseResult r = ParseConfigDocument(doc.dump());
    if (c.error) {
      EXPECT_FALSE(r.record.has_value());
      EXPECT_EQ(r.error.rfind(c.error, 0), 0u) << r.error;
    } else {
      ASSERT_TRUE(r.record) << r.error;
      EXPECT_EQ(r.error, "");
      c.check(*r.record);
    }
  }
}

TEST(ConfigDocument, TextThatIsNotOneStrictJsonValueIsRejected) {
  std::string huge = kDocument;
  huge.replace(huge.find("73400320"), 8, "1e400");  // beyond every floating value
  struct Case {
    std::string text;
    const char* error;
  } cases[] = {
      {"{}", "[json.exception.out_of_range.403] key 'installer' not found"},
      {"", "[json.exception.parse_error.101] parse error at line 1, column 1"},
      {"<html><body><h1>Not Found</h1></body></html>", "[json.exception.parse_error.101]"},
      {"// the configuration\n{}", "[json.exception.parse_error.101]"},
      {"{} {}", "[json.exception.parse_error.101]"},
      {"[1]", "[json.exception.type_error.304] cannot use at() with array"},
      {"{\"installer\": {\"display\": \"\xff\"}}", "[json.exception.parse_error.101]"},
      {huge, "[json.exception.out_of_range.406]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    ConfigParseResult r = ParseConfigDocument(c.text);
    EXPECT_FALSE(r.record.has_value());
    EXPECT_EQ(r.error.rfind(c.error, 0), 0u) << r.error;
  }
}

TEST(ConfigRequest, AddressCarriesTheLaunchIdentity) {
  EXPECT_EQ(ConfigRequestUrl("http://config.example", 18, 1110, "1.0.0.5"),
            "http://config.example/api/int_kestrel_download.json?a=18&u=1110&v=1.0.0.5&t=0");
}

}  // namespace
