# Drives the real pemoPrint.exe under Wine as a user would, and looks at
# screenshots, PDFs and the registry. Every wait waits for a state, with a deadline.
import glob
import os
import re
import shutil
import subprocess
import time
import urllib.parse

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.environ.get('PEMO_BUILD', ROOT + '/build')
EXE = BUILD + '/win32/pemoPrint.exe'
LAYOUT = BUILD + '/native/pemo-layout'
OUT = BUILD + '/e2e'
OWN, EDITOR = r'HKCU\Software\dalvek\pemoPrint', r'HKCU\Software\dalvek\pemo'
PDF_DIR = os.path.expanduser('~/PDF')


class Failed(Exception): pass


def check(condition, message):
    if not condition:
        raise Failed(message)


def until(what, probe, seconds=10):
    deadline = time.time() + seconds
    while not (value := probe()):
        if time.time() > deadline:
            raise Failed('timed out waiting for ' + what)
        time.sleep(0.05)
    return value


def sh(*command, env=None):
    return subprocess.run(command, capture_output=True, env=env).stdout.decode(errors='replace')



class Program:
    # The program under Wine, its output in a log of its own: Wine reports a crash there,
    # and may still give the exit status 0.
    started, runs = [], 0
    CRASH = re.compile(rb'Unhandled exception|wine: Unhandled|starting debugger')

    def __init__(self, *args, env=None, exe=EXE):
        Program.runs += 1
        self.log = '%s/program-%d.log' % (OUT, Program.runs)
        with open(self.log, 'wb') as log:
            self.process = subprocess.Popen(['wine', exe, *args], stdout=log, stderr=log, env=env)
        Program.started.append(self)

    def crashed(self):
        with open(self.log, 'rb') as log:
            return bool(Program.CRASH.search(log.read()))

    def exit_code(self, seconds=20):
        until('the program to end', lambda: self.process.poll() is not None, seconds)
        return self.process.returncode

    def end(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def document(tag, source):
    # A copy of `source` named for this run (as its PDF will be), and its Windows path.
    name = '%s%d' % (tag, os.getpid())
    path = shutil.copy(source, '%s/%s.txt' % (OUT, name))
    return name, path, sh('winepath', '-w', path).strip()



def windows(title, visible=True):
    return sh('xdotool', 'search', *(['--onlyvisible'] if visible else []), '--name', '^%s$' % title).split()


def borderless(window):
    fields = sh('xprop', '-id', window, '_MOTIF_WM_HINTS').split('=')[-1].split(',')
    return len(fields) > 2 and fields[2].strip() == '0x0'


def preview(seconds=20):
    return until('the preview', lambda: next((w for w in windows('pemoPrint') if borderless(w)), None), seconds)


def message_box(seconds=10):
    return until('a message box', lambda: next((w for w in windows('pemoPrint') if not borderless(w)), None), seconds)


def dialog(title, seconds=10):
    return until('the dialog ' + title, lambda: (windows(title) or [None])[0], seconds)


def size(window):
    info = sh('xwininfo', '-id', window)
    return tuple(int(re.search(name + r': *(-?\d+)', info).group(1)) for name in ('Width', 'Height'))


def press(window, keys):
    # Keys for a window once it has the focus. A closing dialog can leave X's
    # focus on the preview while Wine takes it for inactive: for the preview it
    # goes to the root and back first, so that Wine (UseTakeFocus=N) sees it.
    if borderless(window):
        sh('xdotool', 'windowfocus', '--sync', sh('xdotool', 'search', '--maxdepth', '0', '--name', '').split()[0])
    sh('xdotool', 'windowfocus', '--sync', window)
    until('the focus on ' + window, lambda: sh('xdotool', 'getwindowfocus').strip() == window, 5)
    sh('xdotool', 'key', '--clearmodifiers', *keys.split())


def click(window, x, y):
    # A click at (x, y) of the window, as it stands on the screen.
    press(window, '')
    sh('xdotool', 'mousemove', '--window', window, str(x), str(y), 'click', '1')


def answer(window, keys):
    press(window, keys)
    until('the dialog to close', lambda: window not in windows('.*'))


def menu_command(window, mnemonic):
    # Picks an item of the context menu opened with Ctrl+M.
    before = set(sh('xdotool', 'search', '--onlyvisible', '--classname', 'pemoprint.exe').split())
    press(window, 'ctrl+m')
    until('the context menu (for %s)' % mnemonic, lambda: set(sh('xdotool', 'search', '--onlyvisible', '--classname',
                                             'pemoprint.exe').split()) - before)
    sh('xdotool', 'key', mnemonic)


def clipboard(kind, *items):
    # Text, or files as a file manager copies them (Wine offers the URI list as a file list).
    files = ''.join('file://%s\r\n' % urllib.parse.quote(item) for item in items)
    data, target = (files, 'text/uri-list') if kind == 'files' else (items[0], 'UTF8_STRING')
    # xclip stays behind to serve the clipboard: it must not hold our output open.
    subprocess.run(['xclip', '-selection', 'clipboard', '-t', target], input=data.encode(),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    held = 'files %d' % len(items) if kind == 'files' else items[0]
    until('Wine to take the clipboard', lambda: sh('wine', BUILD + '/win32/clipboardProbe.exe') == held)


def wheel(window, up, modifier=None):
    x, y = (int(v) for v in re.findall(r'Absolute upper-left [XY]: *(-?\d+)', sh('xwininfo', '-id', window)))
    sh('xdotool', 'windowfocus', '--sync', window, 'mousemove', str(max(x, 0) + 100), str(max(y, 0) + 100))
    down, up_ = (['keydown', modifier], ['keyup', modifier]) if modifier else ([], [])
    sh('xdotool', *down, 'click', '4' if up else '5', *up_)



def capture(window):
    data = subprocess.run(['import', '-window', window, '-depth', '8', 'ppm:-'], capture_output=True).stdout
    match = re.match(rb'P6\s+(\d+)\s+(\d+)\s+255\s', data)
    return (int(match.group(1)), int(match.group(2)), data[match.end():]) if match else None


def screenshot(window, differs_from=None):
    # The window once painted (its grey frame drawn), settled and unlike `differs_from`.
    seen = []

    def settled():
        seen.append(capture(window))
        painted = seen[-1] and seen[-1][2].count(b'\xc0\xc0\xc0') > seen[-1][1]
        return painted and len(seen) > 2 and seen[-1] == seen[-2] == seen[-3] and seen[-1] != differs_from
    return until('the window to settle', lambda: seen[-1] if settled() else None)


def sheet(picture):
    # Where the printable-area frame and the dotted text-area outline are
    # (the columns and rows that are light grey for a fifth of their length),
    # and the boxes that hold every dark pixel and those inside the outline.
    width, height, pixels = picture
    columns, rows, dark = [0] * width, [0] * height, []
    for i in range(0, len(pixels), 3):
        x, y = i // 3 % width, i // 3 // width
        if pixels[i:i + 3] == b'\xc0\xc0\xc0':
            columns[x], rows[y] = columns[x] + 1, rows[y] + 1
        elif pixels[i] + pixels[i + 1] + pixels[i + 2] < 600:
            dark.append((x, y))
    xs = [x for x in range(width) if columns[x] > height // 5]
    ys = [y for y in range(height) if rows[y] > width // 5]
    inside = [p for p in dark if len(xs) == 4 == len(ys) and xs[1] < p[0] < xs[2] and ys[1] < p[1] < ys[2]]
    return (xs, ys) + tuple([f(p[k] for p in points) for f in (min, max) for k in (0, 1)] if points else None
                            for points in (dark, inside))


def shows_one_line(picture):
    xs, ys, ink, text = sheet(picture)
    return text and text[3] < ys[1] + 20


def check_sheet(picture, scale):
    # The frame, inside it the outline 20 mm in, and all text inside the
    # outline (a hanging character may pass its right edge).
    xs, ys, ink, _ = sheet(picture)
    check(len(xs) == 4 and len(ys) == 4, 'frame and outline lines at x %s, y %s' % (xs, ys))
    margin = int(75 * scale / 100)
    check(abs(xs[1] - xs[0] - margin) <= 2 and abs(ys[1] - ys[0] - margin) <= 2,
          'the outline is not 20 mm inside the frame: x %s, y %s' % (xs, ys))
    check(ink and ink[0] >= xs[1] and ink[1] >= ys[1] and ink[3] <= ys[2] and ink[2] < xs[3],
          'text at %s, outline x %s y %s' % (ink, xs, ys))



def reg_values(key):
    found = re.findall(r'^    (.+?)    (REG_\w+)    (.*?)\r?$', sh('wine', 'reg', 'query', key), re.M)
    return {name: data for name, _, data in found}


def reset_settings(editor=(), scale=None):
    for key in (OWN, EDITOR):
        sh('wine', 'reg', 'delete', key, '/f')
    values = [(EDITOR,) + value for value in editor] + ([(OWN, 'preview scale', 'REG_DWORD', scale)] if scale else [])
    for key, name, kind, data in values:
        sh('wine', 'reg', 'add', key, '/v', name, '/t', kind, '/d', str(data), '/f')



def printed_files(pattern, count, seconds=90):
    # The `count` PDFs named by `pattern`, oldest first, taken away: cups-pdf writes each
    # before its job leaves the queue, and they are whole once the queue is empty.
    def finished():
        found = sorted(glob.glob('%s/%s.pdf' % (PDF_DIR, pattern)), key=os.path.getmtime)
        check(len(found) <= count, 'more PDFs than printed: %s' % found)
        whole = [f for f in found if not subprocess.run(['pdfinfo', f], capture_output=True).returncode]
        return whole if len(whole) == count and not sh('lpstat', '-o').strip() else None
    return [shutil.move(f, OUT + '/' + os.path.basename(f)) for f in until('%d PDFs of %s' % (count, pattern), finished, seconds)]


def printed(name):
    return printed_files('*%s*' % name, 1)[0]


def printed_texts(count):
    # For documents whose names cups-pdf does not keep.
    return [squeezed_rows(sh('pdftotext', f, '-')) for f in printed_files('*', count)]


def squeezed_rows(page):
    rows = (re.sub(r'\s+', '', row) for row in page.split('\n'))
    return [row for row in rows if row]


def printed_pages(pdf):
    return [squeezed_rows(p) for p in sh('pdftotext', '-layout', pdf, '-').split('\f')[:-1]]


def check_rows_as_laid_out(pdf, source, tab, numbered=False, framed=False, sets=()):
    # Every printed row against pemo-layout's for the program's grid: the document starts
    # with a word of digits longer than a row (the first row gives the columns) and fills page 1
    # with non-blank rows (their count is the rows per page). Gives the grid, each page's header and
    # footer when `framed`, and the pages as laid out.
    pages = printed_pages(pdf)
    check(pages and pages[0], 'nothing printed in ' + pdf)
    frames = [(page.pop(0), page.pop()) for page in pages] if framed else []
    columns, rows = len(pages[0][0]) - numbered, len(pages[0])
    options = ['--wrap', '--kinsoku', '--pages', *sets] + ['--numbers'] * numbered
    layout = subprocess.run([LAYOUT, '--columns', str(columns), '--rows', str(rows), '--tab', str(tab), *options,
                             source], capture_output=True).stdout
    expected = [squeezed_rows(p) for p in layout.decode('cp932').split('\f')]
    check(len(pages) == len(expected), '%d pages printed, %d laid out at %dx%d' % (
        len(pages), len(expected), columns, rows))
    for number, (got, want) in enumerate(zip(pages, expected), 1):
        wrong = next((i for i, (g, w) in enumerate(zip(got, want)) if g != w), min(len(got), len(want)))
        check(got == want, 'page %d row %d: printed %r, laid out %r' % (
            number, wrong + 1, got[wrong:wrong + 1], want[wrong:wrong + 1]))
    return columns, rows, frames, expected


class MapWatch:
    # Every window mapped on the display while it runs, logged under `name`.

    def __init__(self, name):
        self.log = open('%s/map-events-%s.log' % (OUT, name), 'w+')

    def __enter__(self):
        self.process = subprocess.Popen(['xev', '-root', '-event', 'substructure'], stdout=self.log)
        return self

    def __exit__(self, *exception):
        self.process.terminate()
        self.process.wait()

    def events(self):
        self.log.seek(0)
        return re.findall(r'(Create|Map)Notify.*\n.*window (0x[0-9a-f]+)', self.log.read())

    def mapped(self, window):
        # Mapped since it was made (its id may have been another program's).
        return [kind for kind, made in self.events() if made == '0x%x' % int(window)][-1:] == ['Map']

    def all_mapped(self):
        return {int(window, 16) for kind, window in self.events() if kind == 'Map'}
