#!/usr/bin/env python3
"""Print speed of the real program: a document of PAGES pages of prose-like
rows (40 rows of about 60 characters each) printed with
"pemoPrint.exe FILE /p" (the print dialog answered with Return) to the CUPS
PDF queue. Reports the time until the program has ended (its own share: the
job through Wine's PostScript driver) and until the PDF is complete.
Needs the build and the services: tools/services.sh start.

    bench/printBench.py [PAGES [RUNS]]        (default 20 pages, 3 runs)"""
import os
import re
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'e2e'))
from driver import OUT, Program, answer, dialog, document, printed, reset_settings, sh  # noqa: E402

PAGE = ''.join('%03d 行目: 印刷の速さを測るための文章です。ASCII text and 日本語 mixed, row %d.\r\n' % (i, i)
               for i in range(40))


def run_once(source):
    name, _, path = document('bench', source)
    started = time.time()
    program = Program(path, '/p')
    answer(dialog('印刷', 30), 'Return')
    program.exit_code(900)
    ended = time.time()
    pdf = printed(name, 900)
    done = time.time()
    pages = int(re.search(r'Pages: *(\d+)', sh('pdfinfo', pdf)).group(1))
    return pages, ended - started, done - started


def main():
    os.makedirs(OUT, exist_ok=True)
    reset_settings()
    pages, runs = (int(a) for a in (sys.argv[1:] + ['20', '3'][len(sys.argv) - 1:])[:2])
    source = OUT + '/bench-pages.txt'
    with open(source, 'wb') as f:
        f.write('\f'.join([PAGE] * pages).encode('cp932'))
    print('run  pages  program ended  PDF complete')
    for run in range(1, runs + 1):
        pages, ended, complete = run_once(source)
        print('%3d  %5d  %11.1f s  %10.1f s' % (run, pages, ended, complete), flush=True)


if __name__ == '__main__':
    main()
