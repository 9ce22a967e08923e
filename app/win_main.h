#pragma once

// The process entry: brings the installer up in its fixed order, runs it and tears it down
// again. Returns the process exit code, which is always 0.
int wWinMain();
