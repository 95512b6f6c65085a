#!/usr/bin/env bash
# cairnwork-cli.exe of the Windows cross build (tools/windows.sh), run under Wine: `info --json`
# and `build` on a real level, in a plain folder and in one with Polish letters, give what the
# native cairnwork-cli gives.
#   wine_test.sh EXE NATIVE_CLI LEVEL PROJECT WORK_DIR
# Exit status 77: skipped (no Wine, no .exe or no level).
set -euo pipefail
exe=$1 native=$2 level=$3 project=$4 work=$5

skip() {
  echo "Skipped: $*"
  exit 77
}
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

wine=$(command -v wine64 || true)
if [[ -z $wine && -x /usr/lib/wine/wine64 ]]; then wine=/usr/lib/wine/wine64; fi
[[ -n $wine ]] || skip "wine64 is not installed (tools/setup.sh --windows)"
[[ -f $exe ]] || skip "no $exe (tools/windows.sh builds it)"
[[ -f $level ]] || skip "no level $level"

# Wine's own folder, kept between runs (making it takes a while); no Mono or Gecko installs.
export WINEPREFIX=$work-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$work"
mkdir -p "$work"

# A file as Windows names it: Wine shows the root of this system as drive Z:.
windows_path() {
  local path
  path=$(realpath -m "$1")
  echo "Z:${path//\//\\}"
}

# Runs the .exe; its standard output without the carriage returns of Windows' text mode.
run_exe() {
  local status=0
  "$wine" "$@" >"$work/exe.out" 2>"$work/exe.err" || status=$?
  tr -d '\r' <"$work/exe.out"
  return $status
}

native_info=$("$native" info --json "$level")
native_level=$work/native.tr2
"$native" build "$project" --base "$level" --out "$native_level" >/dev/null 2>&1 || fail "the native build failed"

for name in "plain" "Łódź żółć ĄĘŚ"; do
  folder=$work/$name
  mkdir -p "$folder"
  cp "$exe" "$folder/cairnwork-cli.exe"
  cp "$(dirname "$native")/floor.dat" "$folder/"  # the build reads it beside the program
  case $name in
    plain) base=$folder/level.tr2 source=$folder/project.cwp output=$folder/built.tr2 ;;
    *) base="$folder/Poziom świątynia.tr2" source="$folder/Projekt gęś.cwp" output="$folder/Wynik źdźbło.tr2" ;;
  esac
  cp "$level" "$base"
  cp "$project" "$source"

  info=$(run_exe "$folder/cairnwork-cli.exe" info --json "$(windows_path "$base")") ||
    { cat "$work/exe.err"; fail "$name: info --json failed"; }
  [[ $info == "$native_info" ]] || { diff <(echo "$native_info") <(echo "$info") | head; fail "$name: info --json differs"; }

  run_exe "$folder/cairnwork-cli.exe" build "$(windows_path "$source")" --base "$(windows_path "$base")" \
    --out "$(windows_path "$output")" >/dev/null || { cat "$work/exe.err"; fail "$name: build failed"; }
  cmp "$native_level" "$output" || fail "$name: the built level differs from the native one"
  echo "$name: info --json and build agree with the native program"
done
