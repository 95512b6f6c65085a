#!/usr/bin/env bash
# The Debian package, made by CPack from the build folder the tests run in, unpacked and run from
# a temporary folder. One step a CTest test (tests/package/CMakeLists.txt):
#   deb_test.sh make     CPACK BUILD_DIR WORK_DIR VERSION   make the package and unpack it
#   deb_test.sh contents WORK_DIR VERSION DATA_FILE...      its fields and every file it holds
#   deb_test.sh cli      WORK_DIR VERSION BUILT_CLI LEVEL EXAMPLE
#                                                           cairnwork-cli from the package
#   deb_test.sh editor   WORK_DIR VERSION                   the editor from the package, offscreen
# Exit status 77: skipped (the real level is absent).
set -euo pipefail

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

expect_equal() {  # what, expected, actual
  [[ "$2" == "$3" ]] || fail "$1: expected '$2', got '$3'"
}

package_file() {  # WORK_DIR VERSION
  echo "$1/cairnwork_$2_$(dpkg --print-architecture).deb"
}

step=$1
shift
case $step in
make)
  cpack=$1 build=$2 work=$3 version=$4
  rm -rf "$work"
  mkdir -p "$work"
  "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
  deb=$(package_file "$work" "$version")
  [[ -f $deb ]] || { ls "$work"; fail "no $deb"; }
  dpkg-deb -x "$deb" "$work/root"
  ;;

contents)
  work=$1 version=$2
  shift 2
  deb=$(package_file "$work" "$version")
  expect_equal Package cairnwork "$(dpkg-deb -f "$deb" Package)"
  expect_equal Version "$version" "$(dpkg-deb -f "$deb" Version)"
  expect_equal Architecture "$(dpkg --print-architecture)" "$(dpkg-deb -f "$deb" Architecture)"
  expect_equal Section devel "$(dpkg-deb -f "$deb" Section)"
  [[ $(dpkg-deb -f "$deb" Maintainer) =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer is not 'Name <address>'"
  [[ -n $(dpkg-deb -f "$deb" Description | sed -n 2p) ]] || fail "Description has no long text"
  # Computed from the programs: the C library and each Qt library the editor links.
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "Depends: $depends"
  for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
    [[ ", $depends," == *", $library "* || ", $depends," == *", $library,"* ]] || fail "Depends lacks $library"
  done
  # Every file, and nothing else.
  expected=(usr/bin/cairnwork usr/bin/cairnwork-cli usr/share/applications/cairnwork.desktop
            usr/share/icons/hicolor/128x128/apps/cairnwork.png)
  for name in "$@"; do expected+=("usr/share/cairnwork/$name"); done
  expect_equal "files" "$(printf '%s\n' "${expected[@]}" | sort)" \
    "$(cd "$work/root" && find . -type f -printf '%P\n' | sort)"
  for program in cairnwork cairnwork-cli; do
    [[ -x $work/root/usr/bin/$program ]] || fail "usr/bin/$program is not executable"
  done
  # The English translation, whatever the build installs.
  [[ -s $work/root/usr/share/cairnwork/cairnwork_en.qm ]] || fail "no English translation usr/share/cairnwork/cairnwork_en.qm"
  ;;

cli)
  work=$1 version=$2 built_cli=$3 level=$4 example=$5
  cli=$work/root/usr/bin/cairnwork-cli
  expect_equal "cairnwork-cli --version" "cairnwork-cli $version" "$("$cli" --version)"
  [[ -f $level ]] || { echo "Skipped: no level $level"; exit 77; }
  expect_equal "info" "$("$built_cli" info "$level")" "$("$cli" info "$level")"
  # A build reads floor.dat: from the package's data folder, as nothing else is near the program.
  out=$work/built.tr2
  rm -f "$out"
  "$cli" build "$example" --base "$level" --out "$out" >"$work/build.log" 2>&1 || { cat "$work/build.log"; fail "build failed"; }
  "$cli" info "$out" >/dev/null || fail "the built level does not read back"
  ;;

editor)
  work=$1 version=$2
  editor=$work/root/usr/bin/cairnwork
  expect_equal "cairnwork --version" "cairnwork $version" "$(env -u DISPLAY -u WAYLAND_DISPLAY "$editor" --version)"
  # Started offscreen, it ends as soon as it runs: 0 when its main window was made, which reads
  # paleta.bmp from the package's data folder...
  export QT_QPA_PLATFORM=offscreen CAIRNWORK_QUIT_AFTER_START=1
  export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  status=0
  "$editor" || status=$?
  expect_equal "status of the started editor" 0 "$status"
  # In English, with the translation from the package's data folder (one that cannot be read is
  # also said on standard error).
  status=0
  "$editor" --lang en 2>"$work/editor-en.log" || status=$?
  expect_equal "status of the editor started in English" 0 "$status"
  ! grep cairnwork_en.qm "$work/editor-en.log" || fail "the editor in English did not read its translation"
  # ...and 1 in a copy of the package without it.
  rm -rf "$work/without-palette"
  cp -a "$work/root" "$work/without-palette"
  rm "$work/without-palette/usr/share/cairnwork/paleta.bmp"
  status=0
  "$work/without-palette/usr/bin/cairnwork" 2>/dev/null || status=$?
  expect_equal "status of the editor without paleta.bmp" 1 "$status"
  ;;

*)
  fail "unknown step $step"
  ;;
esac
