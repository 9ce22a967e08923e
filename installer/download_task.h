#pragma once
// One file of the download list: the package installer or one resource of an external item.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

struct DownloadTask {
  std::wstring display;              // name shown while this file downloads
  std::filesystem::path localPath;   // final path: the download folder and the url's file name
  std::string url;
  std::uint64_t size = 0;            // expected size; 0: not announced, not checked
  std::vector<std::uint8_t> md5;     // expected digest, decoded from the configuration's text
};

// Suffix of the file a download is written to until it has been verified.
inline constexpr std::string_view kTempFileSuffix = ".dl.tmp";

// The part of `url` after its last "/" (all of it without one). Nothing else is removed: a query
// string stays in the name. The bytes are kept as they are (the file system takes them as the
// locale's character set, which the configuration's text already is).
std::string DownloadFileName(std::string_view url);

// True when `localPath` ends in a name that is a file of its folder: not empty, ".", or ".."
// (which a url ending in "/", "/." or "/.." gives, naming the folder or its parent), and without
// a NUL byte (which the system would take as the end of a shorter name).
bool HasUsableFileName(const std::filesystem::path& localPath);

// localPath + ".dl.tmp".
std::filesystem::path TempFilePath(const std::filesystem::path& localPath);

// Hexadecimal text two characters per byte, high nibble first: "0"-"9", "a"-"f" and "A"-"F" are
// their values, any other character 0; an odd last character is the high nibble of a last byte.
std::vector<std::uint8_t> DecodeMd5Text(std::string_view text);

// A digest matches an expected one when both have the same length and bytes (so an expected text
// that does not decode to 16 bytes never matches a digest).
bool DigestMatches(const std::vector<std::uint8_t>& digest, const std::vector<std::uint8_t>& expected);
