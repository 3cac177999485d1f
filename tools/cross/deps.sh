#!/usr/bin/env bash
# Builds what Debian does not ship for a target system (windows, web, arm64) from Debian's source packages into a
# cached prefix outside the clone, and prints that prefix as its last line. Each target's steps are its recipe.
#
# Usage: tools/cross/deps.sh TARGET
#
# The prefix is ${XDG_CACHE_HOME:-$HOME/.cache}/tavo2000-deps/TARGET-HASH, where HASH covers the recipe, the
# files the recipe names as inputs, its toolchain fingerprint and the versions of the source packages it builds
# (this script only fetches and orders the steps, so mending it rebuilds nothing). A stamp file written last marks
# a finished prefix; when it matches, nothing is built or fetched and no lock is waited for. A build leaves the
# target's new prefix and the one used last before it in the cache, and removes the older ones.
#
# A recipe is tools/cross/recipes/TARGET.sh, sourced by this script. It may set or define:
#   source_packages=(...)    Debian source packages it builds (fetched with apt-get source, unpacked, patched)
#   original_tarball_only=(...)  those of source_packages fetched as their original tarball alone (apt-get source
#                            --tar-only), for a package whose Debian part the archive lacks; unpacked unpatched
#                            into NAME-VERSION (the upstream version), without a debian/ folder
#   recipe_inputs=(...)      more files of the repository, relative to its root, that the build depends on
#   recipe_fingerprint       a function printing what else the build depends on (compiler versions)
#   recipe_host_setup        a function run as root before the host packages are installed (dpkg architectures)
#   recipe_build PREFIX      a function that builds into PREFIX; `source_dir NAME` gives a package's unpacked folder,
#                            `run_logged TITLE CMD...` runs a step with its output in the build log
# and tools/cross/recipes/TARGET.packages lists the Debian packages the target's build and tests need on this
# machine, one per line (# starts a comment); they are installed through tools/install-deps.sh and are not hashed.
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
target=${1:-}
recipe=$repo/tools/cross/recipes/$target.sh
if [ -z "$target" ] || [ ! -f "$recipe" ]; then
  echo "usage: tools/cross/deps.sh TARGET  (targets: $(cd "$repo/tools/cross/recipes" && for r in *.sh; do printf '%s ' "${r%.sh}"; done))" >&2
  exit 2
fi

say() { echo "deps($target): $*" >&2; }

# Host packages first: the recipe's fingerprint may call the compilers they bring.
source_packages=()
original_tarball_only=()
recipe_inputs=()
# shellcheck source=/dev/null
source "$recipe"
if declare -F recipe_host_setup > /dev/null && [ "$(id -u)" -eq 0 ]; then
  recipe_host_setup >&2
fi
host_packages=()
if [ -f "${recipe%.sh}.packages" ]; then
  mapfile -t host_packages < <(sed 's/#.*//; s/[[:space:]]//g; /^$/d' "${recipe%.sh}.packages")
fi
"$repo/tools/install-deps.sh" "${host_packages[@]}" >&2

cache_root=${XDG_CACHE_HOME:-$HOME/.cache}/tavo2000-deps
mkdir -p "$cache_root"

# A private apt configuration holding the deb-src twin of every Debian entry of this machine, so the sources come
# from the same archive and suites as its binary packages, and the machine's own apt set-up is left alone.
apt_dir=$cache_root/apt
apt_options=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
  -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o Dir::Etc::Preferences=/dev/null
  -o "Dir::Etc::PreferencesParts=$apt_dir/preferences.d")
[ "$(id -u)" -eq 0 ] && apt_options+=(-o APT::Sandbox::User=root)

