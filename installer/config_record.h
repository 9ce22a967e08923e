#pragma once
// The download configuration: which package installer to fetch (and how to check it), which
// extra resources go with it, and what to start at the end. Fetched once at start-up, never
// changed afterwards.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct PackageInfo {
  std::wstring display;    // name shown while downloading
  std::string md5;         // expected MD5 as hexadecimal text
  std::uint64_t size = 0;  // expected size in bytes; 0 disables the size checks
  std::string url;         // the file name is the text after its last "/"
};

struct StartProgramInfo {
  std::wstring main;                 // relative to the install folder
  std::optional<std::wstring> args;  // absent when the document has no "args"
};

struct ResourceRef {
  std::string md5;
  std::string url;
};

struct ExternalItem {
  std::wstring display;
  std::wstring target_path;    // announced in the hand-off file
  std::uint32_t type = 0;      // announced in the hand-off file
  std::uint64_t size = 0;      // bytes to download (progress total, space)
  std::uint64_t raw_size = 0;  // bytes once installed (space)
  std::vector<ResourceRef> resource;
};

struct ConfigRecord {
  PackageInfo installer;
  StartProgramInfo starup;  // spelled as on the wire
  std::vector<ExternalItem> external;
};

// server + "/api/int_kestrel_download.json?a={}&u={}&v={}&t={}" with the launch identity and t=0.
std::string ConfigRequestUrl(std::string_view server, unsigned appId, unsigned unionId, std::string_view versionText);

struct ConfigParseResult {
  std::optional<ConfigRecord> record;  // set when the whole document was accepted
  std::string error;                   // otherwise the JSON library's message
};

// Parses a configuration document strictly (no comments, nothing after the value). Every key is
// required except "args"; other keys are ignored. Strings must be strings; numbers must be
// numbers ("type" may also be a boolean), floating values are truncated, and a value that does
// not fit its unsigned field (negative, or too large) is rejected.
ConfigParseResult ParseConfigDocument(std::string_view text);
