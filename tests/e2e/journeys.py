#!/usr/bin/env python3
# User journeys through the real program, each checking as it goes.
# `journeys.py NAME...` runs some, `journeys.py --list` names them all.
import os
import sys
import threading
import zipfile

from driver import *  # noqa: F401,F403 (the journeys' vocabulary)

SAMPLE = ROOT + '/tests/samples/journey.txt'
# A4 landscape at 300 dpi less 20 mm margins is 3036 x 2007 pixels; the 12 pt cell (a
# 50-pixel em) is 25 pixels wide and about 64 high.
LANDSCAPE_12PT = (121, 31)
WRAP_KINSOKU_TAB8 = [('word wraps', 'REG_DWORD', 1), ('kinsoku', 'REG_DWORD', 1), ('tab count', 'REG_DWORD', 8)]


def close(program, window):
    press(window, 'Escape')
    check(program.exit_code() == 0, 'Esc did not end the program with 0')


def preview_print_and_settings():
    # Page, zoom, print, page setup and font in one sitting, at 60 %.
    reset_settings(WRAP_KINSOKU_TAB8, scale=60)
    name, local, path = document('journey', SAMPLE)
    os.remove(local)
    os.mkfifo(local)  # the document through a Unix pipe, which reads as empty at its end
    program = Program(path)
    threading.Thread(target=lambda: open(local, 'wb').write(open(SAMPLE, 'rb').read()), daemon=True).start()
    window = preview()
    first = screenshot(window)
    check_sheet(first, 60)
    press(window, 'Next')
    second = screenshot(window, differs_from=first)
    press(window, 'End')
    last = screenshot(window, differs_from=second)
    press(window, 'Prior')
    before_last = screenshot(window, differs_from=last)
    press(window, 'Home Prior')  # Prior on page 1 stays there
    check(screenshot(window, differs_from=before_last) == first, 'Home, Prior: not on page 1')
    wheel(window, up=0)
    check(screenshot(window, differs_from=first) == second, 'the wheel did not turn to page 2')
    press(window, 'End Next Prior')  # Next on the last page stays there: Prior then shows the one before
    until('Next to stay on the last page', lambda: screenshot(window) == before_last)

    for up, scale in ((1, 80), (1, 100), (1, 150), (1, 200), (0, 150), (0, 100), (0, 80)):
        wheel(window, up=up, modifier='ctrl')
        until('the zoom %d %% stored' % scale, lambda: reg_values(OWN).get('preview scale') == hex(scale))
    until('the sheet at 80 %', lambda: size(window) == (632, 898))

    menu_command(window, 'u')
    press(dialog('ページ設定'), 'alt+l')  # landscape, then Cancel: the print below stays upright
    answer(dialog('ページ設定'), 'Escape')
    press(window, 'ctrl+p')
    answer(dialog('印刷'), 'Return')
    # A4 at 300 dpi less 20 mm margins is 2008 x 3035 pixels; the cell of the 10 pt font
    # (a 42-pixel em) is 21 x 53 pixels as Wine's GetTextMetrics gives it for VL Gothic.
    grid = check_rows_as_laid_out(printed(name), SAMPLE, tab=8)[:2]
    check(grid == (95, 57), 'the A4 10 pt grid is %s' % (grid,))

    menu_command(window, 'u')
    setup = dialog('ページ設定')
    press(setup, 'alt+l')  # 横: landscape
    answer(setup, 'Return')
    until('the landscape sheet', lambda: size(window) == (898, 632))
    stored = reg_values(OWN)
    check(stored.get('orientation') == '0200' and stored.get('margin', '').lower() == 'd0070000' * 4,
          'page setup stored %s' % stored)

    menu_command(window, 'f')
    font = dialog('フォントの指定')
    press(font, 'alt+y Tab 1 2')  # the size box after スタイル
    answer(font, 'Return')
    until('the font size stored', lambda: reg_values(OWN).get('point size') == '0x78')
    press(window, 'ctrl+p')  # printed in this sitting: the grid follows the sheet and the font
    answer(dialog('印刷'), 'Return')
    grid = check_rows_as_laid_out(printed(name), SAMPLE, tab=8)[:2]
    check(grid == LANDSCAPE_12PT, 'the A4 landscape 12 pt grid is %s' % (grid,))
    close(program, window)