# Prints the deb-src entries derived from the machine's Debian entries (deb822 stanzas, then one-line entries).
derived_source_entries() {
  local file
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    # Stanzas whose Types hold "deb" and whose URIs name a Debian archive, with their Types made deb-src.
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
         /(^|\n)Types:[^\n]*(^|[ \t])deb([ \t\n]|$)/ && /(^|\n)URIs:[^\n]*debian/ {
           sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$file"
  done
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    # "deb [options] URI suite components" becomes the same entry in deb822 form with deb-src.
    sed -n 's/^[[:space:]]*deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]*debian[^[:space:]]*\)[[:space:]]\+\([^[:space:]]\+\)[[:space:]]\+\(.*\)$/Types: deb-src\nURIs: \2\nSuites: \3\nComponents: \4\n/p' "$file"
  done
}

update_source_lists() {
  mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/preferences.d"
  derived_source_entries > "$apt_dir/sources.list.d/debian-src.sources"
  if [ ! -s "$apt_dir/sources.list.d/debian-src.sources" ]; then
    say "no Debian entry in /etc/apt/sources.list or /etc/apt/sources.list.d to derive a deb-src entry from"
    exit 1
  fi
  say "reading the source package lists"
  apt-get "${apt_options[@]}" -qq update >&2
}

# The version apt-get source would fetch for a source package: the one of the highest-ranked .dsc.
source_version() {
  apt-get "${apt_options[@]}" source --print-uris "$1" 2> /dev/null |
    sed -n "s/^'[^']*' ${1}_\(.*\)\.dsc [0-9].*/\1/p" | head -n 1
}

# Sets versions=(package=version ...) for the recipe's source packages. Reading only (first argument 0), it
# returns 1 where the lists would have to be read again; allowed to update (1, under the apt lock), it reads them.
find_versions() {
  local may_update=$1 package version
  versions=()
  [ ${#source_packages[@]} -gt 0 ] || return 0
  # The lists are read again only when the machine's entries changed or a package is not found in them.
  if [ "$(derived_source_entries)" != "$(cat "$apt_dir/sources.list.d/debian-src.sources" 2> /dev/null)" ] ||
     ! compgen -G "$apt_dir/lists/*Sources*" > /dev/null; then
    [ "$may_update" = 1 ] || return 1
    update_source_lists
  fi
  for package in "${source_packages[@]}"; do
    version=$(source_version "$package")
    if [ -z "$version" ]; then
      [ "$may_update" = 1 ] || return 1
      update_source_lists
      version=$(source_version "$package")
    fi
    if [ -z "$version" ]; then
      say "Debian's archive offers no source package '$package'"
      exit 1
    fi
    versions+=("$package=$version")
  done
}

# What the prefix is made from: one line per input, the stamp's content and the source of the hash.
manifest() {
  local file
  for file in "tools/cross/recipes/$target.sh" "${recipe_inputs[@]}"; do
    echo "file $file $(sha256sum < "$repo/$file" | cut -c1-64)"
  done
  printf 'source %s\n' "${versions[@]}"
  if declare -F recipe_fingerprint > /dev/null; then
    recipe_fingerprint | sed 's/^/tool /'
  fi
}

# Sets wanted (the stamp's content), its hash, the prefix and its stamp from the versions found.
name_prefix() {
  wanted=$(manifest)
  hash=$(sha256sum <<< "$wanted" | cut -c1-16)
  prefix=$cache_root/$target-$hash
  stamp=$prefix/.tavo2000-deps-stamp
}

stamp_matches() {
  [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$wanted" ]
}

# A finished prefix in use: its stamp's time is renewed, so that time tells when the prefix was last used.
use_prefix() {
  touch "$stamp" 2> /dev/null || true
  echo "$prefix"
}

# A finished prefix needs no lock: only reading, so a cached run never waits behind another run's build.
if find_versions 0; then
  name_prefix
  if stamp_matches; then
    use_prefix
    exit 0
  fi
fi

# A build is needed: one run per target at a time (two would share the prefix), and one at a time using the shared
# apt lists. Under the locks everything is looked at again, as another run may have finished the prefix meanwhile.
exec 9> "$cache_root/.lock-$target"
flock 9
exec 8> "$cache_root/.lock-apt"
flock 8
find_versions 1
name_prefix
if stamp_matches; then
  use_prefix
  exit 0
fi

say "building into $prefix"
work=$cache_root/.work-$target-$hash
rm -rf "$prefix" "$work"
mkdir -p "$prefix" "$work/src"
log=$work/build.log
: > "$log"

source_dir() {
  local dir
  dir=$(find "$work/src" -mindepth 1 -maxdepth 1 -type d -name "$1-[0-9]*" | head -n 1)
  [ -n "$dir" ] || { say "no unpacked source for $1"; return 1; }
  echo "$dir"
}

run_logged() {
  local title=$1
  shift
  say "$title"
  echo "== $title: $*" >> "$log"
  if ! "$@" >> "$log" 2>&1; then
    say "failed: $title (last lines of $log follow)"
    tail -n 60 "$log" >&2
    return 1
  fi
}

# Whether a source package is fetched as its original tarball alone.
tarball_only() {
  local package
  for package in "${original_tarball_only[@]}"; do
    [ "$package" = "$1" ] && return 0
  done
  return 1
}

# Fetches the original tarball of entry (package=version) into its own folder and unpacks it into
# NAME-UPSTREAMVERSION, the folder name source_dir looks for (the tarball's own top folder is upstream's name).
fetch_original_tarball() {
  local entry=$1 package=${1%%=*} version=${1#*=} fetched tarball
  fetched=$work/tarball-$package
  mkdir -p "$fetched"
  (cd "$fetched" && apt-get "${apt_options[@]}" source -qq --tar-only "$entry" >> "$log" 2>&1) || return 1
  tarball=$(find "$fetched" -maxdepth 1 -name "${package}_*.orig.tar.*" ! -name "*.asc" | head -n 1)
  [ -n "$tarball" ] || { say "apt-get source --tar-only fetched no original tarball of $package"; exit 1; }
  version=${version#*:}
  version=${version%-*}
  mkdir -p "$work/src/$package-$version"
  tar -xf "$tarball" -C "$work/src/$package-$version" --strip-components=1
}

fetch_sources() {
  local entry
  for entry in "${versions[@]}"; do
    if tarball_only "${entry%%=*}"; then
      if ! fetch_original_tarball "$entry"; then
        update_source_lists
        say "the source package lists changed; run tools/cross/deps.sh $target again"
        exit 1
      fi
      continue
    fi
    if ! (cd "$work/src" && apt-get "${apt_options[@]}" source -qq "$entry" >> "$log" 2>&1); then
      # The lists may name a version the archive has since replaced: read them again once.
      update_source_lists
      say "the source package lists changed; run tools/cross/deps.sh $target again"
      exit 1
    fi
  done
}
if [ ${#versions[@]} -gt 0 ]; then
  say "fetching ${versions[*]}"
  fetch_sources
fi

flock -u 8

started=$(date +%s)
recipe_build "$prefix"
say "built in $(( $(date +%s) - started )) s"

rm -rf "$work"
printf '%s\n' "$wanted" > "$stamp.new"
mv "$stamp.new" "$stamp"

# The cache keeps, of this target, the new prefix and the one used last before it (a clone of an earlier commit
# still finds its own), so it does not grow with every change of a recipe; unfinished prefixes and work folders
# of this target go too (none is being built: this run holds the target's lock).
is_target_folder() { [[ $(basename "$1") =~ ^(\.work-)?$target-[0-9a-f]{16}$ ]] && [ "$1" != "$prefix" ]; }
kept_before=0
while IFS= read -r old; do
  old=$(dirname "$old")
  is_target_folder "$old" || continue
  if [ $kept_before -eq 0 ]; then
    kept_before=1
    continue
  fi
  say "removing the older $(basename "$old")"
  rm -rf "$old"
done < <(ls -t "$cache_root/$target"-*/.tavo2000-deps-stamp 2> /dev/null)
for old in "$cache_root/$target"-* "$cache_root/.work-$target"-*; do
  if [ -d "$old" ] && [ ! -f "$old/.tavo2000-deps-stamp" ] && is_target_folder "$old"; then
    say "removing the unfinished $(basename "$old")"
    rm -rf "$old"
  fi
done
use_prefix
