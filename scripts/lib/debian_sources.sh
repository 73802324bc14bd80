# shellcheck shell=bash
# Debian's source packages for the libraries that are cross-built (Windows, the web), fetched by
# an apt configuration of their own, so that the machine's apt sources and lists stay as they are:
#
#   source scripts/lib/debian_sources.sh
#   debian_sources_update APT_DIR          reads the source index, with its own sources list,
#                                          lists and cache in APT_DIR; fails (1) without it
#   debian_source_version NAME UPSTREAM [FILE]   prints NAME=VERSION, the newest revision of that
#                                          upstream version whose FILE (a pattern; the source
#                                          description, .dsc, unless named) the archive serves
#   debian_sources_fetch DIR NAME=VERSION...   unpacks those sources in DIR
#   debian_orig_tarball DIR NAME=VERSION   downloads only the original tarball, checked against
#                                          the signed index's hash, and prints its path
#
# A library is pinned by its upstream version (as Debian spells it, without epoch or revision),
# never by a Debian revision: a point release or a security update replaces the revision, and the
# old one leaves the archive. Errors name the package and what to change, and end the script.

debian_sources_fail() {
  echo "$(basename "$0"): $*" >&2
  exit 1
}

debian_sources_update() {
  local apt_dir=$1
  mkdir -p "$apt_dir"/{lists/partial,cache/archives/partial,sources.list.d,preferences.d}
  cat > "$apt_dir/sources.list" << 'EOF'
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm-updates main
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian-security bookworm-security main
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian sid main
EOF
  debian_apt_options=(
    -o "Dir::Etc::SourceList=$apt_dir/sources.list"
    -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
    -o "Dir::Etc::PreferencesParts=$apt_dir/preferences.d"
    -o "Dir::State::Lists=$apt_dir/lists"
    -o "Dir::Cache=$apt_dir/cache"
    -o "Debug::NoLocking=true"
    # An index past its "Valid-Until" (sid's lasts a week; a mirror or proxy may serve one that
    # old) is still checked against its signature, and every source it names against its hash:
    # only the sources' versions are read from it, pinned by upstream version.
    -o "Acquire::Check-Valid-Until=false"
  )
  # apt drops to the _apt user to download, who may not write into the caller's folders.
  [ "$(id -u)" -ne 0 ] || debian_apt_options+=(-o APT::Sandbox::User=root)
  apt-get "${debian_apt_options[@]}" -q update > "$apt_dir/update.log" 2>&1 && return 0
  tail -n 5 "$apt_dir/update.log" >&2
  echo "$(basename "$0"): could not read Debian's source index ($apt_dir/update.log)" >&2
  return 1
}

debian_source_version() {
  local name=$1 upstream=$2 wanted=${3:-\.dsc} version served=() candidates=() line uri file hash
  while read -r version; do
    served+=("$version")
    local bare=${version#*:}
    [ "${bare%-*}" = "$upstream" ] && candidates+=("$version")
  done < <(apt-cache "${debian_apt_options[@]}" showsrc --only-source "$name" 2> /dev/null |
    sed -n 's/^Version: //p' | sort -u)
  [ ${#served[@]} -gt 0 ] ||
    debian_sources_fail "Debian's archive serves no source package $name: change its entry in $0"
  [ ${#candidates[@]} -gt 0 ] ||
    debian_sources_fail "Debian's archive serves no $name of upstream version $upstream, only" \
      "${served[*]}: change the pin $name=$upstream in $0 to one of those upstream versions"
  # The newest revision whose file can be fetched: an index may list a revision a mirror does not
  # carry.
  local probe
  probe=$(mktemp -d)
  while read -r version; do
    line=$(apt-get "${debian_apt_options[@]}" --print-uris source --only-source "$name=$version" \
      2> /dev/null | grep "$wanted" | head -n 1) || continue
    read -r uri file _ hash <<< "$line"
    if /usr/lib/apt/apt-helper download-file "${uri//\'/}" "$probe/$file" "$hash" > /dev/null 2>&1; then
      rm -rf "$probe"
      echo "$name=$version"
      return 0
    fi
  done < <(printf '%s\n' "${candidates[@]}" | sort -r -V)
  rm -rf "$probe"
  debian_sources_fail "none of ${candidates[*]} of $name can be fetched from Debian's archive"
}

debian_sources_fetch() {
  local dir=$1
  shift
  (cd "$dir" && apt-get "${debian_apt_options[@]}" -q source --only-source "$@")
}

debian_orig_tarball() {
  local dir=$1 source=$2 line uri file hash
  line=$(cd "$dir" && apt-get "${debian_apt_options[@]}" --print-uris source --only-source \
    "$source" 2> /dev/null | grep '\.orig\.tar\.' | head -n 1) ||
    debian_sources_fail "no original tarball of $source in Debian's source index"
  read -r uri file _ hash <<< "$line"
  uri=${uri//\'/}
  /usr/lib/apt/apt-helper download-file "$uri" "$dir/$file" "$hash" > /dev/null 2>&1 ||
    debian_sources_fail "could not download $file"
  echo "$dir/$file"
}
