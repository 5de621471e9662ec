#!/usr/bin/env python3
"""Mutation run: breaks the library and the platform on purpose, one fault at a time, and checks that the tests
notice.

Each entry of mutations.ini names a source file, a text that must occur exactly once in it, its replacement
and a ctest -R pattern for the tests that guard it. For each entry the tool writes the fault, rebuilds only the
test programs that pattern selects (in its own build folder; shared libraries are relinked, test programs are
not), runs those tests, and puts the source back. A fault is killed when a test fails or times out, and
survives when they all pass. An entry whose text no longer occurs exactly once, whose pattern selects no test,
or whose fault does not compile stops the run: the list must stay valid as the code changes.
"""
import argparse
import configparser
import json
import os
import re
import signal
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def load(path):
    parser = configparser.ConfigParser(interpolation=None, delimiters=('=',), comment_prefixes=('#',),
                                       inline_comment_prefixes=None, strict=True)
    parser.optionxform = str
    with open(path, encoding='utf-8') as f:
        parser.read_file(f)
    mutations = []
    for name in parser.sections():
        entry = parser[name]
        missing = [k for k in ('file', 'tests', 'from', 'to') if k not in entry]
        if missing:
            sys.exit(f'mutate: [{name}] lacks {", ".join(missing)}')
        if entry['from'] == entry['to']:
            sys.exit(f'mutate: [{name}] changes nothing')
        # "\n" in a value stands for a line break, so that a text can take in the start of the next line.
        unescape = lambda text: text.replace('\\n', '\n')
        mutations.append(dict(name=name, file=entry['file'], tests=entry['tests'], old=unescape(entry['from']),
                              new=unescape(entry['to'])))
    return mutations


def run(cmd, **kw):
    return subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, **kw)


def selected_tests(build, pattern):
    out = run(['ctest', '--test-dir', build, '-N', '-R', pattern, '--show-only=json-v1'])
    if out.returncode != 0:
        sys.exit(f'mutate: ctest -N -R {pattern!r} failed:\n{out.stdout}')
    tests = json.loads(out.stdout).get('tests', [])
    names = [t['name'] for t in tests]
    targets = sorted({os.path.basename(t['command'][0]) for t in tests if t.get('command')})
    return names, targets


def build(build_dir, targets, jobs):
    return run(['cmake', '--build', build_dir, '-j', str(jobs), '--target', *targets])


