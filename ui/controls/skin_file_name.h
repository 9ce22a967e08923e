#pragma once
// How skin file names are matched, in archives and on disk alike: "\" and "/" both separate
// folders, and ASCII letters compare in either case ("xml\common\font.xml" names the file
// "xml/common/Font.xml"). Every other byte must be equal, so non-ASCII names match exactly.
#include <string>
#include <string_view>

namespace SkinUI {

// Equal ignoring the case of the ASCII letters a to z.
bool SkinNamesEqual(std::string_view a, std::string_view b);

// The disk path of the loose skin file `name` below `folder` (a prefix used as it stands, like
// the registry's resource folder; empty means the current directory). The path as written is
// taken when it exists; otherwise each folder and file name of `name` is matched against the
// directory's entries with SkinNamesEqual. Of several entries that differ only in case, the
// smallest name in byte order is taken, so the choice never depends on the order of a listing.
// Nothing found: the path as written (opening it then fails as a missing file does).
std::string FindLooseSkinFile(std::string_view folder, std::string_view name);

}  // namespace SkinUI
