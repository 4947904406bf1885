#!/usr/bin/env bash
# The small disk of the end-to-end tests, on which a test fills the disk part-way
# through writing convert.bat: an ext2 file system of 128 KB with 1 KB blocks in
# an image file, mounted through a loop device.
#   tools/small-disk.sh mount FOLDER     mounts a fresh one at FOLDER
#   tools/small-disk.sh unmount FOLDER
# Mounting needs root. Where it is refused FOLDER stays a plain folder, which the
# test recognises by its size: it then leaves the full disk out and says so.
set -uo pipefail

action=$1
folder=$2
image="$folder.img"

if mountpoint -q "$folder"; then
    umount "$folder" || exit 1
fi
rm -f "$image"
[ "$action" = mount ] || exit 0

mkdir -p "$folder"
if ! { truncate -s 128K "$image" && mke2fs -q -F -t ext2 -b 1024 -m 0 "$image" &&
       mount -o loop "$image" "$folder"; }; then
    echo "small-disk: cannot mount a small disk at $folder" >&2
fi
exit 0
