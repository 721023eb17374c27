#!/usr/bin/env python3
"""How often the shipped converter reads a Japanese text file right without
being told its encoding, against what a user could pick instead: nkf's guess,
uchardet's and charset-normalizer's, each followed by a decoder of the
encoding guessed.

Samples come from Japanese text that nobody on this project wrote, Debian's
Japanese manual pages (manpages-ja): their roff markup is taken off, and
windows of the text are cut at whole characters to each size (code page 932
bytes) at random, seeded. Every window is kept twice: as it is, and with
its katakana made half-width (only windows that have some). Each is saved
in every encoding by iconv: Shift_JIS (CP932), EUC-JP (EUC-JP-MS, whose
mapping round-trips code page 932), ISO-2022-JP (ISO-2022-JP-3 where
half-width katakana need ESC ( I), UTF-8 with and without a mark, UTF-16
LE and BE with a mark. A window any of them cannot hold, or that does not
come back from every one of them unchanged, is passed over; so is a
half-width window that ISO-2022-JP-3 can hold only with JIS X 0213's own
characters (its wave dash among them), which ISO-2022-JP lacks.

A file is read right when the result is exactly the window in code page 932:
for the converter, the real sjisConverter.exe run under Wine on the file
(standard input a file, as the program gives it one); for a tool, its guess
decoded by iconv (the guess's family: Shift_JIS as CP932, EUC-JP as
EUC-JP-MS, ISO-2022-JP as ISO-2022-JP-3, UTF-8 less a mark, UTF-16 by its
mark) and then made CP932.

    bench/encodingAccuracy.py [--per-size N] [--seed S] [--sizes 40,100,...]
"""
import argparse
import concurrent.futures
import glob
import gzip
import os
import random
import re
import subprocess
import sys
import unicodedata

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.environ.get('PEMO_BUILD', ROOT + '/build')
CONVERTER = BUILD + '/win32/sjisConverter.exe'
WORK = BUILD + '/bench/encodings'
PACKAGES = ['manpages-ja', 'nkf', 'uchardet', 'python3-charset-normalizer']
ENCODINGS = ['sjis', 'euc-jp', 'iso-2022-jp', 'utf-8', 'utf-8-mark', 'utf-16le', 'utf-16be']
TOOLS = ['converter', 'nkf', 'uchardet', 'charset-normalizer']


def install():
    missing = [p for p in PACKAGES if subprocess.run(['dpkg', '-s', p], capture_output=True).returncode]
    if missing:
        subprocess.run(['apt-get', 'install', '-y', '-q', '--no-install-recommends', *missing], check=True,
                       env=dict(os.environ, DEBIAN_FRONTEND='noninteractive'), stdout=subprocess.DEVNULL)


ESCAPES = [(r'\\".*', ''), (r'\\f(\[[^]]*\]|\(..|.)', ''), (r'\\\(..', ''), (r'\\[-e]', '-'), (r'\\[&|^%]', ''),
           (r'\\s[-+]?\d', ''), (r'\\\*.', ''), (r'\\(.)', r'\1')]


def plain_text(roff):
    """The words of a manual page: macros give their arguments, escapes go."""
    lines = []
    for line in roff.splitlines():
        if line.startswith(('.', "'")):
            line = line.split(None, 1)[1] if len(line.split(None, 1)) > 1 and not line.startswith('.\\"') else ''
            line = line.replace('"', '')
        for pattern, replacement in ESCAPES:
            line = re.sub(pattern, replacement, line)
        lines.append(line)
    return re.sub(r'\n{3,}', '\n\n', '\n'.join(lines))


def pages():
    texts = []
    for path in sorted(glob.glob('/usr/share/man/ja/man*/*.gz')):
        try:
            texts.append(plain_text(gzip.open(path).read().decode('utf-8')))
        except UnicodeDecodeError:
            pass
    return [t for t in texts if len(t) > 200]


HALF = {unicodedata.normalize('NFKC', chr(c)): chr(c) for c in range(0xFF61, 0xFFA0)}