def settings_survive_and_print_at_once():
    # After the first journey, "/p" prints with its stored settings without showing the
    # preview, from the release zip unpacked into a folder named with spaces and Japanese:
    # a UTF-8, an EUC-JP and an ISO-2022-JP file read through the shipped pemo.ini print as
    # their Shift_JIS form lays out.
    name = document('atonce', SAMPLE)[0]
    zips, folder = glob.glob(BUILD + '/pemoPrint-*-win64.zip'), OUT + '/ダウンロード した 配布版'
    check(len(zips) == 1, 'release zips: %s (tools/package.sh makes one)' % zips)
    shutil.rmtree(folder, ignore_errors=True)
    zipfile.ZipFile(zips[0]).extractall(folder)
    (unpacked,) = glob.glob(folder + '/pemoPrint-*')
    with open('%s/%s.txt' % (unpacked, name), 'wb') as f:
        f.write(open(SAMPLE, 'rb').read().decode('cp932').encode('utf-8'))
    with MapWatch('atonce') as watch:
        program = Program(sh('winepath', '-w', f.name).strip(), '/p', exe=unpacked + '/pemoPrint.exe')
        printing = dialog('印刷')  # the window is made by now; a message box would hold the exit
        hidden = {w: 'the preview' if borderless(w) else 'a message box' for w in windows('pemoPrint', visible=False)}
        answer(printing, 'Return')
        hidden.update((w, 'a message box') for w in windows('pemoPrint', visible=False) if w not in hidden)
        check(program.exit_code() == 0, '"/p" did not end with 0')
    shown = [hidden[w] for w in hidden if watch.mapped(w)]
    check(hidden and not shown, '%s was shown with "/p"' % ' and '.join(shown))
    pdf = printed(name)
    *grid, _, pages = check_rows_as_laid_out(pdf, SAMPLE, tab=8)
    check(tuple(grid) == LANDSCAPE_12PT, 'not the landscape 12 pt grid: %s' % (grid,))
    check(re.search(r'Page rot: *90', sh('pdfinfo', pdf)), 'the PDF is not turned to landscape')
    # Decided by the converter, no rule naming them; the second "pages" as the dialog offers them.
    for encoding, keys, want in (('EUC-JP-MS', 'Return', pages), ('ISO-2022-JP', 'alt+g Return', pages[:1])):
        other = '%s%s' % (name, encoding[:3])
        with open('%s/%s.txt' % (unpacked, other), 'wb') as f:
            f.write(subprocess.run(['iconv', '-f', 'CP932', '-t', encoding, SAMPLE], capture_output=True).stdout)
        program = Program(sh('winepath', '-w', f.name).strip(), '/p', exe=unpacked + '/pemoPrint.exe')
        answer(dialog('印刷'), keys)
        check(program.exit_code() == 0, '"/p" of the %s file did not end with 0' % encoding)
        check(printed_pages(printed(other)) == want, 'the %s file printed not as laid out' % encoding)


def format_on_preview_and_paper():
    # Header, footer and line numbers on the preview and on paper; a Cancel
    # that changes nothing.
    reset_settings(WRAP_KINSOKU_TAB8, scale=60)
    name, _, path = document('format', SAMPLE)
    program = Program(path)
    window = preview()
    plain = screenshot(window)
    menu_command(window, 'r')
    form = dialog('書式設定')
    press(form, 'alt+h alt+f alt+l')  # the edits of a row open with its box
    for keys, text in (('alt+7', '&P / &A'), ('alt+9', '&F &&'), ('alt+1', '&U'), ('alt+3', '&D &T')):
        press(form, keys)
        sh('xdotool', 'type', text)
    answer(form, 'Return')
    framed = screenshot(window, differs_from=plain)
    xs, ys, ink, _ = sheet(framed)  # header, footer and numbers in the margins around the outline
    check(ink[0] < xs[1] and ink[1] < ys[1] and ink[3] > ys[2], 'the preview has no header, footer or numbers')
    stored = reg_values(OWN)
    check(all(stored.get(k) == v for k, v in (('print header', '0x1'), ('print footer', '0x1'), (
        'print line number', '0x1'), ('header(left)', '&P / &A'), ('footer(right)', '&D &T'))), stored)

    menu_command(window, 'r')
    press(dialog('書式設定'), 'alt+8 x alt+h alt+l')
    answer(dialog('書式設定'), 'Escape')
    menu_command(window, 'r')
    answer(dialog('書式設定'), 'Return')  # OK with no change: every template as it was
    check(reg_values(OWN) == stored and screenshot(window) == framed, 'Cancel or a bare OK changed them')

    press(window, 'ctrl+p')
    answer(dialog('印刷'), 'Return')
    frames = check_rows_as_laid_out(printed(name), SAMPLE, tab=8, numbered=True, framed=True)[2]
    footer = re.escape(re.sub(r'\s', '', path)) + r'\d+/\d+/\d+\d+:\d\d'
    for number, (header, footer_text) in enumerate(frames, 1):
        check(header == '%d/%d%s.txt&' % (number, len(frames), name), 'page %d header %r' % (number, header))
        check(re.fullmatch(footer, footer_text), 'page %d footer %r' % (number, footer_text))
    close(program, window)


