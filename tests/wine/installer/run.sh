#!/bin/bash
# The installer end to end, in a Wine prefix of its own (the shared one of
# the other Wine tests is never touched): build the previous and the current
# package, install the previous, upgrade to the current, refuse a downgrade,
# check what is installed, uninstall, check nothing of ours is left.
#   run.sh CMAKE SOURCE_DIR BIN_DIR WORK_DIR VERSION PREVIOUS_VERSION PROBE_EXE
set -euo pipefail
cmake_exe=$1 source_dir=$2 bin_dir=$3 work=$4 version=$5 previous=$6 probe=$7

export WINEPREFIX="$work/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$work"

step() { echo "== installer: $*"; }
fail() {
  echo "installer: FAILED: $*" >&2
  exit 1
}

step "packages $previous and $version"
new_msi="$work/TarrowView-$version-x64.msi"
old_msi="$work/TarrowView-$previous-x64.msi"
for v in "$previous" "$version"; do
  "$cmake_exe" -DVERSION="$v" -DBIN_DIR="$bin_dir" -DOUT="$work/TarrowView-$v-x64.msi" \
    -P "$source_dir/installer/package.cmake" || fail "building the $v package"
done

# The prefix is booted once and kept only when the last run left it as
# found (its mark is written after a clean uninstall); otherwise it is
# made again, so every run starts from a fresh prefix.
if [ ! -f "$WINEPREFIX/.clean" ]; then
  step "booting a fresh prefix"
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  if ! wineboot -i </dev/null >"$work/wineboot.log" 2>&1 || ! wineserver -w || [ ! -f "$WINEPREFIX/system.reg" ]; then
    tail -n 5 "$work/wineboot.log" >&2
    fail "booting $WINEPREFIX"
  fi
fi
rm -f "$WINEPREFIX/.clean"
# The server and Wine's service processes (started by the first program)
# are started apart from ctest's pipes and the probe's captured output, or
# the reader would wait for them.
wineserver -p </dev/null >/dev/null 2>&1 || true
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wine cmd /c exit </dev/null >/dev/null 2>&1 || fail "cannot run programs in $WINEPREFIX"

winpath() { echo "Z:${1//\//\\}"; }

# msiexec FLAG PACKAGE LOG: its exit code; its log in LOG.
msiexec_run() {
  local rc=0
  wine msiexec "$1" "$(winpath "$2")" /qn /l*v "$(winpath "$3")" </dev/null >/dev/null 2>&1 || rc=$?
  return $rc
}

run_probe() {
  local out
  out=$(TARROW_EXPECT_VERSION=$1 wine "$probe" --gtest_filter="$2" --gtest_brief=1 </dev/null 2>&1) && return 0
  echo "$out" | tr -d '\r' >&2
  return 1
}

step "install $previous"
msiexec_run /i "$old_msi" "$work/install-previous.log" || fail "msiexec /i $previous (see $work/install-previous.log)"
run_probe "$previous" 'Installed.OneProductOfTheExpectedVersion' || fail "after installing $previous"

step "upgrade to $version"
msiexec_run /i "$new_msi" "$work/install-current.log" || fail "msiexec /i $version (see $work/install-current.log)"

step "a downgrade to $previous is refused and changes nothing"
if msiexec_run /i "$old_msi" "$work/downgrade.log"; then
  fail "msiexec installed $previous over $version"
fi
# It stops at the downgrade's launch condition, before any change, and that
# condition carries the message shown to the user. (Wine's installer does not
# copy a launch condition's message into its log; the reason is checked in
# the package instead.)
grep -q "^Property(S): WIX_DOWNGRADE_DETECTED = {" "$work/downgrade.log" ||
  fail "the refused downgrade did not detect the newer version (see $work/downgrade.log)"
last=$(grep -a "^Action ended .*: [A-Za-z]*\. Return value" "$work/downgrade.log" | grep -v ": INSTALL\." | tail -n 1)
[[ $last == *": LaunchConditions. "* ]] ||
  fail "the refused downgrade went past its launch conditions (last: $last)"
msiinfo export "$old_msi" LaunchCondition | tr -d '\r' |
  grep -qx $'NOT WIX_DOWNGRADE_DETECTED\tA newer version of Tarrow View is already installed. Uninstall it first to install this one.' ||
  fail "the package gives no reason for a refused downgrade"

step "files, class keys, page by CLSID, shortcut, one product"
run_probe "$version" 'Installed.*' || fail "after upgrading to $version"

step "uninstall"
msiexec_run /x "$new_msi" "$work/uninstall.log" || fail "msiexec /x (see $work/uninstall.log)"
run_probe "" 'Removed.*' || fail "after uninstalling"

# The server writes the registry out as it stops.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
touch "$WINEPREFIX/.clean"
echo "installer: install, upgrade, refused downgrade and uninstall passed"
