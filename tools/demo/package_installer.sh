#!/bin/sh
# The demo's package installer: stands in for the application's real installer. The web
# installer starts it with exactly three arguments, p=<install folder> u=<channel> f=<flags>, after
# writing cfg.dat into the download folder (the install folder followed by "_tmp", where this
# file lies too). It
#   - unpacks the demo application (packed onto the end of this file by make_demo_site.py) into
#     the install folder,
#   - copies every resource file cfg.dat names ("file#target folder#type" lines, CRLF) from the
#     download folder to its target folder inside the install folder,
#   - writes the shortcuts the flags ask for, for the desktop user (the one sudo or pkexec acts
#     for when run as root): 1 = desktop, 2 = applications menu, 4 = start with the session,
#   - exits 0; any failure exits non-zero with a message on stderr.
# For tests: VELLUMO_DEMO_EXIT=<code> exits with that code before installing anything (exit codes
# are 0-255 here), VELLUMO_DEMO_DELAY=<seconds> waits first.
set -u

# Where the packed application starts in this file; make_demo_site.py fills it in (the line
# keeps its length, so the offset does not move).
PAYLOAD_OFFSET=0 #______________

me=$0
cr=$(printf '\r')
nl='
'

fail() {
  code=$1
  shift
  echo "demo package installer: $*" >&2
  exit "$code"
}

say() {
  echo "demo package installer: $*"
  [ -n "${log:-}" ] && echo "$*" >> "$log"
  return 0
}

# --- arguments -----------------------------------------------------------------------------
[ $# -eq 3 ] || fail 2 "expected p=<folder> u=<channel> f=<flags>, got $# arguments"
dir="" union="" flags=""
for a in "$@"; do
  case "$a" in
    p=*) dir=${a#p=} ;;
    u=*) union=${a#u=} ;;
    f=*) flags=${a#f=} ;;
    *) fail 2 "unknown argument: $a" ;;
  esac