def print_dialog_choices():
    # The editor's own kinsoku sets, the other printer (upright, with its unprintable border)
    # turning the stored landscape sheet and its margins, and a page range in two copies,
    # collated and not. Turned upright, the margins 10, 20, 20, 20 mm put 20 mm left and top.
    sets = [('kinsoku2', 'REG_SZ', '」'), ('kinsoku3', 'REG_SZ', 'は')]  # 」 hangs, は never ends a row
    reset_settings(WRAP_KINSOKU_TAB8 + sets, scale=60)
    for value, data in (('orientation', '0200'), ('margin', 'e8030000' + 'd0070000' * 3)):
        sh('wine', 'reg', 'add', OWN, '/v', value, '/t', 'REG_BINARY', '/d', data, '/f')
    name, _, path = document('choices', SAMPLE)
    program = Program(path)
    window = preview()
    press(window, 'ctrl+p')
    printing = dialog('印刷')
    click(printing, 220, 68)  # the printer's list (its label's mnemonic does not reach it)
    press(printing, 'Down Return')  # PDFMargins, after PDF
    answer(printing, 'Return')
    pdf = printed(name)
    pages = check_rows_as_laid_out(pdf, SAMPLE, tab=8, sets=['--hanging', '8176', '--line-end', '82CD'])[3]
    words = re.findall(r'<word xMin="([\d.]+)" yMin="([\d.]+)"', sh('pdftotext', '-bbox', '-l', '1', pdf, '-'))
    # 20 mm (56.7 points) from the paper's edge, whatever the printer cannot reach.
    check(words and abs(float(words[0][0]) - 56.7) < 3 and abs(float(words[0][1]) - 56.7) < 6,
          'the first word at %s, not 20 mm from the edges' % (words[:1],))
    for keys, order in (('alt+o', [2, 3, 2, 3]), ('alt+o', [2, 2, 3, 3])):  # collated, then not
        press(window, 'ctrl+p')
        printing = dialog('印刷')
        press(printing, 'alt+g Tab 2 Tab 3 alt+c 2 ' + keys)
        answer(printing, 'Return')
        got = printed_pages(printed(name))
        check(got == [pages[n - 1] for n in order], 'pages %s printed as %s' % (order, [
            next((n for n, p in enumerate(pages, 1) if p == g), '?') for g in got]))
    close(program, window)


