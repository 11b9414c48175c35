#!/usr/bin/env bash
# Installs the Debian package into a fresh Debian 12 root (debootstrap from
# Debian's mirror, so it needs the network and root) and checks it there as
# a user would meet it: the MIME type by name and by content, a thumbnail
# from the installed thumbnailer entry and from gdk-pixbuf, a clean failure
# on a broken file, and the loader gone from gdk-pixbuf's cache on removal.
# Usage: scripts/check-deb-clean-root.sh [ROOT]   (default: build/clean-root)
set -euo pipefail
cd "$(dirname "$0")/.."
root=${1:-build/clean-root}
deb=$(scripts/package-deb.sh | tail -n 1)

if [ ! -x "$root/usr/bin/apt-get" ]; then
  debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian >/dev/null
fi
cp /etc/resolv.conf "$root/etc/"
# pelconv finds the module through /proc/self/exe, as on any running system.
mount -t proc proc "$root/proc"
trap 'umount "$root/proc"' EXIT
mkdir -p "$root/tmp/pelo"
cp "$deb" samples/sprite.pel samples/cottage-legacy.pel "$root/tmp/pelo/"
chroot "$root" /bin/bash -euo pipefail -c '
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q >/dev/null
  apt-get install -y -q /tmp/pelo/pelo2spi_*.deb >/dev/null
  apt-get install -y -q --no-install-recommends libgdk-pixbuf2.0-bin libglib2.0-bin >/dev/null
  cd /tmp/pelo
  cp -- cottage-legacy.pel "-a cottage"
  for f in sprite.pel "./-a cottage"; do
    gio info -a standard::content-type "$f" | grep -q "content-type: image/x-pelo"
  done
  # The entry'"'"'s Exec line, field by field, without a shell.
  exec_line=$(sed -n "s/^Exec=//p" /usr/share/thumbnailers/pelo.thumbnailer)
  set -- $exec_line
  args=()
  for field; do
    case $field in %s) args+=(128) ;; %i) args+=("-a cottage") ;; %o) args+=("-thumb.png") ;;
      *) args+=("$field") ;; esac
  done
  "${args[@]}"
  [ -s -thumb.png ]
  gdk-pixbuf-thumbnailer -s 128 sprite.pel gdk-thumb.png
  [ -s gdk-thumb.png ]
  head -c 100 sprite.pel >broken.pel
  ! pelconv --thumbnail 128 broken.pel broken.png 2>/dev/null
  ! gdk-pixbuf-thumbnailer -s 128 broken.pel broken.png 2>/dev/null
  [ ! -e broken.png ]
  grep -q pixbufloader-pelo /usr/lib/*/gdk-pixbuf-2.0/2.10.0/loaders.cache
  dpkg -r pelo2spi >/dev/null
  ! grep -q pixbufloader-pelo /usr/lib/*/gdk-pixbuf-2.0/2.10.0/loaders.cache
'
echo "$deb installs, makes thumbnails and fails cleanly in $root"
