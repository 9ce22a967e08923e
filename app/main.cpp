#include "app/win_main.h"
#include "platform/process_info.h"

int main(int argc, char** argv) {
  platform::SaveCommandLine(argc, argv);
  return wWinMain();
}
