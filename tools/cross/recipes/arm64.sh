# Recipe of tools/cross/deps.sh for Linux on 64-bit ARM: Debian ships every library the game needs for arm64, so
# nothing is built from source; the machine only has to accept arm64 packages (multiarch) before they install.
# shellcheck shell=bash
recipe_host_setup() {
  if ! dpkg --print-foreign-architectures | grep -qx arm64; then
    dpkg --add-architecture arm64
    apt-get -o DPkg::Lock::Timeout=900 -qq update
  fi
}

recipe_build() {
  :
}
