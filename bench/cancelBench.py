#!/usr/bin/env python3
"""How soon a Cancel stops a print: a document of PAGES pages (as in
printBench.py) is printed with "pemoPrint.exe FILE /p", and after DELAY
seconds of printing its progress dialog's Cancel button is pressed (Return on
the dialog: the button's own WM_COMMAND). Reports the time from the Cancel to
the program's end and how many pages reached the PDF queue.
Needs the build and the services: tools/services.sh start.

    bench/cancelBench.py [PAGES [DELAY [RUNS]]]   (default 72 pages, 0.5 s, 3 runs)"""
import glob
import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'e2e'))
from driver import OUT, PDF_DIR, Program, answer, dialog, document, press, reset_settings, sh  # noqa: E402
from printBench import PAGE  # noqa: E402


def queue_empty():
    return not subprocess.run(['lpstat', '-o'], capture_output=True, env={**os.environ, 'LC_ALL': 'C'}).stdout.strip()


def pages_printed(name):
    """Pages of the job's PDF once the queue has emptied; 0 when no PDF came."""
    deadline = time.time() + 60
    while not queue_empty() and time.time() < deadline:
        time.sleep(0.1)
    found = glob.glob('%s/*%s*.pdf' % (PDF_DIR, name))
    if not found:
        return 0
    match = re.search(r'Pages: *(\d+)', sh('pdfinfo', found[0]))
    return int(match.group(1)) if match else 0


def run_once(source, delay):
    name, _, path = document('cancel', source)
    program = Program(path, '/p')
    answer(dialog('印刷', 30), 'Return')
    progress = dialog('印刷中', 30)
    time.sleep(delay)  # the measured condition itself: a Cancel this far into the job
    press(progress, 'Return')
    cancelled = time.time()
    program.exit_code(900)
    return time.time() - cancelled, pages_printed(name)


def main():
    os.makedirs(OUT, exist_ok=True)
    reset_settings()
    args = sys.argv[1:] + ['72', '0.5', '3'][len(sys.argv) - 1:]
    pages, delay, runs = int(args[0]), float(args[1]), int(args[2])
    source = OUT + '/cancel-pages.txt'
    with open(source, 'wb') as f:
        f.write('\f'.join([PAGE] * pages).encode('cp932'))
    print('run  cancel to end  pages printed (of %d)' % pages)
    for run in range(1, runs + 1):
        ended, printed = run_once(source, delay)
        print('%3d  %11.2f s  %d' % (run, ended, printed), flush=True)


if __name__ == '__main__':
    main()