done
case "$dir" in
  /*) ;;
  *) fail 2 "p= must name an absolute folder, got '$dir'" ;;
esac
case "$dir" in *"$nl"*) fail 2 "p= must not contain a line break" ;; esac
case "$union" in '' | *[!0-9]*) fail 2 "u= must be a decimal number, got '$union'" ;; esac
case "$flags" in '' | *[!0-9]*) fail 2 "f= must be a decimal number, got '$flags'" ;; esac
dir=${dir%/}
[ -n "$dir" ] || fail 2 "p= must not be the root folder"

[ -n "${VELLUMO_DEMO_DELAY:-}" ] && sleep "$VELLUMO_DEMO_DELAY"
if [ -n "${VELLUMO_DEMO_EXIT:-}" ]; then
  echo "demo package installer: exiting with $VELLUMO_DEMO_EXIT as asked" >&2
  exit "$VELLUMO_DEMO_EXIT"
fi

# --- the application -----------------------------------------------------------------------
mkdir -p "$dir" || fail 3 "cannot create $dir"
log="$dir/install.log"
say "installing into $dir for channel $union with flags $flags"
[ "$PAYLOAD_OFFSET" -gt 0 ] || fail 3 "this package carries no application (make_demo_site.py packs it)"
tail -c +$((PAYLOAD_OFFSET + 1)) "$me" | tar -xzf - -C "$dir" --no-same-owner --no-overwrite-dir ||
  fail 3 "unpacking the application failed"
say "unpacked the application"

# --- resource files named in cfg.dat -------------------------------------------------------
tmp="${dir}_tmp"
cfg="$tmp/cfg.dat"
if [ -f "$cfg" ]; then
  while IFS= read -r line || [ -n "$line" ]; do
    line=${line%"$cr"}
    [ -n "$line" ] || continue
    case "$line" in *'#'*'#'*) ;; *) fail 4 "cfg.dat: not a 'file#target#type' line: $line" ;; esac
    # No escaping in the format: the name ends at the first "#", the type starts after the last.
    name=${line%%#*}
    rest=${line#*#}
    type=${rest##*#}
    target=$(printf '%s' "${rest%#*}" | tr '\\' '/')
    case "$name" in '' | . | .. | */*) fail 4 "cfg.dat: bad file name '$name'" ;; esac
    case "/$target/" in */../*) fail 4 "cfg.dat: target '$target' leaves the install folder" ;; esac
    target=${target#/}
    [ -f "$tmp/$name" ] || fail 4 "cfg.dat: $name is not in $tmp"
    mkdir -p "$dir/$target" && cp -f "$tmp/$name" "$dir/$target/$name" || fail 4 "copying $name failed"
    say "copied $name to ${target:-.} (type $type)"
  done < "$cfg"
fi

# --- shortcuts for the desktop user --------------------------------------------------------
user_uid=""
if [ "$(id -u)" -eq 0 ]; then
  if [ -n "${PKEXEC_UID:-}" ]; then
    user_uid=$PKEXEC_UID
  elif [ -n "${SUDO_UID:-}" ]; then
    user_uid=$SUDO_UID
    user_gid=${SUDO_GID:-}
  fi
  [ "$user_uid" = 0 ] && user_uid=""
fi
if [ -n "$user_uid" ]; then
  entry=$(getent passwd "$user_uid") || fail 5 "no account for the desktop user $user_uid"
  home=$(printf '%s' "$entry" | cut -d: -f6)
  [ -n "${user_gid:-}" ] || user_gid=$(printf '%s' "$entry" | cut -d: -f4)
  data_home="$home/.local/share"
  config_home="$home/.config"
  # Files in the user's home are written as the user: a link planted there then only reaches
  # what the user could reach anyway.
  as_user() { setpriv --reuid="$user_uid" --regid="$user_gid" --init-groups -- "$@"; }
else
  home=${HOME:-}
  [ -n "$home" ] || fail 5 "HOME is not set"
  data_home=${XDG_DATA_HOME:-$home/.local/share}
  config_home=${XDG_CONFIG_HOME:-$home/.config}
  as_user() { "$@"; }
fi

# The desktop folder the user chose (xdg-user-dirs), else ~/Desktop.
desktop_dir="$home/Desktop"
dirs_file="$config_home/user-dirs.dirs"
if [ -f "$dirs_file" ]; then
  chosen=$(as_user sed -n 's/^XDG_DESKTOP_DIR="\(.*\)"$/\1/p' "$dirs_file" | tail -n 1)
  case "$chosen" in
    '$HOME') desktop_dir=$home ;;
    '$HOME'/*) desktop_dir="$home/${chosen#\$HOME/}" ;;
    /*) desktop_dir=$chosen ;;
  esac
fi

# Exec= of a desktop entry: the program in double quotes, with \ " ` $ escaped inside them, every
# backslash then doubled once more for the file's string rules, and % written %%.
exec_path=$(printf '%s' "$dir/bin/vellumo" | sed -e 's/[\\"`$]/\\&/g' -e 's/\\/\\\\/g' -e 's/%/%%/g')
work_path=$(printf '%s' "$dir" | sed -e 's/\\/\\\\/g')

desktop_entry() {
  printf '%s\n' "[Desktop Entry]" "Type=Application" "Version=1.0" "Name=Vellumo" \
    "GenericName=Picture manager" "Comment=Browse and organise your pictures" \
    "Exec=\"$exec_path\"" "Path=$work_path" "Icon=image-x-generic" "Terminal=false" \
    "Categories=Graphics;Viewer;Photography;" "StartupWMClass=OrbiskMainWndCls"
  [ "${1:-}" = autostart ] && printf '%s\n' "X-GNOME-Autostart-enabled=true"
  return 0
}

# write_shortcut <folder> <kind>: written beside, then renamed into place.
write_shortcut() {
  desktop_entry "$2" | as_user sh -c 'mkdir -p "$1" && cat > "$1/vellumo.desktop.part" &&
    chmod 755 "$1/vellumo.desktop.part" && mv -f "$1/vellumo.desktop.part" "$1/vellumo.desktop"' sh "$1" ||
    fail 5 "cannot write the $2 shortcut in $1"
  say "wrote the $2 shortcut $1/vellumo.desktop"
}

[ $((flags & 1)) -ne 0 ] && write_shortcut "$desktop_dir" desktop
[ $((flags & 2)) -ne 0 ] && write_shortcut "$data_home/applications" menu
[ $((flags & 4)) -ne 0 ] && write_shortcut "$config_home/autostart" autostart

say "done"
exit 0
