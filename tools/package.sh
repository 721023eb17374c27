#!/bin/bash
# Builds the Windows release in a build tree of its own and packs it:
#   tools/package.sh
# The last line printed is the zip's path, $PEMO_BUILD/pemoPrint-VERSION-win64.zip.
# The same commit gives the same zip, byte for byte: the programs carry no
# time stamp and the entries have the commit's date, fixed modes and order.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
export PEMO_BUILD=${PEMO_BUILD:-$ROOT/build}
B=$PEMO_BUILD/release

tools/setup.sh >/dev/null
# A failed run must not leave an older zip for anyone to take. The tree is
# kept between runs: the zip depends only on the sources.
rm -f "$PEMO_BUILD"/pemoPrint-*-win64.zip "$B"/*.exe
mkdir -p "$B"
if ! { cmake -S . -B "$B" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release &&
       make -C "$B" -j"${JOBS:-2}" --no-print-directory pemoPrint sjisConverter; } >"$B/build.log" 2>&1; then
  tail -n 30 "$B/build.log"; echo "package: the build failed (see $B/build.log)" >&2; exit 1
fi
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$B/CMakeCache.txt")

# Unpacked anywhere, the programs may load only what every Windows has.
for exe in pemoPrint sjisConverter; do
  foreign=$(x86_64-w64-mingw32-objdump -p "$B/$exe.exe" | sed -n 's/^\s*DLL Name: //p' |
    grep -viE '^(kernel32|user32|gdi32|advapi32|comctl32|comdlg32|shell32|msvcrt)\.dll$|^winspool\.drv$' || true)
  [ -z "$foreign" ] || { echo "package: $exe.exe imports" $foreign >&2; exit 1; }
done

# The program must say how it takes the screen's scaling: per monitor (v2),
# and the system's where Windows does not know that. Read from the program.
python3 - "$B/pemoPrint.exe" <<'EOF' || exit 1
import re, sys
import xml.etree.ElementTree as ElementTree
manifest = re.search(rb'<assembly.*?</assembly>', open(sys.argv[1], 'rb').read(), re.S)
settings = {e.tag.split('}')[-1]: (e.text or '').strip().lower()
            for e in (ElementTree.fromstring(manifest.group()).iter() if manifest else [])}
awareness = [value.strip() for value in settings.get('dpiAwareness', '').split(',')]
if settings.get('dpiAware') != 'true' or awareness[0] != 'permonitorv2' or 'system' not in awareness:
    sys.exit('package: the manifest of pemoPrint.exe declares no per-monitor (v2) DPI awareness with the system fallback')
EOF

stamp=$(git log -1 --format=%ct 2>/dev/null || echo 315532800)
zip=$PEMO_BUILD/pemoPrint-$version-win64.zip
python3 - "$zip" "pemoPrint-$version" "$stamp" "$B" tools/release <<'EOF'
import codecs, sys, time, zipfile
zip_path, folder, stamp, build, sources = sys.argv[1:]
date = time.gmtime(max(int(stamp), 315532800))[:6]  # a zip cannot date before 1980


def windows_text(path):
    """CR LF line ends, whatever the checkout made of them."""
    return open(path, 'rb').read().replace(b'\r\n', b'\n').replace(b'\n', b'\r\n')


# The read-me is UTF-8 with a mark: Notepad on any Windows shows both
# languages, and the shipped rule converts it when pemoPrint prints it.
entries = [('README.txt', codecs.BOM_UTF8 + windows_text(sources + '/README.txt')),
           ('pemo.ini', windows_text(sources + '/pemo.ini')),
           ('pemoPrint.exe', open(build + '/pemoPrint.exe', 'rb').read()),
           ('sjisConverter.exe', open(build + '/sjisConverter.exe', 'rb').read())]
with zipfile.ZipFile(zip_path, 'w') as archive:
    for name, data, mode in [(folder + '/', b'', 0o40755)] + [(folder + '/' + n, d, 0o100644) for n, d in entries]:
        info = zipfile.ZipInfo(name, date)
        info.create_system, info.external_attr = 3, mode << 16 | (0x10 if name.endswith('/') else 0)
        archive.writestr(info, data, zipfile.ZIP_STORED if name.endswith('/') else zipfile.ZIP_DEFLATED, 9)
EOF
echo "$zip"
