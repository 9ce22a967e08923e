#include <clocale>

#include "app/win_main.h"
#include "platform/process_info.h"

int main(int argc, char** argv) {
  // The locale's character set is the "ANSI code page" of cfg.dat and of the byte-size texts.
  std::setlocale(LC_ALL, "");
  platform::SaveCommandLine(argc, argv);
  return wWinMain();
}