def names_and_languages():
    # Files named with what code page 932 lacks, in a folder named with it too, print with
    # "/p", print as a pasted list after one question (the folder in it reported, pasted
    # text and a list answered No changing nothing), show when pasted alone, and open
    # through the open dialog. On a system of code page 1252 a Shift_JIS file prints as laid
    # out, and the program's own texts read in Japanese.
    reset_settings(WRAP_KINSOKU_TAB8, scale=60)
    folder = OUT + '/dossier café'
    os.makedirs(folder, exist_ok=True)
    files = {folder + '/𠮷野家の献立♡ café.txt': '献立の文書です。', folder + '/😀 メモ.txt': 'メモの文書です。'}
    for pdf in glob.glob(PDF_DIR + '/*.pdf'):  # left from before: the PDFs below are counted
        os.remove(pdf)
    for path, text in files.items():
        open(path, 'wb').write((text + '\r\n').encode('cp932'))
    windows_paths = [sh('winepath', '-w', path).strip() for path in files]
    for path, text in zip(windows_paths, files.values()):
        program = Program(path, '/p')
        answer(dialog('印刷'), 'Return')
        check(program.exit_code() == 0 and printed_texts(1) == [[text]], '"/p" of %s' % path)

    def open_typed(typed, shown):
        clipboard('text', typed)
        press(window, 'ctrl+o')
        answer(dialog('開く'), 'ctrl+v Return')
        return screenshot(window, differs_from=shown)

    def paste(kind, *items):
        clipboard(kind, *items)
        press(window, 'ctrl+v')

    def still_shown(picture):
        # Nothing came of the paste: the keys after it still turn pages.
        press(window, 'Next Home')
        check(not windows('pemoPrint')[1:] and screenshot(window) == picture, 'the paste changed something')
    program = Program()
    window = preview()
    shown = open_typed(document('names', SAMPLE)[2], screenshot(window))  # the dialog's last folder is another
    paste('text', 'not a file list')
    still_shown(shown)
    paste('files', *(document(tag, SAMPLE)[1] for tag in ('pasteNo', 'pasteNot')))
    answer(message_box(), 'n')
    still_shown(shown)
    paste('files', list(files)[0], folder, list(files)[1])
    answer(message_box(), 'Return')  # Yes: print them all
    answer(message_box(60), 'Return')  # after the first job: the folder cannot be read
    # Exactly two PDFs: the jobs print in turn, so any of the No would be there by now.
    check(printed_texts(2) == [[text] for text in files.values()] and not windows('pemoPrint')[1:],
          'the pasted list did not print after one question')
    shown = screenshot(window)  # the batch's last file
    paste('files', list(files)[0])
    shown = screenshot(window, differs_from=shown)
    check(shows_one_line(shown), 'the pasted file is not shown')
    for path in windows_paths[::-1]:  # by bare names: the dialog starts in the shown document's folder
        shown = open_typed(path.split('\\')[-1], shown)
        check(shows_one_line(shown), '%s is not shown' % path)
    close(program, window)

    name, _, path = document('cp1252', SAMPLE)
    program = Program(path, '/p', env=dict(os.environ, LANG='C.UTF-8'))
    answer(dialog('Print'), 'Return')  # the system's dialog in the system's language
    dialog('印刷中', 30)  # the program's own in Japanese
    check(program.exit_code() == 0, '"/p" under code page 1252 did not end with 0')
    check_rows_as_laid_out(printed(name), SAMPLE, tab=8)


def no_default_printer():
    # Without a printer the program ends at once, quietly, with 0, and ends
    # its file's filter that never would (the platform's warning is answered).
    # Wine forgets the printers CUPS does not list, so this runs last.
    _, _, path = document('noprinter', SAMPLE)
    rules, warnings = BUILD + '/win32/pemo.ini', set()
    with open(rules, 'w') as f:
        f.write('[Initialize]\nNumOfFilter=1\n[Filter1]\nInputFilter=cmd /c for /l %i in (1,0,2) do @rem\nConsole=0\n')

    def ended():
        for box in windows('エラー'):
            warnings.add(int(box))
            sh('xdotool', 'windowfocus', '--sync', box, 'key', 'Return')
        return program.process.poll() is not None
    try:
        with MapWatch('noprinter') as watch:
            program = Program(path, env=dict(os.environ, CUPS_SERVER='/nonexistent/cups.sock'))
            until('the program to end', ended, 20)
    finally:
        os.remove(rules)
    check(program.exit_code() == 0, 'exit code %s without a printer' % program.exit_code())
    until('the filter to be ended', lambda: 'for /l %i' not in sh('ps', '-eo', 'args'), 5)
    shown = watch.all_mapped()  # the warning shows: the watch sees what is mapped
    check(warnings and shown == warnings, 'mapped %s, the warning %s' % (shown, warnings))


JOURNEYS = [preview_print_and_settings, settings_survive_and_print_at_once, format_on_preview_and_paper,
            print_dialog_choices, names_and_languages, no_default_printer]


def main(names):
    if names == ['--list']:
        print('\n'.join(journey.__name__ for journey in JOURNEYS))
        return True
    os.makedirs(OUT, exist_ok=True)
    shutil.rmtree(PDF_DIR, ignore_errors=True)  # no PDF of an earlier run can stand in for a print
    failed = 0
    for journey in (j for j in JOURNEYS if not names or j.__name__ in names):
        failure = None
        try:
            journey()
        except Exception as broken:  # a broken step fails its journey, not the run
            failure = str(broken)
        for program in Program.started:  # nothing left behind for the next journey
            program.end()
        crashed = [p.log for p in Program.started if p.crashed()]
        Program.started.clear()
        failure = failure or crashed and 'the program crashed: see ' + ', '.join(crashed)
        print('[FAIL] %s: %s' % (journey.__name__, failure) if failure else '[ ok ] ' + journey.__name__, flush=True)
        failed += bool(failure)
    return failed == 0


if __name__ == '__main__':
    sys.exit(0 if main(sys.argv[1:]) else 1)