def half_width(text):
    out = []
    for c in text:
        if '\u30a1' <= c <= '\u30fc' and c not in HALF:
            base = unicodedata.normalize('NFD', c)
            c = ''.join(HALF.get(part, part) for part in base.replace('\u3099', '\uff9e').replace('\u309a', '\uff9f'))
        out.append(HALF.get(c, c) if '\u30a1' <= c <= '\u30fc' else c)
    return ''.join(out)


def iconv(data, source, target):
    done = subprocess.run(['iconv', '-f', source, '-t', target], input=data, capture_output=True)
    return done.stdout if done.returncode == 0 else None


def encoded(cp932, half):
    """The window in every encoding, or None when one cannot hold it unchanged."""
    iso = 'ISO-2022-JP-3' if half else 'ISO-2022-JP'
    utf8 = iconv(cp932, 'CP932', 'UTF-8')
    files = {'sjis': cp932, 'euc-jp': iconv(cp932, 'CP932', 'EUC-JP-MS'), 'iso-2022-jp': iconv(cp932, 'CP932', iso),
             'utf-8': utf8, 'utf-8-mark': utf8 and b'\xef\xbb\xbf' + utf8,
             'utf-16le': utf8 and b'\xff\xfe' + iconv(utf8, 'UTF-8', 'UTF-16LE'),
             'utf-16be': utf8 and b'\xfe\xff' + iconv(utf8, 'UTF-8', 'UTF-16BE')}
    if half and files['iso-2022-jp'] and b'\x1b$(' in files['iso-2022-jp']:
        return None  # JIS X 0213 beyond JIS X 0208, which ISO-2022-JP cannot hold, as the full-width windows
    back = {'euc-jp': 'EUC-JP-MS', 'iso-2022-jp': iso, 'utf-8': 'UTF-8', 'utf-16le': 'UTF-16', 'utf-16be': 'UTF-16'}
    for name, decoder in back.items():
        if not files[name] or iconv(files[name], decoder, 'CP932') != cp932:
            return None
    return files


def windows(texts, size, count, half, rng):
    """`count` windows of at most `size` CP932 bytes (at least nine tenths of it)."""
    found, tries = [], 0
    while len(found) < count and tries < count * 200:
        tries += 1
        text = rng.choice(texts)
        start = rng.randrange(len(text))
        start = text.rfind('\n', 0, start) + 1
        piece, length = [], 0
        for c in text[start:]:
            try:
                c = half_width(c) if half else c
                width = len(c.encode('cp932'))
            except UnicodeEncodeError:
                break
            if length + width > size:
                break
            piece.append(c)
            length += width
        window = ''.join(piece)
        if length < size * 0.9 or window.isascii() or (half and not re.search('[\uff61-\uff9f]', window)):
            continue
        files = encoded(window.encode('cp932'), half)
        if files:
            found.append(files)
    return found


def make_samples(per_size, sizes, seed):
    texts = pages()
    rng = random.Random(seed)
    samples = []
    for size in sizes:
        for half in (False, True):
            count = per_size // 3 if half else per_size - per_size // 3
            for k, files in enumerate(windows(texts, size, count, half, rng)):
                stem = '%s/%05d-%s%03d' % (WORK, size, 'half' if half else 'full', k)
                open(stem + '.expected', 'wb').write(files['sjis'])
                for name in ENCODINGS:
                    open('%s.%s' % (stem, name), 'wb').write(files[name])
                samples.append((size, stem))
    return texts, samples


def family(name):
    name = (name or '').lower().replace('_', '-')
    for pattern, decoder in (('shift|sjis|932|31j', 'CP932'), ('euc', 'EUC-JP-MS'), ('2022', 'ISO-2022-JP-3'),
                             ('utf-8|utf8', 'UTF-8'), ('utf-16', 'UTF-16')):
        if re.search(pattern, name):
            return decoder
    return None


