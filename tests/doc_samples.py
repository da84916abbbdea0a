#!/usr/bin/env python3
"""Runs every code sample of a Markdown document through `vornbasic --tty` and
checks that it prints what the document shows.

    doc_samples.py VORNBASIC DOCUMENT EXAMPLES_DIR
    doc_samples.py --covers SOURCE_DIR DOCUMENT

The second form checks that the document names every statement and function
of the keyword tables and every message of the message catalogue, each
written in backquotes as the system spells it.

The document marks its samples with the info word of the fenced block:
  ```basic          a program; the next fenced block must be ```output, the
                    exact console text of running it as the start-up file
  ```basic file=P   a copy of the example P (relative to EXAMPLES_DIR's
                    parent); checked to be that file, not run here
  ```session        a typed session: the whole console text, banner included
An HTML comment "<!-- typed" ... "-->" just before a program or a session
holds the lines typed during the run (answers to input, or the session's
lines). Programs are stored in Shift-JIS with CR LF, as program files are.
Each sample runs in a fresh folder holding a copy of the examples, with
--seed 1 and a device root inside it. A program whose output ends with an
error line ("Line N : ...") must end with status 1, any other with 0.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

FENCE = re.compile(r'^```(\S*)(.*)$')


def samples(text):
    """(line number, kind, options, body, typed) for each sample block."""
    lines = text.split('\n')
    blocks, typed, i = [], None, 0
    while i < len(lines):
        line = lines[i]
        if line.startswith('<!-- typed'):
            body = []
            i += 1
            while not lines[i].startswith('-->'):
                body.append(lines[i])
                i += 1
            typed = '\n'.join(body) + '\n'
            i += 1
            continue
        m = FENCE.match(line)
        if m:
            start, body = i + 1, []
            i += 1
            while not lines[i].startswith('```'):
                body.append(lines[i])
                i += 1
            blocks.append((start, m.group(1), m.group(2).strip(), '\n'.join(body) + '\n', typed))
            typed = None
        elif line.strip():
            typed = None if not line.startswith('<!--') else typed
        i += 1
    return blocks


def program_file(text):
    return text.replace('\n', '\r\n').encode('cp932')


def run(vornbasic, examples, args, stdin):
    with tempfile.TemporaryDirectory(prefix='vorn-doc-') as scratch:
        work = os.path.join(scratch, 'work')
        shutil.copytree(examples, work)
        command = [vornbasic, '--tty', '--seed', '1', '--root', os.path.join(scratch, 'root')]
        result = subprocess.run(command + args(work), cwd=work, input=stdin.encode('utf-8'),
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=30)
    return result


def source_file(root, name):
    for folder, dirs, files in os.walk(root):
        dirs[:] = [d for d in dirs if not d.startswith(('.', 'build'))]
        if name in files:
            return os.path.join(folder, name)
    raise FileNotFoundError(f'{name} under {root}')


def covers(root, document):
    with open(document, encoding='utf-8') as f:
        text = f.read()
    with open(source_file(root, 'keyword_tables.cpp'), encoding='utf-8') as f:
        keywords = re.findall(r'\{"([^"]+)",', f.read())
    with open(source_file(root, 'messages.h'), encoding='utf-8') as f:
        messages = re.findall(r'X\(\w+, "([^"]+)"(?:, "[^"]*")?\)', f.read())
    missing = [k for k in keywords if not re.search('`' + re.escape(k) + '[ `(]', text)]
    missing += [m for m in messages if '`' + m + '`' not in text]
    for m in missing:
        print(f'{os.path.basename(document)} does not tell of {m}')
    print(f'{len(keywords)} keywords, {len(messages)} messages, {len(missing)} missing')
    return 1 if missing or len(keywords) < 60 or len(messages) < 40 else 0


def main():
    if sys.argv[1] == '--covers':
        return covers(sys.argv[2], sys.argv[3])
    vornbasic, document, examples = os.path.abspath(sys.argv[1]), sys.argv[2], sys.argv[3]
    with open(document, encoding='utf-8') as f:
        blocks = samples(f.read())
    failures, count = [], 0
    i = 0
    while i < len(blocks):
        line, kind, options, body, typed = blocks[i]
        where = f'{os.path.basename(document)}:{line}'
        i += 1
        if kind == 'basic' and options.startswith('file='):
            count += 1
            path = os.path.join(os.path.dirname(os.path.abspath(examples)), options[5:])
            with open(path, 'rb') as f:
                kept = f.read().decode('cp932').replace('\r\n', '\n')
            if kept != body:
                failures.append(f'{where}: the sample is not {options[5:]} as it stands')
            continue
        if kind == 'basic':
            count += 1
            if i >= len(blocks) or blocks[i][1] != 'output':
                failures.append(f'{where}: a program sample needs an ```output block after it')
                continue
            expected = blocks[i][3]
            i += 1

            def args(work, body=body):
                with open(os.path.join(work, 'sample.bas'), 'wb') as f:
                    f.write(program_file(body))
                return ['sample.bas']

            result = run(vornbasic, examples, args, typed or '')
            lines = expected.rstrip('\n').split('\n')
            want_status = 1 if re.match(r'^Line \d+ : ', lines[-1]) else 0
        elif kind == 'session':
            count += 1
            expected = body
            result = run(vornbasic, examples, lambda work: [], typed or '')
            want_status = 0
        else:
            continue
        actual = result.stdout.decode('utf-8', 'replace')
        if actual != expected:
            failures.append(f'{where}: the console shows\n{actual}--- where the document shows\n{expected}')
        if result.returncode != want_status:
            failures.append(f'{where}: exit status {result.returncode}, expected {want_status}')
    for failure in failures:
        print(failure)
    print(f'{count} samples, {len(failures)} failures')
    return 1 if failures or count == 0 else 0


if __name__ == '__main__':
    sys.exit(main())
