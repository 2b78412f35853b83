#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what lands there:
#   check_install.sh CMAKE BUILD_DIR APP_ID
set -uo pipefail

cmake=$1
build=$2
app=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
# The prefix the build was configured for, which the man pages name.
prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
usr=$root$prefix
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

DESTDIR=$root "$cmake" --install "$build" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; echo "FAIL: cmake --install" >&2; exit 1; }

# Where everything goes.
for f in bin/quendal bin/quendal-results \
    share/applications/$app.desktop share/metainfo/$app.metainfo.xml \
    share/icons/hicolor/scalable/apps/$app.svg \
    share/man/man1/quendal.1.gz share/man/man1/quendal-results.1.gz \
    share/bash-completion/completions/quendal-results \
    share/doc/quendal/copyright share/doc/quendal/changelog.gz; do
    [ -f "$usr/$f" ] || fail "$f is not installed"
done
[ -x "$usr/bin/quendal" ] && [ -x "$usr/bin/quendal-results" ] || fail "the programs are not executable"
# The chart module where the program looks for it, its libraries all found; the program
# itself starts without Qt Charts.
libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$build/CMakeCache.txt")
module=$usr/$libdir/quendal/libquendal_chart.so
# The listings are read whole before they are searched: with pipefail, grep -q ending the
# pipe early would fail the listing program and with it the check, at random.
if [ -f "$module" ]; then
    needs=$(ldd "$module")
    grep -q 'not found' <<<"$needs" && fail "the chart module's libraries: $(grep 'not found' <<<"$needs")"
    grep -q 'libQt6Charts' <<<"$needs" || fail "the chart module does not bring Qt Charts"
else
    fail "$libdir/quendal/libquendal_chart.so is not installed"
fi
grep -q 'libQt6Charts' <<<"$(readelf -d "$usr/bin/quendal")" && fail "the program links Qt Charts at its start"
# The whole DATA folder of the build, nothing more and nothing less.
diff -r "$build/bin/DATA" "$usr/share/quendal/DATA" >"$work/data.diff" ||
    { cat "$work/data.diff" >&2; fail "share/quendal/DATA differs from the build's DATA"; }
# The icons at the usual sizes, each PNG as large as its folder says.
for size in 16 22 24 32 48 64 128 256 512; do
    png=$usr/share/icons/hicolor/${size}x$size/apps/$app.png
    [ -f "$png" ] || { fail "no ${size}px icon"; continue; }
    read -r w1 w2 w3 w4 h1 h2 h3 h4 < <(od -An -tu1 -j16 -N8 "$png")
    width=$(((w1 << 24) | (w2 << 16) | (w3 << 8) | w4))
    height=$(((h1 << 24) | (h2 << 16) | (h3 << 8) | h4))
    [ "$width" -eq "$size" ] && [ "$height" -eq "$size" ] || fail "$png is ${width}x$height"
done
grep -q '<svg' "$usr/share/icons/hicolor/scalable/apps/$app.svg" || fail "the SVG icon holds no <svg>"
# Nothing of the build tree inside.
if grep -rl --binary-files=text "$build" "$root" >"$work/leaks"; then
    fail "files name the build tree: $(tr '\n' ' ' <"$work/leaks")"
fi

# The desktop's validators.
desktop=$usr/share/applications/$app.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$usr/share/metainfo/$app.metainfo.xml" >"$work/as.log" 2>&1 ||
    { cat "$work/as.log" >&2; fail "appstreamcli validate"; }
grep -qx "Icon=$app" "$desktop" || fail "the desktop entry names another icon"
grep -qx "Exec=quendal" "$desktop" || fail "the desktop entry starts something else"
for key in 'Name\[de\]' 'Comment=' 'Comment\[de\]' 'Categories=Education;'; do
    grep -q "^$key" "$desktop" || fail "the desktop entry has no $key"
done

# The man pages render without a warning and tell what they must.
for page in quendal quendal-results; do
    MANWIDTH=80 man --warnings -l "$usr/share/man/man1/$page.1.gz" >"$work/$page.txt" 2>"$work/$page.err"
    [ -s "$work/$page.err" ] && { cat "$work/$page.err" >&2; fail "man $page warns"; }
    for section in SYNOPSIS FILES ENVIRONMENT 'EXIT STATUS'; do
        grep -q "^$section" "$work/$page.txt" || fail "man $page has no $section"
    done
done
grep -q "$prefix/share/quendal/DATA/" "$work/quendal.txt" || fail "man quendal does not name the DATA folder"
grep -q 'QUENDAL_DATA_DIR' "$work/quendal-results.txt" || fail "man quendal-results does not name QUENDAL_DATA_DIR"

# The installed results tool finds a user's file with and without QUENDAL_DATA_DIR.
results=$usr/bin/quendal-results
record='$ prname            V a r o n\r\n$ svdate           03.11.2004\r\n$ svtime                09.41\r\n$ prtkey                V-131\r\n$ info 1           Farbe/Wort\r\n$ info 2            Version 3\r\n$ info 3        Fester Rahmen\r\n$ info 4                     \r\n$ info 5                     \r\n         2         2       812         4\r\n$ eodata \r\n'
home=$work/home
mkdir -p "$home/.local/share/Quendal/Varon/Daten" "$work/own/Quendal/Varon/Daten"
printf "$record" >"$home/.local/share/Quendal/Varon/Daten/user3.dat"
printf "$record$record" >"$work/own/Quendal/Varon/Daten/user3.dat"
out=$(env -u QUENDAL_DATA_DIR -u XDG_DATA_HOME HOME="$home" "$results" list --user 3 --verbose 2>"$work/err")
[ "$out" = "1;03.11.2004;Farbe/Wort - Version 3;1;1;812;0;0;0" ] || fail "list --user 3 without QUENDAL_DATA_DIR printed '$out'"
[ "$(cat "$work/err")" = "quendal-results: reading $home/.local/share/Quendal/Varon/Daten/user3.dat" ] ||
    fail "--verbose said '$(cat "$work/err")'"
out=$(env -u XDG_DATA_HOME QUENDAL_DATA_DIR="$work/own" HOME="$home" "$results" list --user 3)
[ "$(printf '%s\n' "$out" | wc -l)" -eq 2 ] || fail "list --user 3 with QUENDAL_DATA_DIR printed '$out'"

# The completion offers the commands, the options of a command and the user numbers.
if [ -f /usr/share/bash-completion/bash_completion ]; then
    complete_words() {
        bash -c '
            source /usr/share/bash-completion/bash_completion
            source "$1"; shift
            COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
            COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
            _quendal_results quendal-results "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
            printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " "
        ' _ "$usr/share/bash-completion/completions/quendal-results" "$@"
    }
    [ "$(complete_words quendal-results '')" = "--help csv list show " ] ||
        fail "completion of the command: '$(complete_words quendal-results '')'"
    [ "$(complete_words quendal-results list --)" = "--english --today --user --verbose " ] ||
        fail "completion of list's options: '$(complete_words quendal-results list --)'"
    [ "$(complete_words quendal-results csv --)" = "--user --verbose " ] ||
        fail "completion of csv's options: '$(complete_words quendal-results csv --)'"
    [ "$(complete_words quendal-results show --user '')" = "1 2 3 4 " ] ||
        fail "completion of --user: '$(complete_words quendal-results show --user '')'"
fi

[ "$failures" -eq 0 ] || exit 1
echo "PASS: installed files"