def decoded_as(path, guess):
    data, decoder = open(path, 'rb').read(), family(guess)
    if decoder == 'UTF-8' and data.startswith(b'\xef\xbb\xbf'):
        data = data[3:]
    return decoder and iconv(data, decoder, 'CP932')


def converter(path):
    with open(path, 'rb') as given, open(path + '.out', 'w+b') as out:
        status = subprocess.run(['wine', CONVERTER], stdin=given, stdout=out, stderr=subprocess.DEVNULL).returncode
        out.seek(0)
        return out.read() if status == 0 else None


def guesses(path):
    from charset_normalizer import from_bytes
    best = from_bytes(open(path, 'rb').read()).best()
    return {'nkf': subprocess.run(['nkf', '-g', path], capture_output=True, text=True).stdout.strip(),
            'uchardet': subprocess.run(['uchardet', path], capture_output=True, text=True).stdout.strip(),
            'charset-normalizer': best.encoding if best else None}


def main():
    options = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    options.add_argument('--per-size', type=int, default=120)
    options.add_argument('--seed', type=int, default=28)
    options.add_argument('--sizes', default='40,100,300,1000,3000,12000')
    args = options.parse_args()
    sizes = [int(s) for s in args.sizes.split(',')]
    install()
    os.makedirs(WORK, exist_ok=True)
    for old in glob.glob(WORK + '/*'):
        os.remove(old)
    texts, samples = make_samples(args.per_size, sizes, args.seed)
    print('%d manual pages, %d windows, %d files' % (len(texts), len(samples), len(samples) * len(ENCODINGS)))
    env = subprocess.run(['bash', '-c', 'source %s/tools/wine-env.sh && env -0' % ROOT], capture_output=True).stdout
    os.environ.update(line.split('=', 1) for line in env.decode().split('\0') if '=' in line)
    os.environ['WINEPREFIX'] = BUILD + '/bench/wineprefix'  # the test services' prefix is left alone
    if not os.path.isdir(os.environ['WINEPREFIX']):
        subprocess.run(['wineboot', '-i'], capture_output=True)
    subprocess.run(['wineserver', '-p', '600'])
    files = [(size, '%s.%s' % (stem, name), name, stem) for size, stem in samples for name in ENCODINGS]
    right = {}
    wrong = []

    def judge(item):
        size, path, name, stem = item
        expected = open(stem + '.expected', 'rb').read()
        results = {'converter': converter(path) == expected}
        results.update((tool, decoded_as(path, guess) == expected) for tool, guess in guesses(path).items())
        return item, results
    with concurrent.futures.ThreadPoolExecutor(2) as pool:
        for (size, path, name, stem), results in pool.map(judge, files):
            for tool, ok in results.items():
                cell = right.setdefault((name, size, tool), [0, 0])
                cell[0] += ok
                cell[1] += 1
            if not results['converter']:
                wrong.append(path)
    print('\n| encoding | bytes | files | ' + ' | '.join(TOOLS) + ' |')
    print('|---|---|---|' + '---|' * len(TOOLS))
    for name in ENCODINGS:
        for size in sizes:
            counts = [right.get((name, size, tool), [0, 0]) for tool in TOOLS]
            print('| %s | %d | %d | %s |' % (name, size, counts[0][1], ' | '.join(str(c[0]) for c in counts)))
    totals = [sum(right[k][0] for k in right if k[2] == tool) for tool in TOOLS]
    print('| all | | %d | %s |' % (len(files), ' | '.join(map(str, totals))))
    failing = [(name, size) for name in ENCODINGS for size in sizes
               if right[(name, size, 'converter')][0] < max(right[(name, size, t)][0] for t in TOOLS[1:])
               or right[(name, size, 'converter')][0] < 0.99 * right[(name, size, 'converter')][1]]
    for path in wrong:
        print('converter wrong: ' + path)
    print('cells below the best tool or 99 %%: %s' % (failing or 'none'))
    return 0 if not failing else 1


if __name__ == '__main__':
    sys.exit(main())