def run_tests(build_dir, pattern, jobs, timeout):
    out = run(['ctest', '--test-dir', build_dir, '-R', pattern, '-j', str(jobs), '--timeout', str(timeout),
               '--stop-on-failure', '--output-on-failure'])
    failed = re.findall(r'^\s*\d+ - (\S+) \(', out.stdout, re.M)
    return out.returncode == 0, failed, out.stdout


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('--source', default=os.path.dirname(os.path.dirname(HERE)), help='checkout to mutate')
    ap.add_argument('--build', help='build folder (default: <source>/build-mutate)')
    ap.add_argument('--list', default=os.path.join(HERE, 'mutations.ini'))
    ap.add_argument('--only', help='run only entries whose name matches this regular expression')
    ap.add_argument('--jobs', type=int, default=2)
    ap.add_argument('--check', action='store_true', help='only check that every entry still fits the code')
    ap.add_argument('--timeout', type=int, default=60, help='seconds a single test may take')
    args = ap.parse_args()
    source = os.path.abspath(args.source)
    build_dir = os.path.abspath(args.build or os.path.join(source, 'build-mutate'))
    mutations = load(args.list)
    if args.only:
        mutations = [m for m in mutations if re.search(args.only, m['name'])]

    # Every entry is checked before anything is built, so a stale list fails at once.
    problems = []
    texts = {}
    for m in mutations:
        path = os.path.join(source, m['file'])
        if not os.path.isfile(path):
            problems.append(f"[{m['name']}] {m['file']}: no such file")
            continue
        text = texts.setdefault(path, open(path, encoding='utf-8').read())
        count = text.count(m['old'])
        if count != 1:
            problems.append(f"[{m['name']}] {m['file']}: the text to change occurs {count} times: {m['old']!r}")
        m['path'] = path
    if problems:
        sys.exit('mutate: the list no longer fits the code:\n  ' + '\n  '.join(problems))
    if args.check:
        print(f'mutate: {len(mutations)} entries fit the code')
        return 0

    # Stopped from outside, the run still puts back the source it has changed (the `finally` below).
    for sig in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(sig, lambda number, frame: sys.exit(128 + number))
    started = time.time()
    # CCACHE_BASEDIR makes the compiler cache's keys relative, so this folder reuses what `make` compiled.
    os.environ.setdefault('CCACHE_BASEDIR', source)
    os.environ.setdefault('CCACHE_NOHASHDIR', '1')
    if not os.path.isfile(os.path.join(build_dir, 'CMakeCache.txt')):
        out = run(['cmake', '-S', source, '-B', build_dir, '-DCMAKE_BUILD_TYPE=RelWithDebInfo',
                   '-DLX_BUILD_BENCHMARKS=OFF', '-DCMAKE_LINK_DEPENDS_NO_SHARED=ON'])
        if out.returncode != 0:
            sys.exit('mutate: configure failed:\n' + out.stdout)
    print(f'mutate: building the test programs in {build_dir}', flush=True)
    out = run(['cmake', '--build', build_dir, '-j', str(args.jobs)])
    if out.returncode != 0:
        sys.exit('mutate: the unmutated build failed:\n' + out.stdout[-6000:])

    for m in mutations:
        names, targets = selected_tests(build_dir, m['tests'])
        if not names:
            problems.append(f"[{m['name']}] the pattern {m['tests']!r} selects no test")
        m['targets'] = targets
        m['count'] = len(names)
    if problems:
        sys.exit('mutate: the list no longer fits the tests:\n  ' + '\n  '.join(problems))

    # A test that already fails would count every fault as killed.
    union = '|'.join(f"(?:{m['tests']})" for m in mutations)
    ok, failed, log = run_tests(build_dir, union, args.jobs, args.timeout)
    if not ok:
        sys.exit('mutate: the unmutated tests fail:\n' + log[-6000:])
    print(f'mutate: {len(mutations)} mutations, baseline green', flush=True)

    killed, survivors, broken = [], [], []
    for i, m in enumerate(mutations, 1):
        original = texts[m['path']]
        t0 = time.time()
        try:
            with open(m['path'], 'w', encoding='utf-8') as f:
                f.write(original.replace(m['old'], m['new'], 1))
            out = build(build_dir, m['targets'], args.jobs)
            if out.returncode != 0:
                broken.append(m)
                verdict, detail = 'DOES NOT COMPILE', out.stdout[-2000:]
            else:
                ok, failed, _ = run_tests(build_dir, m['tests'], args.jobs, args.timeout)
                if ok:
                    survivors.append(m)
                    verdict, detail = 'SURVIVED', ''
                else:
                    killed.append(m)
                    verdict, detail = 'killed', ' by ' + ', '.join(failed[:3]) if failed else ''
        finally:
            with open(m['path'], 'w', encoding='utf-8') as f:
                f.write(original)
        print(f"[{i:2}/{len(mutations)}] {verdict:8} {m['name']} ({m['count']} tests, {time.time() - t0:.0f} s)"
              f"{detail if verdict == 'killed' else ''}", flush=True)
        if verdict == 'DOES NOT COMPILE':
            print(detail, flush=True)

    # Leave the build matching the restored sources.
    build(build_dir, sorted({t for m in mutations for t in m['targets']}), args.jobs)
    total = len(mutations) - len(broken)
    print(f'\nmutate: killed {len(killed)}/{total} in {(time.time() - started) / 60:.1f} min')
    for m in survivors:
        print(f"  survived: [{m['name']}] {m['file']}: {m['old'].strip()!r} -> {m['new'].strip()!r}")
    for m in broken:
        print(f"  does not compile: [{m['name']}] {m['file']}")
    return 1 if broken else 0


if __name__ == '__main__':
    sys.exit(main())
