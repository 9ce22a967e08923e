// Packs a skin folder into the zip archive the installer embeds: every regular file below the
// folder becomes one entry named by its relative path with "/" separators, in sorted order and
// with a fixed time stamp so that the same folder always gives the same bytes. Entries are
// deflated unless that would not make them smaller (PNG images), then they are stored.
//
//   skin_packer <output.zip> <skin folder>
#include <minizip/zip.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool ReadWhole(const fs::path& p, std::string& out) {
  std::ifstream in(p, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool DeflateHelps(const std::string& bytes) {
  if (bytes.empty()) return false;
  uLongf size = compressBound(static_cast<uLong>(bytes.size()));
  std::vector<Bytef> out(size);
  if (compress2(out.data(), &size, reinterpret_cast<const Bytef*>(bytes.data()),
                static_cast<uLong>(bytes.size()), Z_BEST_COMPRESSION) != Z_OK) {
    return false;
  }
  return size - 6 < bytes.size();  // without the zlib header and trailer the zip does not hold
}

bool AddEntry(zipFile zip, const std::string& name, const std::string& bytes) {
  zip_fileinfo info{};
  info.tmz_date.tm_year = 2024;  // minizip takes the full year
  info.tmz_date.tm_mon = 0;
  info.tmz_date.tm_mday = 1;
  info.external_fa = 0100644u << 16;  // regular file, rw-r--r--
  const bool deflate = DeflateHelps(bytes);
  if (zipOpenNewFileInZip3_64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                              deflate ? Z_DEFLATED : 0, deflate ? Z_BEST_COMPRESSION : 0, 0,
                              -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0,
                              bytes.size() >= 0xFFFFFFFFu) != ZIP_OK) {
    return false;
  }
  // The writer takes an unsigned length: larger files go in pieces rather than cut short.
  bool ok = true;
  for (size_t at = 0; ok && at < bytes.size();) {
    const unsigned piece = static_cast<unsigned>(std::min<size_t>(bytes.size() - at, 1u << 30));
    ok = zipWriteInFileInZip(zip, bytes.data() + at, piece) == ZIP_OK;
    at += piece;
  }
  return zipCloseFileInZip(zip) == ZIP_OK && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <output.zip> <skin folder>\n", argv[0]);
    return 2;
  }
  const fs::path output = argv[1];
  const fs::path root = argv[2];
  std::error_code ec;
  std::vector<fs::path> files;
  for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_regular_file()) files.push_back(it->path());
  }
  if (ec) {
    std::fprintf(stderr, "skin_packer: cannot list %s: %s\n", root.c_str(), ec.message().c_str());
    return 1;
  }
  std::sort(files.begin(), files.end());

  // Written beside the target and renamed at the end, so a failed run leaves no half archive.
  const fs::path partial = output.string() + ".partial";
  zipFile zip = zipOpen64(partial.c_str(), APPEND_STATUS_CREATE);
  if (zip == nullptr) {
    std::fprintf(stderr, "skin_packer: cannot create %s\n", partial.c_str());
    return 1;
  }
  bool ok = true;
  for (const fs::path& file : files) {
    std::string bytes;
    const std::string name = file.lexically_relative(root).generic_string();
    if (!ReadWhole(file, bytes) || !AddEntry(zip, name, bytes)) {
      std::fprintf(stderr, "skin_packer: cannot add %s\n", file.c_str());
      ok = false;
      break;
    }
  }
  ok = zipClose(zip, nullptr) == ZIP_OK && ok;
  if (ok) fs::rename(partial, output, ec);
  if (!ok || ec) {
    fs::remove(partial, ec);
    return 1;
  }
  return 0;
}
