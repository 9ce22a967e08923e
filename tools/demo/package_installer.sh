#!/bin/sh
# The demo's package installer: stands in for the application's real installer. It is started
# with "p=<install folder>", "u=<channel>" and "f=<flags>", puts a tiny program into the folder
# and exits 0.
dir=""
for a in "$@"; do
  case "$a" in p=*) dir=${a#p=} ;; esac
done
[ -n "$dir" ] || exit 2
mkdir -p "$dir/bin" || exit 3
printf '#!/bin/sh\necho "Vellumo demo started in $(pwd)"\n' > "$dir/bin/Vellumo.exe" && chmod +x "$dir/bin/Vellumo.exe"
echo "demo package installer: $*"
exit 0
