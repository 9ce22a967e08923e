// Fills the launch context when told to, so that a test can replace the executable's file
// between the start and the moment the context is filled. Prints "ready", waits for SIGUSR1,
// then prints "<union id> <version text>". Stamped with its own file version, 3.4.5.6.
#include <signal.h>

#include <cstdio>

#include "stats/launch_context.h"

int main() {
  sigset_t go;
  sigemptyset(&go);
  sigaddset(&go, SIGUSR1);
  pthread_sigmask(SIG_BLOCK, &go, nullptr);
  std::puts("ready");
  std::fflush(stdout);
  int sig = 0;
  if (sigwait(&go, &sig) != 0) return 1;
  LaunchContext& ctx = TheLaunchContext();
  ctx.Init();
  std::printf("%u %s\n", static_cast<unsigned>(ctx.unionId), ctx.versionText);
  return 0;
}
